#pragma once
// Reading Shift-JIS patterns: character codes, escapes and the tokens of the pattern grammar.
//
// A pattern is read as a sequence of character codes: a single byte c is c, a lead byte L
// followed by T is L * 256 + T. Every code of a pattern or a text lies in 0..0xFFFF; the
// automata add two pseudo characters (line head and line tail) above that range, and the empty
// transition below it, so that no escape can produce a code that the automata reserve.
#include "Errors.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

using TREChar = std::int32_t;

constexpr TREChar RE_MaxChar = 0xFFFF;       // highest code of a pattern character
constexpr TREChar RE_AnyCharLast = 0xFCFC;   // highest code that "." covers
constexpr TREChar RE_LineHeadChar = 0x10000; // pseudo character before the first character of a line
constexpr TREChar RE_LineTailChar = 0x10001; // pseudo character at a line separator or the text's end
constexpr TREChar RE_EmptyChar = -1;         // the transition that reads nothing

// The error of a pattern whose automaton would pass the bounds on its size.
inline constexpr const char* RE_MsgTooComplex = "正規表現が複雑すぎます。";
// The error of a class "[" that no "]" closes, found by the scanner or the parser.
inline constexpr const char* RE_MsgNeedBracket = "右ブラケット\"]\"が必要です";

// Every error of a pattern: the message and the 1-based byte position in the pattern at which
// reading stood when the error was found.
class ERegExpParser : public Exception {
public:
    ERegExpParser(std::string message, int errorPos) : Exception(std::move(message)), ErrorPos(errorPos) {}
    int ErrorPos;
};

// The code at the 1-based Index, which then moves past the character; 0 without moving when
// Index lies outside the string. A lead byte as the last byte raises ERegExpParser.
TREChar GetChar(std::string_view Str, int& Index);
// Steps Index back over the character before it (two bytes when that is a trail byte).
void UngetChar(std::string_view Str, int& Index);
// The code that an escape stands for; Index stands after the backslash.
TREChar ReadEscape(std::string_view Str, int& Index);
// S with a backslash before each metacharacter; double-byte characters are copied whole.
std::string QuoteMetaChars(std::string_view S);

enum TRETokenKind : std::uint8_t {
    retk_Char,      // one character, escapes included
    retk_CharRange, // c1-c2, inside a class only
    retk_Union,     // |
    retk_LPar,      // (
    retk_RPar,      // )
    retk_Star,      // *
    retk_Plus,      // +
    retk_QMark,     // ?
    retk_LBra,      // [
    retk_LBraNeg,   // [^
    retk_RBra,      // ]
    retk_Dot,       // .
    retk_LHead,     // ^
    retk_LTail,     // $
    retk_End        // end of the pattern
};

class TREScanner {
public:
    explicit TREScanner(std::string_view Pattern) { SetPattern(Pattern); }
    virtual ~TREScanner() = default;

    void SetPattern(std::string_view Pattern);
    const std::string& Str() const { return FStr; }
    int Index() const { return FIndex; }

    // Reads the next token in the mode that the last token left (inside or outside a class).
    TRETokenKind NextToken();
    TRETokenKind Token() const { return FToken; }
    TREChar Symbol() const { return FSymbol; }       // the token's character; a range's first
    TREChar RangeLast() const { return FRangeLast; } // a range's last character

protected:
    virtual TRETokenKind GetToken();
    virtual TRETokenKind GetClassToken();

private:
    [[noreturn]] void MissingBracket() const;

    std::string FStr;
    int FIndex = 1; // 1-based position of the next byte to read
    TRETokenKind FToken = retk_End;
    TREChar FSymbol = 0;
    TREChar FRangeLast = 0;
    bool FInClass = false; // between "[" or "[^" and the "]" that closes it
};

} // namespace quillon
