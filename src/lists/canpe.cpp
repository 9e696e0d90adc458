#include "canpe.h"

#include "Cp932.h"
#include "EditorUtils.h"
#include "MessageBox.h"
#include "Paths.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace quillon {
namespace {

// ASCII letters in upper case, stepping by characters so that trail bytes stay as they are.
std::string UpperKey(std::string_view key) {
    std::string out(key);
    for (size_t p = 0; p < out.size(); ++p) {
        if (IsLeadByte(out[p]))
            ++p;
        else if (out[p] >= 'a' && out[p] <= 'z')
            out[p] = static_cast<char>(out[p] - 'a' + 'A');
    }
    return out;
}

// A head line ":KEY=Title" with a key of at least one character.
bool IsHeadLine(std::string_view line, std::string_view& key, std::string_view& title) {
    if (line.empty() || line[0] != ':') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq < 2) return false;
    key = line.substr(1, eq - 1);
    title = line.substr(eq + 1);
    return true;
}

bool IsEndLine(std::string_view line) {
    return line.size() >= 2 && line[0] == '\\' && (line[1] == 'e' || line[1] == 'E');
}

// Passes over the lines up to and including the next end line.
void SkipBody(TLineReader& lines) {
    std::string_view line;
    while (lines.Next(line) && !IsEndLine(line)) {
    }
}

// The file's path as it lies in its folder: the exact name, else the one that differs in case.
std::filesystem::path ExistingFile(const std::filesystem::path& fileName) {
    std::error_code ec;
    if (std::filesystem::exists(fileName, ec)) return fileName;
    auto found =
        FindFileNoCase(fileName.parent_path().empty() ? "." : fileName.parent_path(), fileName.filename().string());
    return found ? *found : std::filesystem::path();
}

} // namespace

THintResult FindItemHint(std::string_view Text, std::string_view Key, std::string& Title, std::string& Body) {
    Title.clear();
    Body.clear();
    const std::string key = UpperKey(Key);
    TLineReader lines(Text);
    std::string_view line, lineKey, lineTitle;
    while (lines.Next(line)) {
        if (!IsHeadLine(line, lineKey, lineTitle)) continue;
        if (UpperKey(lineKey) != key) {
            SkipBody(lines);
            continue;
        }
        Title = lineTitle;
        while (lines.Next(line) && !IsEndLine(line)) (Body += line) += "\r\n";
        return hrFound;
    }
    return hrNotFound;
}

THintResult ReadItemHint(const std::filesystem::path& FileName, std::string_view Key, std::string& Title,
                         std::string& Body) {
    Title.clear();
    Body.clear();
    std::filesystem::path path = ExistingFile(FileName);
    if (path.empty()) return hrFileMissing;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return hrUnreadable; // a folder, a FIFO, a device
    std::ifstream in(path, std::ios::binary);
    if (!in) return hrUnreadable;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return hrUnreadable;
    return FindItemHint(text, Key, Title, Body);
}

bool LookupItemHint(const std::filesystem::path& FileName, std::string_view Key, std::string& Title,
                    std::string& Body) {
    const std::string name = FileName.filename().string();
    switch (ReadItemHint(FileName, Key, Title, Body)) {
    case hrFound: return true;
    case hrNotFound: return false;
    case hrFileMissing:
        Messages().Show(name + "が見つかりません", "エラー", TMsgIcon::Warning, TMsgButtons::OK);
        return false;
    case hrUnreadable: ShowError(name + "を開けませんでした"); return false;
    }
    return false;
}

} // namespace quillon
