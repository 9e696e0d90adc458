#include "PlainFind.h"

#include "AnsiCase.h"
#include "Cp932.h"
#include "EditorUtils.h"

#include <cstring>
#include <string>

namespace quillon {

namespace {

bool IsSingleByteDelimiter(unsigned char B) {
    static constexpr std::string_view delimiters = "\t\n\r \"`!#$%&'()=~^\\|{}[]@;+:*,<.>/?_\xA4\xA1\xA5";
    return delimiters.find(static_cast<char>(B)) != std::string_view::npos;
}

char SingleByteClass(unsigned char B) {
    if (B == 0 || IsSingleByteDelimiter(B)) return '0';
    if (B < 0x80) return '1';
    if (B >= 0xA1 && B <= 0xDF) return '2';
    return '0';
}

// The delimiters 0x8140-0x81A4 fall into class 0 with every other unlisted code.
char DoubleByteClass(int Code) {
    if (Code >= 0x824F && Code <= 0x829A) return '3';
    if (Code >= 0x8340 && Code <= 0x8396) return '4';
    if (Code >= 0x829F && Code <= 0x82F1) return '5';
    if (Code >= 0x889F) return '6';
    return '0';
}

// Every byte of Text lowered as a letter, trail bytes too, into Folded.
void FoldEveryByte(std::string_view Text, std::string& Folded) {
    Folded.resize(Text.size());
    const auto* from = reinterpret_cast<const unsigned char*>(Text.data());
    auto* to = reinterpret_cast<unsigned char*>(Folded.data());
    for (std::size_t i = 0; i < Text.size(); ++i) to[i] = AsciiLower(from[i]);
}

} // namespace

char CharClassAt(std::string_view S, int Index) {
    if (Index < 1 || Index > static_cast<int>(S.size())) return '0';
    const int i = Index - 1;
    if (IsDBCSTrailAt(S, i)) return DoubleByteClass(DoubleByteCode(S, static_cast<std::size_t>(i - 1)));
    if (IsDBCSLeadAt(S, i)) return DoubleByteClass(DoubleByteCode(S, static_cast<std::size_t>(i)));
    return SingleByteClass(static_cast<unsigned char>(S[static_cast<std::size_t>(i)]));
}

bool IsWholeWord(std::string_view S, int Pos, int Len) {
    if (Pos < 1 || Pos > static_cast<int>(S.size())) return false;
    return CharClassAt(S, Pos) != CharClassAt(S, Pos - 1) && CharClassAt(S, Pos + Len) != CharClassAt(S, Pos + Len - 1);
}

bool StartsChar(std::string_view S, std::size_t Known, std::size_t P) {
    if (P >= S.size()) return P == S.size();
    return CharStartOf(S, static_cast<int>(P), static_cast<int>(Known)) == static_cast<int>(P);
}

bool FindPlainFrom(std::string_view Line, std::string_view Pattern, std::size_t& From, std::size_t& Start) {
    std::size_t i = From;
    while (i < Line.size()) {
        // The next occurrence, taken when it starts a character (never on a trail byte).
        const void* hit = memmem(Line.data() + i, Line.size() - i, Pattern.data(), Pattern.size());
        if (!hit) return false;
        const auto found = static_cast<std::size_t>(static_cast<const char*>(hit) - Line.data());
        if (!StartsChar(Line, i, found)) {
            i = found + 1;
            continue;
        }
        Start = found;
        From = found + Pattern.size();
        return true;
    }
    return false;
}

bool TChunkFind::Serves(std::string_view Pattern) {
    if (Pattern.empty() || Pattern.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
    std::size_t i = 0;
    while (i < Pattern.size()) i += IsLeadByte(Pattern[i]) ? 2 : 1;
    if (i != Pattern.size()) return false;
    for (std::size_t k = 1; k < Pattern.size(); ++k)
        if (Pattern.substr(0, k) == Pattern.substr(Pattern.size() - k)) return false;
    return true;
}

TChunkFind::TChunkFind(std::string Pattern, bool MatchCase, bool WholeWord)
    : FPattern(std::move(Pattern)), FMatchCase(MatchCase), FWholeWord(WholeWord) {
    if (MatchCase)
        FKey = FPattern;
    else
        FoldEveryByte(FPattern, FKey);
}

void TChunkFind::SetChunk(std::string_view Chunk) {
    FChunk = Chunk;
    if (!FMatchCase) FoldEveryByte(Chunk, FFolded);
}

std::size_t TChunkFind::Next(std::size_t From) const {
    const std::string_view hay = FMatchCase ? FChunk : std::string_view(FFolded);
    while (From < hay.size()) {
        const void* hit = memmem(hay.data() + From, hay.size() - From, FKey.data(), FKey.size());
        if (!hit) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - hay.data());
        if (IsMatch(at)) return at;
        From = at + 1;
    }
    return std::string_view::npos;
}

bool TChunkFind::IsMatch(std::size_t At) const {
    if (!StartsChar(FChunk, 0, At)) return false;
    if (!FMatchCase) {
        // The candidate folded as its line is: single-byte letters lowered, double-byte characters
        // kept.
        for (std::size_t i = 0; i < FPattern.size();) {
            const std::size_t length = CharLength(FChunk, At + i);
            for (std::size_t k = 0; k < length && i + k < FPattern.size(); ++k) {
                const auto c = static_cast<unsigned char>(FChunk[At + i + k]);
                if (static_cast<char>(length == 1 ? AsciiLower(c) : c) != FPattern[i + k]) return false;
            }
            i += length;
        }
    }
    return !FWholeWord || IsWholeWord(FChunk, static_cast<int>(At) + 1, static_cast<int>(FPattern.size()));
}

} // namespace quillon
