#include "ReplacingFile.h"

#include "Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillon {
namespace fs = std::filesystem;

namespace {

const char kMarker[] = ".quillon.";
constexpr std::size_t kMarkerBytes = sizeof(kMarker) - 1;
constexpr std::size_t kRandomBytes = 6;
constexpr std::size_t kHashBytes = 9; // "~" and eight hex digits
const char kRandomLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::uint32_t NameHash(const std::string& name) { // FNV-1a
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash;
}

bool IsRandomLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// One of the target's temporary names: Prefix and six random letters or digits.
std::string RandomName(const std::string& prefix) {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof(kRandomLetters) - 2);
    std::string name = prefix;
    for (std::size_t i = 0; i < kRandomBytes; ++i) name += kRandomLetters[letter(random)];
    return name;
}

// Makes a new entry under a fresh temporary name in Folder through make(path), which answers 0 or
// the system's error number; names already taken are tried again. The name, or empty with *error.
template <class Make> fs::path MakeUnique(const fs::path& folder, const std::string& prefix, Make make, int* error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = folder / RandomName(prefix);
        *error = make(name);
        if (*error == 0) return name;
        if (*error != EEXIST) return {};
    }
    return {};
}

// A lock that tells a temporary in use from a stale one. Taken without waiting: a file that someone
// else holds locked is just as safe from removal.
void Lock(const TFileHandle& file) { ::flock(file.Get(), LOCK_EX | LOCK_NB); }

bool IsStale(const fs::path& name) {
    TFileHandle file(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened = {};
    struct stat named = {};
    if (!file || ::fstat(file.Get(), &opened) != 0 || ::lstat(name.c_str(), &named) != 0) return false;
    return S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() && opened.st_ino == named.st_ino &&
           opened.st_dev == named.st_dev && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0;
}

// What a newly created file gets: read and write for all, less the process's umask.
mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string TReplacingFile::TemporaryPrefix(const std::string& FileName) {
    if (1 + FileName.size() + kMarkerBytes + kRandomBytes <= kMaxNameBytes) return "." + FileName + kMarker;
    std::size_t keep = kMaxNameBytes - 1 - kHashBytes - kMarkerBytes - kRandomBytes;
    while (keep > 0 && (static_cast<unsigned char>(FileName[keep]) & 0xC0) == 0x80) --keep;
    char hash[kHashBytes + 1];
    std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(NameHash(FileName)));
    return "." + FileName.substr(0, keep) + hash + kMarker;
}

void TReplacingFile::RemoveStaleTemporaries(const fs::path& Target) {
    const std::string prefix = TemporaryPrefix(Target.filename().string());
    const fs::path folder = Target.parent_path().empty() ? fs::path(".") : Target.parent_path();
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + kRandomBytes && name.starts_with(prefix) &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), IsRandomLetter) &&
            IsStale(it->path()))
            stale.push_back(it->path());
    }
    for (const fs::path& name : stale) ::unlink(name.c_str());
}

TReplacingFile::TReplacingFile(const fs::path& Target) : FTarget(AbsolutePath(Target)) {
    RemoveStaleTemporaries(FTarget);
    const std::string prefix = TemporaryPrefix(FTarget.filename().string());
    int error = 0;
    FTemp = MakeUnique(
        FTarget.parent_path(), prefix,
        [this](const fs::path& name) {
            TFileHandle file(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
            if (!file) return errno;
            Lock(file);
            struct stat st {};
            // Taken by a cleaner before the lock: try another name.
            if (::fstat(file.Get(), &st) != 0 || st.st_nlink == 0) return EEXIST;
            ::fchmod(file.Get(), ::stat(FTarget.c_str(), &st) == 0 ? st.st_mode & 07777 : NewFileMode());
            FTempLock = std::move(file);
            return 0;
        },
        &error);
    if (FTemp.empty()) throw EFCreateError(Target, error);
}

TReplacingFile::~TReplacingFile() {
    if (!FCommitted) ::unlink(FTemp.c_str());
    if (!FOld.empty()) ::unlink(FOld.c_str());
}

bool TReplacingFile::KeepOld() {
    FKept = true;
    FOldLock = TFileHandle(::open(FTarget.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    FHadOld = bool(FOldLock) || errno != ENOENT;
    if (!FHadOld) return true;
    if (FOldLock) Lock(FOldLock);
    int error = 0;
    FOld = MakeUnique(
        FTarget.parent_path(), TemporaryPrefix(FTarget.filename().string()),
        [this](const fs::path& name) { return ::link(FTarget.c_str(), name.c_str()) == 0 ? 0 : errno; }, &error);
    return !FOld.empty();
}

int TReplacingFile::Commit() {
    if (::rename(FTemp.c_str(), FTarget.c_str()) != 0) return errno;
    FCommitted = true;
    return 0;
}

bool TReplacingFile::Restore() {
    if (!FCommitted) return true;
    if (!FKept) return false;
    if (FHadOld ? FOld.empty() || ::rename(FOld.c_str(), FTarget.c_str()) != 0 : ::unlink(FTarget.c_str()) != 0)
        return false;
    FOld.clear();
    FCommitted = false;
    FTemp.clear();
    return true;
}

void SaveFileReplacing(const fs::path& Name, const std::function<void(TStream&)>& Write) {
    TReplacingFile file(Name);
    try {
        TFileStream stream(file.TempName(), fmCreate);
        Write(stream);
        stream.Close();
    } catch (const EWriteError& e) {
        throw EWriteError(Name, e.Cause()); // the file the caller named, not the temporary one
    }
    if (const int error = file.Commit()) throw EWriteError(Name, error);
}

} // namespace quillon
