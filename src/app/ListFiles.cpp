#include "ListFiles.h"

#include "ListKinds.h"
#include "MessageBox.h"
#include "Paths.h"
#include "StrUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace fs = std::filesystem;

TListText SplitListText(std::string_view bytes) {
    TListText text;
    size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        text.StoppedAtNul = true;
        bytes = bytes.substr(0, nul);
    }
    size_t p = 0;
    while (p < bytes.size()) {
        // A line ends at its first CR or LF: find the LF with memchr, then any CR before it.
        const char* base = bytes.data();
        const void* lf = std::memchr(base + p, '\n', bytes.size() - p);
        size_t end = lf ? static_cast<const char*>(lf) - base : bytes.size();
        if (const void* cr = std::memchr(base + p, '\r', end - p)) end = static_cast<const char*>(cr) - base;
        text.Lines.emplace_back(bytes.substr(p, end - p));
        p = end;
        if (p < bytes.size()) p += bytes[p] == '\r' && p + 1 < bytes.size() && bytes[p + 1] == '\n' ? 2 : 1;
    }
    return text;
}

std::string JoinListText(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// What a newly created file gets: read and write for all, less the process's umask.
mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TListText ReadListFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw EListFileOpen();
    TFile file(std::fopen(path.c_str(), "rb"));
    if (!file) throw EListFileOpen();
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, n);
    if (std::ferror(file.get())) throw EListFileRead();
    return SplitListText(bytes);
}

void WriteListFile(const fs::path& path, const std::vector<std::string>& lines) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (fs::is_directory(path, ec) || (exists && ::access(path.c_str(), W_OK) != 0)) throw EListFileOpen();
    std::string tmpl = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw EListFileOpen();
    struct stat st {};
    ::fchmod(fd, exists && ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : NewFileMode());
    bool written = WriteAll(fd, JoinListText(lines)) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(tmpl.c_str(), path.c_str()) != 0) {
        ::unlink(tmpl.c_str());
        throw EListFileWrite();
    }
}

void TRecentFiles::Add(const std::string& name) {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (!SameFile(FItems[i], name)) continue;
        if (i > 0) {
            std::string entry = std::move(FItems[i]);
            FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
            FItems.insert(FItems.begin(), std::move(entry));
        }
        return;
    }
    FItems.insert(FItems.begin(), name);
    if (FItems.size() > kMaxCount) FItems.resize(kMaxCount);
}

std::string TRecentFiles::CommaText() const { return ToCommaText(FItems); }

void TRecentFiles::SetCommaText(std::string_view text) {
    FItems.clear();
    for (std::string& item : FromCommaText(text))
        if (!item.empty() && FItems.size() < kMaxCount) FItems.push_back(std::move(item));
}

std::string ShellLongFileName(const std::string& path) { return AbsolutePath(path).string(); }

bool LoadListFile(std::string& FileName, std::vector<std::string>* Lines, TRecentFiles& History) {
    if (!Lines) return false;
    FileName = ShellLongFileName(FileName);
    try {
        TListText text = ReadListFile(FileName);
        *Lines = std::move(text.Lines);
        if (text.StoppedAtNul)
            Messages().Show("ファイルにNUL文字が含まれていたため、その手前までを読み込みました。\n"
                            "このまま保存すると、それ以降の内容は失われます。",
                            "警告", TMsgIcon::Warning, TMsgButtons::OK);
    } catch (const Exception& e) {
        ShowError(e.Message());
        return false;
    }
    History.Add(FileName);
    return true;
}

bool SaveListFile(std::string& FileName, const std::vector<std::string>* Lines, TRecentFiles& History, int& Kind) {
    if (!Lines) return false;
    FileName = ShellLongFileName(FileName);
    try {
        WriteListFile(FileName, *Lines);
    } catch (const Exception& e) {
        ShowError(e.Message());
        return false;
    }
    Kind = DetectFileKind(*Lines, FileName);
    History.Add(FileName);
    return true;
}

} // namespace quillon
