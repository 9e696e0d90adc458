#include "PlainFind.h"

#include "Cp932.h"
#include "EditorUtils.h"

#include <cstring>

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

// The byte length of the character at I.

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
} // namespace quillon
