#include "Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

EFOpenError::EFOpenError(const std::filesystem::path& name)
    : EStreamError("ファイル " + name.string() + " を開けません") {}
EFCreateError::EFCreateError(const std::filesystem::path& name, int error)
    : EStreamError("ファイル " + name.string() + " を作成できません",
                   error ? ErrorCause(error, TErrorPlace::Folder) : std::string()) {}
EWriteError::EWriteError(const std::filesystem::path& name, int error)
    : EWriteError(name, ErrorCause(error, TErrorPlace::Folder)) {}
EWriteError::EWriteError(const std::filesystem::path& name, std::string cause)
    : EStreamError("ファイル " + name.string() + " の書き込みに失敗しました", std::move(cause)) {}

std::int64_t TStream::Size() {
    std::int64_t position = Position();
    std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (Write(buffer, count) != count) RaiseWriteError();
}

void TStream::RaiseWriteError() { throw EWriteError(); }

std::uint16_t TStream::ReadUInt16() {
    std::uint8_t b[2];
    ReadBuffer(b, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t TStream::ReadUInt32() {
    std::uint8_t b[4];
    ReadBuffer(b, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

void TStream::WriteUInt16(std::uint16_t value) {
    std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    WriteBuffer(b, 2);
}

void TStream::WriteUInt32(std::uint32_t value) {
    std::uint8_t b[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                         static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    WriteBuffer(b, 4);
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    std::size_t n = std::min(count, FData.size() - FPosition);
    if (n > 0) std::memcpy(buffer, FData.data() + FPosition, n);
    FPosition += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    if (FData.size() - FPosition < count) FData.resize(FPosition + count);
    std::memcpy(FData.data() + FPosition, buffer, count);
    FPosition += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soBeginning ? 0
                        : origin == soCurrent ? static_cast<std::int64_t>(FPosition)
                                              : static_cast<std::int64_t>(FData.size());
    std::int64_t size = static_cast<std::int64_t>(FData.size());
    std::int64_t target =
        offset < 0 ? std::max<std::int64_t>(0, base + offset) : std::min(size, base + std::min(offset, size));
    FPosition = static_cast<std::size_t>(target);
    return target;
}

TFileHandle::~TFileHandle() {
    if (FFd >= 0) ::close(FFd);
}

TFileHandle& TFileHandle::operator=(TFileHandle&& other) noexcept {
    if (this != &other) {
        if (FFd >= 0) ::close(FFd);
        FFd = other.Release();
    }
    return *this;
}

int TFileHandle::Release() {
    const int fd = FFd;
    FFd = -1;
    return fd;
}

namespace {

TOpenedFile NotOpened(int error, bool refused = false) { return {TFileHandle(), error, refused, 0}; }

} // namespace

TOpenedFile OpenFileNoWait(const std::filesystem::path& name, TFileMode mode) {
    const int flags = mode == fmCreate ? O_RDWR | O_CREAT | O_TRUNC : O_RDONLY;
    TFileHandle handle(::open(name.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    struct stat st {};
    if (!handle || ::fstat(handle.Get(), &st) != 0) return NotOpened(errno);
    if (mode == fmOpenRead && S_ISDIR(st.st_mode)) return NotOpened(EISDIR);
    if (mode == fmOpenRead ? !S_ISREG(st.st_mode) : S_ISFIFO(st.st_mode)) return NotOpened(EINVAL, true);
    if (::fcntl(handle.Get(), F_SETFL, ::fcntl(handle.Get(), F_GETFL) & ~O_NONBLOCK) != 0) return NotOpened(errno);
    return {std::move(handle), 0, false, st.st_size};
}

TFileStream::TFileStream(const std::filesystem::path& name, TFileMode mode) : FName(name), FMode(mode) {
    TOpenedFile file = OpenFileNoWait(name, mode);
    FFile = file.Handle ? ::fdopen(file.Handle.Get(), mode == fmCreate ? "w+b" : "rb") : nullptr;
    if (!FFile) {
        if (mode == fmCreate) throw EFCreateError(name, file.Handle ? errno : file.Error);
        throw EFOpenError(name);
    }
    file.Handle.Release(); // the stream closes it now
}

TFileStream::~TFileStream() {
    if (FFile) std::fclose(FFile);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) { return std::fread(buffer, 1, count, FFile); }

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    errno = 0;
    std::size_t written = std::fwrite(buffer, 1, count, FFile);
    if (written != count && FWriteError == 0) FWriteError = errno ? errno : EIO;
    return written;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (offset != 0 || origin != soCurrent) fseeko(FFile, static_cast<off_t>(offset), whence);
    return static_cast<std::int64_t>(ftello(FFile));
}

void TFileStream::RaiseWriteError() { throw EWriteError(FName, FWriteError ? FWriteError : EIO); }

void TFileStream::Close() {
    if (!FFile) return;
    int error = FWriteError;
    if (FMode == fmCreate) {
        if (error == 0 && std::fflush(FFile) != 0) error = errno;
        // Files that cannot be synchronised (devices, pipes) answer EINVAL: nothing to wait for.
        if (error == 0 && ::fsync(::fileno(FFile)) != 0 && errno != EINVAL) error = errno;
    }
    if (std::fclose(FFile) != 0 && error == 0) error = errno;
    FFile = nullptr;
    if (FMode == fmCreate && error != 0) throw EWriteError(FName, error);
}

} // namespace quillon
