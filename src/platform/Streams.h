#pragma once
// Byte streams: a position over a sequence of bytes that can be read, written and moved; in
// memory or over a file. Readers of binary files use the checked forms (ReadBuffer and the
// little-endian helpers), which raise EReadError instead of returning short.
#include "Errors.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace quillon {

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
// Data that cannot be read: cut short, or (for stored components) of another class or impossible.
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("ストリームの読み込みエラー") {}
    explicit EReadError(std::string message) : EStreamError(std::move(message)) {}
};
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("ストリームの書き込みエラー") {}
};
class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const std::filesystem::path& name);
};
class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::filesystem::path& name);
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Up to count bytes; the number actually read or written.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // The new position; a position outside 0..Size is kept at that bound.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    std::int64_t Size();
    // Bytes from the position to the end.
    std::int64_t Remaining() { return Size() - Position(); }

    void ReadBuffer(void* buffer, std::size_t count);         // EReadError when short
    void WriteBuffer(const void* buffer, std::size_t count);  // EWriteError when short
    std::uint16_t ReadUInt16();                               // little-endian
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }
};

// A stream over a growing block of memory; writing past the end extends it.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : FData(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    const std::vector<std::uint8_t>& Bytes() const { return FData; }

private:
    std::vector<std::uint8_t> FData;
    std::size_t FPosition = 0;  // 0..FData.size()
};

// A stream over a file, opened for reading (fmOpenRead) or created empty (fmCreate).
enum TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
public:
    TFileStream(const std::filesystem::path& name, TFileMode mode);  // EFOpenError / EFCreateError
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

private:
    std::FILE* FFile;  // open for the stream's whole life
};

} // namespace quillon
