#include "AnsiCase.h"

#include "Cp932.h"

namespace quillon {
namespace {

// A double-byte letter range: Count letters of one case from Lower, the other case from Upper.
// The Cyrillic lower case skips the code 0x847F, which is not a character.
struct TCaseRange {
    unsigned First, Last; // codes (lead x 256 + trail) of one case
    unsigned Other;       // code of the first letter of the other case
};

constexpr TCaseRange kLowerRanges[] = {
    {0x8281, 0x829A, 0x8260}, // ａ..ｚ -> Ａ..Ｚ
    {0x83BF, 0x83D6, 0x839F}, // α..ω -> Α..Ω
    {0x8470, 0x847E, 0x8440}, // а..н -> А..Н
    {0x8480, 0x8491, 0x844F}, // о..я -> О..Я
};
constexpr TCaseRange kUpperRanges[] = {
    {0x8260, 0x8279, 0x8281},
    {0x839F, 0x83B6, 0x83BF},
    {0x8440, 0x844E, 0x8470},
    {0x844F, 0x8460, 0x8480},
};

template <std::size_t N> unsigned MapCode(unsigned Code, const TCaseRange (&Ranges)[N]) {
    for (const TCaseRange& r : Ranges)
        if (Code >= r.First && Code <= r.Last) return r.Other + (Code - r.First);
    return Code;
}

// Steps through S by characters; Single maps a single-byte character, Double (when given) the code
// of a double-byte one. A lead byte at the very end is copied as it is.
template <class TSingle, class TDouble> std::string MapChars(std::string_view S, TSingle Single, TDouble Double) {
    std::string out;
    out.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(S[i]);
        if (IsLeadByte(c) && i + 1 < S.size()) {
            const unsigned code = Double((c << 8) | static_cast<unsigned char>(S[++i]));
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(Single(c));
        }
    }
    return out;
}

unsigned char AsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
unsigned Unchanged(unsigned Code) { return Code; }

} // namespace

std::string AnsiUpperCase(std::string_view S) {
    return MapChars(S, AsciiUpper, [](unsigned Code) { return MapCode(Code, kLowerRanges); });
}

std::string AnsiLowerCase(std::string_view S) {
    return MapChars(S, AsciiLower, [](unsigned Code) { return MapCode(Code, kUpperRanges); });
}

std::string UpperCaseFileName(std::string_view S) { return MapChars(S, AsciiUpper, Unchanged); }
std::string LowerCaseFileName(std::string_view S) { return MapChars(S, AsciiLower, Unchanged); }

} // namespace quillon
