#pragma once
// Byte streams: a position over a sequence of bytes that can be read, written and moved; in
// memory or over a file. Readers of binary files use the checked forms (ReadBuffer and the
// little-endian helpers), which raise EReadError instead of returning short.
#include "Errors.h"
#include "FileErrors.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace quillon {

class EStreamError : public Exception {
public:
    // Cause: why, in words a user can act on (FileErrors.h); it becomes the message's last line.
    explicit EStreamError(std::string message, std::string cause = {})
        : Exception(cause.empty() ? message : message + "\n" + cause), FCause(std::move(cause)) {}
    const std::string& Cause() const { return FCause; }

private:
    std::string FCause; // empty when unknown
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
    // A file that could not be written, flushed, closed or moved into place: the system's error number.
    EWriteError(const std::filesystem::path& name, int error);
    EWriteError(const std::filesystem::path& name, std::string cause);
};
class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const std::filesystem::path& name);
};
class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::filesystem::path& name, int error = 0);
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

    void ReadBuffer(void* buffer, std::size_t count);        // EReadError when short
    void WriteBuffer(const void* buffer, std::size_t count); // RaiseWriteError when short
    std::uint16_t ReadUInt16();                              // little-endian
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }

protected:
    // A write came out short: raises EWriteError, with the cause where the stream knows it.
    [[noreturn]] virtual void RaiseWriteError();
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
    std::size_t FPosition = 0; // 0..FData.size()
};

// How a file is opened: for reading (fmOpenRead) or created empty (fmCreate).
enum TFileMode { fmOpenRead, fmCreate };

// A file descriptor, closed with its owner.
class TFileHandle {
public:
    TFileHandle() = default;
    explicit TFileHandle(int fd) : FFd(fd) {}
    ~TFileHandle();
    TFileHandle(TFileHandle&& other) noexcept : FFd(other.Release()) {}
    TFileHandle& operator=(TFileHandle&& other) noexcept;
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    explicit operator bool() const { return FFd >= 0; }
    int Get() const { return FFd; }
    // Hands the descriptor over (to fdopen, say); the handle is empty afterwards.
    int Release();

private:
    int FFd = -1; // -1 when empty
};

// A file opened by OpenFileNoWait, or why it is not.
struct TOpenedFile {
    TFileHandle Handle;    // empty on failure
    int Error = 0;         // on failure, the system's error number (EISDIR for a folder to read)
    bool Refused = false;  // on failure: a file of a kind that is refused; Error is then EINVAL
    std::int64_t Size = 0; // when open, the file's size
};

// Opens name without waiting: a FIFO would otherwise block the program until another process opened
// its other end. Files to read must be regular files (a FIFO or a device such as /dev/zero is
// refused, none may block the program or fill its memory, and a folder fails with EISDIR), and no
// FIFO is written (a full one would block). Once open, the descriptor blocks as usual.
TOpenedFile OpenFileNoWait(const std::filesystem::path& name, TFileMode mode);

// A stream over a file, opened for reading or created empty with OpenFileNoWait.
//
// Writes are buffered, so a full disk may show only when the buffer goes out: a writer therefore
// ends with Close, which flushes the file to the disk and closes it and raises EWriteError when any
// of that fails. A stream destroyed without Close was abandoned because of an error already on its
// way; its file is closed without a check.
class TFileStream : public TStream {
public:
    TFileStream(const std::filesystem::path& name, TFileMode mode); // EFOpenError / EFCreateError
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    // Flushes (to the disk too, for a created file) and closes; EWriteError when that fails. Once
    // closed the stream is not used again.
    void Close();

protected:
    [[noreturn]] void RaiseWriteError() override;

private:
    std::FILE* FFile; // open until Close
    std::filesystem::path FName;
    TFileMode FMode;
    int FWriteError = 0; // the first failed write's error number
};

} // namespace quillon
