#include "EditorUtils.h"

#include "Cp932.h"

#include <algorithm>

namespace quillon {
namespace {
bool InString(std::string_view S, int Index) { return Index >= 0 && Index < static_cast<int>(S.size()); }
} // namespace

int CharStartOf(std::string_view S, int Index, int Known) {
    int i = Index;
    while (i > Known && IsLeadByte(S[static_cast<std::size_t>(i - 1)])) --i;
    return (Index - i) % 2 == 0 ? Index : Index - 1;
}

std::size_t CharLength(std::string_view S, std::size_t I) { return IsLeadByte(S[I]) && I + 1 < S.size() ? 2 : 1; }

int DoubleByteCode(std::string_view S, std::size_t I) {
    const int trail = I + 1 < S.size() ? static_cast<unsigned char>(S[I + 1]) : 0;
    return static_cast<unsigned char>(S[I]) * 256 + trail;
}

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

TLineReader::TLineReader(std::string_view Text) : FText(Text), FCr(Text.find('\r')), FLf(Text.find('\n')) {}

bool TLineReader::Next(std::string_view& Line) {
    if (FPos >= FText.size()) return false;
    if (FCr < FPos) FCr = FText.find('\r', FPos);
    if (FLf < FPos) FLf = FText.find('\n', FPos);
    const std::size_t end = std::min({FCr, FLf, FText.size()});
    Line = FText.substr(FPos, end - FPos);
    FPos = end + (end == FCr && FLf == end + 1 ? 2 : 1); // CR LF is one break
    return true;
}

std::vector<std::string> StrToStrings(const char* Text) {
    if (!Text) return {};
    if (*Text == '\0') return {std::string()};
    std::vector<std::string> lines;
    TLineReader reader(Text);
    for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
    return lines;
}

} // namespace quillon
