#pragma once
// The common ground of the list colourers: the byte classes and runs that every list parser cuts its
// fields with.
//
// A scan works on a NUL-terminated row text through a running pointer. The end of the row is the
// first NUL, LF or CR; no scan moves the pointer past it. A scan that answers false leaves the
// pointer where it was.
namespace quillon {

// Token kinds that the lists other than the motion list share.
enum : int {
    ltComment = 7,   // after the last field, to the end of the row
    ltAnyItem = 71,  // a line that is not a data line, whole
    ltError = 72,    // from the part that does not fit to the end of the row
};

// ParseMode of a list parser.
enum : int {
    pmFull = 0,    // full colouring, for painting
    pmSimple = 1,  // one token per field, for token queries
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
inline bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Moves p over every byte for which Pred holds.
template <class Pred> void SkipWhile(const char*& p, Pred pred) {
    while (pred(Byte(p))) ++p;
}

inline void SkipDigits(const char*& p) { SkipWhile(p, IsDigit); }
inline void ScanToRowEnd(const char*& p) { SkipWhile(p, [](unsigned char c) { return !IsRowEnd(c); }); }

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
