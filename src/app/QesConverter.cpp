#include "QesConverter.h"

#include "AsciiText.h"
#include "ListFiles.h"
#include "MessageBox.h"
#include "Paths.h"
#include "Strutil.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace quillon {
namespace fs = std::filesystem;

const char* const kQesDefaultTemplate =
    "E100[E040[E050[%0@]E300[%1@]E400[%2@]%3@]E050[%4@]%5@]E200[E040[E050[%6@]%7@]E050[%8@]%9@]";
const char* const kEnemyListHeader = "Distance--100--Command--COMMENT";

namespace {

// Blanks and tabs are below 0x40, so they are never the trail byte of a double-byte character.
constexpr std::string_view kFieldBreak = " \t";

std::string AsciiUpper(std::string_view s) {
    std::string upper(s);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The source's lines trimmed, without the empty ones.
std::vector<std::string> TrimmedLines(const std::vector<std::string>& lines) {
    std::vector<std::string> trimmed;
    for (const std::string& line : lines)
        if (std::string t = TrimZenkaku(line); !t.empty()) trimmed.push_back(std::move(t));
    return trimmed;
}

// The part of s before its first blank or tab, and the rest after it trimmed; nothing when s has
// no blank or tab.
std::optional<std::pair<std::string_view, std::string>> SplitField(std::string_view s) {
    const size_t brk = s.find_first_of(kFieldBreak);
    if (brk == std::string_view::npos) return std::nullopt;
    return std::pair{s.substr(0, brk), TrimZenkaku(s.substr(brk + 1))};
}

// A data line: distance, value, command and comment; nothing for a line that is not one.
std::optional<TEneLineItem> ParseDataLine(std::string_view line) {
    auto distance = SplitField(line);
    if (!distance) return std::nullopt;
    auto value = SplitField(distance->second);
    if (!value) return std::nullopt;
    const auto d = StrToInt(distance->first);
    const auto v = StrToInt(value->first);
    if (!d || !v) return std::nullopt;
    TEneLineItem item{*d, *v, value->second, {}};
    if (auto command = SplitField(value->second)) {
        item.Command = std::string(command->first);
        item.Comment = std::move(command->second);
        if (!item.Comment.empty() && item.Comment[0] == ';') item.Comment.erase(0, 1);
    }
    return item;
}

// The section that a ":" line opens: its label runs from after the ":" to the first blank or tab.
int SectionOfLabel(std::string_view line) {
    std::string_view rest = line.substr(1);
    const std::string label = TrimZenkaku(rest.substr(0, rest.find_first_of(kFieldBreak)));
    return label.empty() ? -1 : QesSectionOfChar(label[0]);
}

bool EndsSection(std::string_view line) {
    return line.size() >= 2 && line[0] == '\\' && (line[1] == 'E' || line[1] == 'e');
}

void ApplyFormatLines(const std::vector<std::string>& lines, std::string& condTemplate) {
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].size() > 8 && AsciiUpper(std::string_view(lines[i]).substr(0, 7)) == "FORMAT=")
            condTemplate = TrimZenkaku(std::string_view(lines[i]).substr(7));
}

bool LessPair(const TEneLineItem& a, const TEneLineItem& b) {
    return std::pair(a.Distance, a.Value) < std::pair(b.Distance, b.Value);
}

// The command of the first item, in sorted order, at or beyond both distance and value.
std::string_view CommandAt(const std::vector<TEneLineItem>& items, int distance, int value) {
    auto it = std::lower_bound(items.begin(), items.end(), distance,
                               [](const TEneLineItem& item, int d) { return item.Distance < d; });
    for (; it != items.end(); ++it)
        if (it->Value >= value) return it->Command;
    return {};
}

