#include "EditorUtils.h"

#include "Cp932.h"

#include <algorithm>
#include <cstring>

namespace quillon {
namespace {
// The start of the character that holds byte Index (Index itself, or Index - 1 for a trail byte).
int CharStartOf(std::string_view S, int Index) {
    int i = 0;
    while (i < Index) {
        int step = IsLeadByte(S[i]) ? 2 : 1;
        if (i + step > Index) break;
        i += step;
    }
    return i;
}

bool InString(std::string_view S, int Index) { return Index >= 0 && Index < static_cast<int>(S.size()); }
} // namespace

int CharCount(std::string_view S, char Ch, int Max) {
    auto n = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(Max, 0)), 0, S.size());
    return static_cast<int>(std::count(S.begin(), S.begin() + static_cast<std::ptrdiff_t>(n), Ch));
}

bool IsDBCSLeadAt(std::string_view S, int Index) {
    return InString(S, Index) && CharStartOf(S, Index) == Index && IsLeadByte(S[Index]);
}

bool IsDBCSTrailAt(std::string_view S, int Index) { return InString(S, Index) && CharStartOf(S, Index) != Index; }

char CharAt(std::string_view S, int Index) { return InString(S, Index) ? S[Index] : '\0'; }

bool CharInStr(std::string_view Sub, std::string_view S) {
    if (Sub.empty() || Sub.size() > S.size()) return false;
    for (std::size_t i = 0; i + Sub.size() <= S.size(); i += IsLeadByte(S[i]) ? 2 : 1)
        if (S.compare(i, Sub.size(), Sub) == 0) return true;
    return false;
}

std::vector<std::string> StrToStrings(const char* Text) {
    std::vector<std::string> lines;
    if (!Text) return lines;
    std::string_view text(Text, std::strlen(Text));
    // One item per LF, one more when the text does not end with LF; lines beyond that are appended.
    std::size_t presized = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (text.empty() || text.back() != '\n') ++presized;
    lines.resize(presized);
    std::size_t n = 0, pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(pos, end - pos));
        if (n < lines.size())
            lines[n] = std::move(line);
        else
            lines.push_back(std::move(line));
        ++n;
        pos = end;
        if (text.substr(pos, 2) == "\r\n")
            pos += 2;
        else if (pos < text.size())
            ++pos;
    }
    return lines;
}

} // namespace quillon
