#pragma once
// The common ground of the list colourers.
//
// Every list kind has a colourer (a TOrvColourer) whose parser (a TOrvColourerParser) cuts a list
// line into one token per field, some fields into several, and gives each token the kind of its
// field. A kind's colourer is a TListColourer made from the kind's traits (TListColourerTraits: its
// class name, colour properties, token kinds and field scan); the colourer and the parser are the
// same code for every kind. The parser sends every byte of 33 or more to its field scan; blanks between fields are
// skipped by the framework, a tab is a token of its own. FieldIndex, the number of the field that
// the next token is expected to be, starts at 0 with every logical line and is carried from a
// wrapped row to the next; a parser that counts within a field (the Cancel counter) keeps its count
// in ParseValue, which is carried the same way. A row is scanned with the rest of its logical line
// behind it and a token cut by the wrap goes on for exactly its own length in the rows after it, so
// every byte of a wrapped line gets the kind it has unwrapped.
//
// The field scans are plain functions over a running pointer (below and in each kind's unit), so
// that they are tested and benchmarked on their own. A scan works on a NUL-terminated row text; the
// end of the row is the first NUL, LF or CR and no scan moves the pointer past it; a scan that
// answers false leaves the pointer where it was.
#include "Colourer.h"

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace quillon {

// Token kinds that the lists other than the motion list share.
enum : int {
    ltComment = 7,  // after the last field, to the end of the row
    ltAnyItem = 71, // a line that is not a data line, whole
    ltError = 72,   // from the part that does not fit to the end of the row
};

// ParseMode of a list parser.
enum : int {
    pmFull = 0,   // full colouring, for painting
    pmSimple = 1, // one token per field, for token queries
};

// One colour property of a list colourer: its published name, the token kind it paints, and the
// look the program gives it on the first start (the colourer itself starts with every colour at
// clNone).
struct TKindColorInfo {
    const char* Name;
    int Kind;
    TColor Color = clNone;
    TColor BkColor = clNone;
    TFontStyles Style = 0;
};

class TOrvColourer : public TColourer {
public:
    QUILLON_CLASS_INFO

    // Read by every parser the colourer creates; public, never stored.
    int ParseMode() const { return FParseMode; }
    void SetParseMode(int Value) { FParseMode = Value; }

    // A parser that scans with Mode whatever the colourer's own ParseMode is: token queries ask
    // for their own parser, so the shared colourer never leaves the full scan.
    std::unique_ptr<TColourerParser> CreateParserWithMode(int Mode);

    // The colour properties in published (stream) order.
    int ColorCount() const { return static_cast<int>(FColors.size()); }
    TColourerColor& ColorAt(int Index) const { return *FColors[static_cast<std::size_t>(Index)]; }
    const TKindColorInfo& ColorInfoAt(int Index) const { return FColorInfos[static_cast<std::size_t>(Index)]; }
    // The colour that paints tokens of Kind, or null for the editor's own colours.
    TColourerColor* KindColor(int Kind) const;
    // Copies Value into the colour of Kind.
    void SetKindColor(int Kind, const TColourerColor& Value);

    // Gives every colour the look of the program's first start.
    void SetDefaultColors();

protected:
    TOrvColourer(TComponent* Owner, std::span<const TKindColorInfo> Colors);
    // The published colour properties of a descendant, in the order of Colors.
    static std::vector<TPropInfo> ColorProps(std::span<const TKindColorInfo> Colors);

private:
    int FParseMode = pmFull;
    std::span<const TKindColorInfo> FColorInfos;
    std::vector<std::unique_ptr<TColourerColor>> FColors; // FColors[i] is painted as FColorInfos[i]
    std::array<TColourerColor*, 256> FKindColors{};       // by token kind; null: no colour
};

// A list kind's field scan: the token at Run (a byte of 33 or more) as field FieldIndex of a line.
// It moves Run past the token and FieldIndex on to the field that the next token is expected to be,
// and answers the token's kind. LineValue is what the kind counts along a line (the parse value, which
// the row store carries over a wrap); Mode is the parser's ParseMode.
using TListFieldScan = int (*)(const char*& Run, int& FieldIndex, int& LineValue, int Mode);

// All that tells one list colourer from another, beside its field scan: a colourer is its traits
// (defined in the kind's unit next to the scan) and TListColourer made from it.
struct TListColourerTraits {
    const char* ClassName;                  // published: the colours are streamed under it
    std::span<const TKindColorInfo> Colors; // in published (stream) order
    int FirstKind;                          // the parser's own kinds are FirstKind..LastKind,
    int LastKind;                           // AnyItemKind and ErrorKind
    TListFieldScan Scan;
    int LineStartValue = 0; // LineValue at the start of every logical line
    int AnyItemKind = ltAnyItem;
    int ErrorKind = ltError;
};

// The parser of every list colourer.
class TOrvColourerParser final : public TColourerParser {
public:
    TOrvColourerParser(TColourer* Colourer, const TListColourerTraits& Traits);

    int ParseMode() const { return FParseMode; }
    void SetParseMode(int Value) { FParseMode = Value; }

    // Every row that starts a logical line starts at field 0 with the traits' LineStartValue.
    void NewData(const char* Text, const TRowAttributeData& Data) override;
    TColourerColor* TokenColor() override;

protected:
    // A token that continues from the row before starts at the row's first byte: blanks there are
    // part of it (an error or an item keeps its colour over them, and Remain counts them).
    void SkipSpaces() override;

private:
    // Scans the field token at FRunPtr, which every byte of 33 or more starts: sets FTokenKind, moves
    // FRunPtr, FFieldIndex and FParseValue on.
    void ScanField();

    const TListColourerTraits& FTraits;
    TOrvColourer* FOrvColourer; // null when the colourer is no list colourer
    int FParseMode;
};

// The colourer of one list kind, made from the kind's traits.
template <const TListColourerTraits& Traits> class TListColourer final : public TOrvColourer {
public:
    static const TClassInfo& StaticClassInfo() {
        static const TClassInfo info{Traits.ClassName, &TOrvColourer::StaticClassInfo(), ColorProps(Traits.Colors)};
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

    explicit TListColourer(TComponent* Owner) : TOrvColourer(Owner, Traits.Colors) {}
    std::unique_ptr<TColourerParser> CreateParser() override {
        return std::make_unique<TOrvColourerParser>(this, Traits);
    }
};

} // namespace quillon

namespace quillon::orvscan {

inline unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// NUL, LF or CR.
inline bool IsRowEnd(unsigned char c) { return c == 0 || c == 10 || c == 13; }
// 33 to 255: printable ASCII and every byte of a double-byte character.
inline bool IsNonBlank(unsigned char c) { return c >= 33; }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsSign(unsigned char c) { return c == '+' || c == '-'; }
inline bool IsSignOrDigit(unsigned char c) { return IsSign(c) || IsDigit(c); }
inline bool IsMinusOrDigit(unsigned char c) { return c == '-' || IsDigit(c); }
inline bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsAsciiAlnum(unsigned char c) { return IsAsciiLetter(c) || IsDigit(c); }
inline bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Moves p over every byte for which Pred holds.
template <class Pred> void SkipWhile(const char*& p, Pred pred) {
    while (pred(Byte(p))) ++p;
}

inline void SkipDigits(const char*& p) { SkipWhile(p, IsDigit); }
inline void ScanToRowEnd(const char*& p) {
    SkipWhile(p, [](unsigned char c) { return !IsRowEnd(c); });
}

// A token of kind Kind from From to the end of the row (an error from the start of the field that
// does not fit, a comment, an item line): p moves to the end of the row.
inline int TokenToRowEnd(const char*& p, const char* From, int Kind) {
    p = From;
    ScanToRowEnd(p);
    return Kind;
}

// A byte that starts the run, then digits.
template <class Pred> bool ScanLedDigits(const char*& p, Pred first) {
    if (!first(Byte(p))) return false;
    ++p;
    SkipDigits(p);
    return true;
}

// A sign or a digit, then digits (a lone sign counts).
inline bool ScanSignedNumber(const char*& p) { return ScanLedDigits(p, IsSignOrDigit); }
// "-" or a digit, then digits.
inline bool ScanMinusNumber(const char*& p) { return ScanLedDigits(p, IsMinusOrDigit); }
inline bool ScanDigitRun(const char*& p) { return ScanLedDigits(p, IsDigit); }

// A sign or a digit, then digits and "." in any order.
inline bool ScanDecimal(const char*& p) {
    if (!IsSignOrDigit(Byte(p))) return false;
    ++p;
    SkipWhile(p, [](unsigned char c) { return IsDigit(c) || c == '.'; });
    return true;
}

// A byte that starts the run, then non-blank bytes.
template <class Pred> bool ScanLedRun(const char*& p, Pred first) {
    if (!first(Byte(p))) return false;
    ++p;
    SkipWhile(p, IsNonBlank);
    return true;
}

inline bool ScanNonBlankRun(const char*& p) { return ScanLedRun(p, IsNonBlank); }

// The byte after the token is a blank, a control byte or the end of the row: the field is over.
inline bool FieldEnds(const char* p) { return !IsNonBlank(Byte(p)); }

} // namespace quillon::orvscan