// The template with each placeholder replaced by its section's command. One pass from the left,
// so a command that itself holds "%" and a label character is copied as it is, never substituted.
std::string Expression(std::string_view condTemplate, const std::array<std::string_view, kQesSectionCount>& commands) {
    std::string expr;
    for (size_t i = 0; i < condTemplate.size(); ++i) {
        const int section =
            condTemplate[i] == '%' && i + 1 < condTemplate.size() ? QesSectionOfChar(condTemplate[i + 1]) : -1;
        if (section < 0) {
            expr += condTemplate[i];
            continue;
        }
        expr += commands[static_cast<size_t>(section)];
        ++i;
    }
    return expr;
}

std::string PadLeft(std::string s, size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

} // namespace

int QesSectionOfChar(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 36;
    return -1;
}

bool ParseQesSource(const std::vector<std::string>& Lines, TQesSource& Source) {
    Source = TQesSource();
    const std::vector<std::string> lines = TrimmedLines(Lines);
    const std::string version = lines.empty() ? std::string() : AsciiUpper(lines[0]);
    if (version != "QESVER1.0" && version != "QESVER1.1") {
        ShowError("有効なファイルではありません");
        return false;
    }
    if (version == "QESVER1.1") ApplyFormatLines(lines, Source.CondTemplate);
    int section = -1; // -1 outside a section
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.size() < 2) continue;
        if (section < 0) {
            if (line[0] == ':') section = SectionOfLabel(line);
        } else if (EndsSection(line)) {
            section = -1;
        } else if (auto item = ParseDataLine(line)) {
            Source.Sections[static_cast<size_t>(section)].push_back(std::move(*item));
        }
    }
    for (auto& items : Source.Sections) std::stable_sort(items.begin(), items.end(), LessPair);
    return true;
}

std::vector<std::string> MergeQesSections(const TQesSource& Source) {
    std::vector<std::pair<int, int>> pairs;
    for (const auto& items : Source.Sections)
        for (const TEneLineItem& item : items) pairs.emplace_back(item.Distance, item.Value);
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());

    std::vector<std::string> out{kEnemyListHeader};
    std::array<std::string_view, kQesSectionCount> commands;
    for (const auto& [distance, value] : pairs) {
        for (size_t n = 0; n < commands.size(); ++n) commands[n] = CommandAt(Source.Sections[n], distance, value);
        out.push_back(PadLeft(IntToStr(distance), 7) + " " + PadLeft(IntToStr(value), 5) + "  " +
                      Expression(Source.CondTemplate, commands) + " ;");
    }
    return out;
}

fs::path EnemyListFileName(const fs::path& SourceFileName) {
    const fs::path target = fs::path(SourceFileName).replace_extension(".lst");
    // The list that is already there under another case (ENEMY1.LST for ENEMY1.QES) is the one the
    // game reads: it is replaced, never left stale beside a new file.
    return FindFileNoCase(target.parent_path(), target.filename().native()).value_or(target);
}

namespace {

// An enemy list already there may be written by hand: it is replaced only when the user agrees.
bool ReplaceConfirmed(const fs::path& Target) {
    std::error_code error;
    if (!fs::is_regular_file(Target, error)) return true;
    const std::string question = Target.filename().string() + " は既にあります。\r\n置き換えますか？";
    return Messages().Show(question, "確認", TMsgIcon::Question, TMsgButtons::YesNo) == TMsgResult::Yes;
}

} // namespace

bool ConvertQesToEnemyList(const std::vector<std::string>& Lines, const fs::path& SourceFileName) {
    TQesSource source;
    if (!ParseQesSource(Lines, source)) return false;
    const fs::path target = EnemyListFileName(SourceFileName);
    try {
        // A source that is itself named *.lst would be overwritten by its own enemy list.
        if (!SourceFileName.has_filename() || SameFile(target, SourceFileName)) throw EListFileOpen();
        if (!ReplaceConfirmed(target)) return false;
        WriteListFile(target, MergeQesSections(source));
    } catch (const Exception& e) {
        ShowError(e.Message());
        return false;
    }
    Messages().Show("出力が完了しました", "成功", TMsgIcon::Information, TMsgButtons::OK);
    return true;
}

} // namespace quillon
