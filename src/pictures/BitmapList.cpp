#include "BitmapList.h"

#include "AsciiText.h"
#include "Cp932.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace quillon {
namespace {

namespace fs = std::filesystem;

// An empty field is fine and gives nothing; text that is no number fails.
bool ConvertField(std::string_view field, std::optional<std::int32_t>& value) {
    value.reset();
    if (field.empty()) return true;
    value = StrToIntOrHex(field);
    return value.has_value();
}

bool InOffsetRange(const std::optional<std::int32_t>& v) { return !v || (*v >= -32768 && *v <= 32767); }

std::string LineMessage(int line, const char* text) { return IntToStr(line) + text; }

std::string PictureMessage(int line, std::int32_t number, const char* text) {
    return IntToStr(line) + "行目,画像番号" + IntToStr(number) + text;
}

bool HasBmpExtension(std::string_view name) {
    size_t dot = name.find_last_of(".\\:");
    if (dot == std::string_view::npos || name[dot] != '.') return false;
    std::string_view ext = name.substr(dot);
    static constexpr std::string_view Bmp = ".bmp";
    return ext.size() == Bmp.size() && std::equal(ext.begin(), ext.end(), Bmp.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
           });
}

bool HasDrive(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

// name is UTF-8 with "\" separators; a name without a drive lies in folder.
fs::path PicturePath(const fs::path& folder, std::string_view name) {
    fs::path path = HasDrive(name) ? fs::path() : folder;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = std::min(name.find('\\', start), name.size());
        std::string_view part = name.substr(start, end - start);
        if (!part.empty()) path /= fs::path(std::u8string(part.begin(), part.end()));
        start = end + 1;
    }
    return path;
}

// The pieces of a head: the number text and up to three fields; whatever follows a third ":"
// stays in the third field.
struct THead {
    std::string_view Number, F1, F2, F3;
};

THead SplitHead(std::string_view head) {
    THead h;
    std::string_view* pieces[] = {&h.Number, &h.F1, &h.F2};
    for (std::string_view* piece : pieces) {
        size_t colon = head.find(':');
        *piece = Trim(head.substr(0, colon));
        if (colon == std::string_view::npos) return h;
        head.remove_prefix(colon + 1);
    }
    h.F3 = Trim(head);
    return h;
}

// Checks one non-empty trimmed line; an empty result is success and fills entry.
std::string ParseLine(std::string_view line, int lineNo, const fs::path& folder, int createMode,
                      const std::set<std::int32_t>& numbers, TBitmapListEntry& entry) {
    size_t space = line.find(' ');
    if (space == std::string_view::npos) return LineMessage(lineNo, " 行目に誤りがあります");
    THead head = SplitHead(line.substr(0, space));
    std::string_view rawName = Trim(line.substr(space + 1));

    if (!ConvertField(head.F2, entry.X)) return LineMessage(lineNo, " 行目のＸオフセットを数値に変換できません");
    if (!ConvertField(head.F1, entry.Y)) return LineMessage(lineNo, " 行目のＹオフセットを数値に変換できません");
    if (!InOffsetRange(entry.X)) return LineMessage(lineNo, " 行目のＸオフセットは範囲外です");
    if (!InOffsetRange(entry.Y)) return LineMessage(lineNo, " 行目のＹオフセットは範囲外です");
    if (!ConvertField(head.F3, entry.YAxis)) return LineMessage(lineNo, " 行目のＹ軸を数値に変換できません");

    std::int32_t number = StrToIntOrHex(head.Number).value_or(-1);
    if (number < 0 || number > HighestPictureNumber(createMode))
        return LineMessage(lineNo, " 行目のナンバーは範囲外か数値ではありません");
    entry.Number = number;

    if (rawName.empty()) return PictureMessage(lineNo, number, "にファイル名が指定されていません");
    // Only after conversion is "\" a separator: byte 0x5C is also a trail byte of CP932.
    std::string name = Cp932ToUtf8(rawName);
    std::replace(name.begin(), name.end(), '/', '\\');
    if (name.front() == '\\') name.erase(0, 1);
    if (name.empty()) return PictureMessage(lineNo, number, "のファイル名の指定は無効です");
    if (!HasBmpExtension(name)) return PictureMessage(lineNo, number, "にBitmapファイルが指定されていません");

    if (numbers.count(number))
        return IntToStr(lineNo) + " 行目に指定されているナンバー " + IntToStr(number) + " はすでに存在します";
    entry.Path = PicturePath(folder, name);
    return {};
}

} // namespace

std::int32_t HighestPictureNumber(int createMode) {
    switch (createMode) {
    case 0: return 255;
    case 1: return 65534;
    default: return 2147483647;
    }
}

void ParseBitmapList(const fs::path& listFile, const std::vector<std::string>& lines, TBitmapListEntries& result,
                     std::string& error, int createMode) {
    error.clear();
    result.clear();
    const fs::path folder = listFile.parent_path();
    std::set<std::int32_t> numbers;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = Trim(lines[i]);
        if (line.empty()) continue;
        TBitmapListEntry entry;
        error = ParseLine(line, static_cast<int>(i) + 1, folder, createMode, numbers, entry);
        if (!error.empty()) return;
        numbers.insert(entry.Number);
        result.push_back(std::move(entry));
    }
    if (result.empty()) {
        error = std::string("\"") + listFile.string() + "\"\r\nに有効なデータがありません";
        return;
    }
    std::sort(result.begin(), result.end(),
              [](const TBitmapListEntry& a, const TBitmapListEntry& b) { return a.Number < b.Number; });
}

} // namespace quillon
