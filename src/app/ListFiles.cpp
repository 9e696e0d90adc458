#include "ListFiles.h"

#include "AsciiText.h"
#include "Cp932.h"
#include "EditorUtils.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "Paths.h"
#include "ReplacingFile.h"
#include "Streams.h"

#include <algorithm>
#include <cerrno>
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
    TLineReader lines(bytes);
    for (std::string_view line; lines.Next(line);) text.Lines.emplace_back(line);
    return text;
}

std::int64_t ListTextSize(const std::vector<std::string>& lines) {
    std::int64_t size = 0;
    for (const std::string& line : lines) size += static_cast<std::int64_t>(line.size()) + 2;
    return size;
}

std::string JoinListText(const std::vector<std::string>& lines) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(ListTextSize(lines)));
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

std::string TooLarge() { return "ファイルが大きすぎます (上限 " + IntToStr(kMaxListFileSize / (1024 * 1024)) + " MB)"; }

} // namespace

TListText ReadListFile(const fs::path& path) {
    const TOpenedFile file = OpenFileNoWait(path, fmOpenRead);
    if (!file.Handle) throw EListFileOpen(path, file.Refused ? kNotARegularFile : ErrorCause(file.Error));
    if (file.Size > kMaxListFileSize) throw EListFileRead(path, TooLarge());
    // One byte more than the limit shows a file that grew past it while it was read.
    std::string bytes(static_cast<size_t>(file.Size) + 1, '\0');
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > static_cast<size_t>(kMaxListFileSize)) throw EListFileRead(path, TooLarge());
            bytes.resize(std::min(bytes.size() * 2, static_cast<size_t>(kMaxListFileSize) + 1));
        }
        ssize_t n = ::read(file.Handle.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EListFileRead(path, ErrorCause(errno));
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return SplitListText(bytes);
}

void WriteListFile(const fs::path& path, const std::vector<std::string>& lines) {
    if (const std::string refusal = ReplaceRefusal(path); !refusal.empty()) throw EListFileOpen(path, refusal);
    if (ListTextSize(lines) > kMaxListFileSize) throw EListFileWrite(path, TooLarge());
    try {
        SaveFileReplacing(path, [&lines](TStream& stream) {
            const std::string bytes = JoinListText(lines);
            stream.WriteBuffer(bytes.data(), bytes.size());
        });
    } catch (const EFCreateError& e) {
        throw EListFileOpen(path, e.Cause());
    } catch (const EWriteError& e) {
        throw EListFileWrite(path, e.Cause());
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

std::string TRecentFiles::CommaText() const {
    std::vector<std::string> stored;
    for (const std::string& name : FItems) stored.push_back(IsUtf8(name) ? name : FileUrl(name));
    return ToCommaText(stored);
}

void TRecentFiles::SetCommaText(std::string_view text) {
    FItems.clear();
    for (std::string& item : FromCommaText(text)) {
        if (std::optional<std::string> name = FileNameOfUrl(item)) item = std::move(*name);
        if (!item.empty() && FItems.size() < kMaxCount) FItems.push_back(std::move(item));
    }
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

std::string ListFileFilter() {
    std::string supported, entries;
    for (int kind = 0; kind < kListKindCount; ++kind) {
        const TListKindInfo& info = ListKindInfo(kind);
        if (info.FilterPattern.empty()) continue;
        entries += std::string(info.FilterName) + " (" + std::string(info.FilterPattern) + ");;";
        const std::string extension = "*" + std::string(info.FilterPattern.substr(info.FilterPattern.rfind('.')));
        if (supported.find(extension) == std::string::npos) supported += (supported.empty() ? "" : " ") + extension;
    }
    return "ｻﾎﾟｰﾄﾌｧｲﾙ (" + supported + ");;" + entries + "すべてのﾌｧｲﾙ (*)";
}

} // namespace quillon
