#pragma once
// Plain-text search in Shift-JIS buffers: forwards or backwards from a position, optionally ignoring
// letter case (also of full-width Latin, Greek and Cyrillic letters and Roman numerals), matching
// whole words, treating half-width and full-width forms as equal (half-width katakana with their
// voiced marks included) and skipping line breaks or blanks inside a match.
//
// A match never starts on the trail byte of a double-byte character and never reads past the buffer.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The option word of SearchText; other bits are ignored.
using TSearchOptions = std::uint16_t;
constexpr TSearchOptions stDown = 0x0001;           // forwards (clear: backwards)
constexpr TSearchOptions stMatchCase = 0x0002;      // compare letter case exactly
constexpr TSearchOptions stWholeWord = 0x0004;      // starts at a word start, ends before a delimiter
constexpr TSearchOptions stWidthFold = 0x0008;      // half-width and full-width forms are equal
constexpr TSearchOptions stSkipLineBreaks = 0x0080; // CR and LF in the text are skipped inside a match
constexpr TSearchOptions stSkipBlanks = 0x0100;     // tab, space and 0x81 0x40 are skipped inside a match

struct TSearchInfo {
    std::int32_t Start = 0;  // byte offset in the buffer
    std::int32_t Length = 0; // on entry the previous match's length, on return the new match's
};

// Searches Buffer for Pattern from Info (a forward search starts Info.Length bytes after Info.Start,
// a backward one ends at Info.Start). On a match sets Info to it and answers true. An empty pattern
// or buffer, a bad Info and a pattern longer than the rest of the buffer answer false.
bool SearchText(std::string_view Buffer, TSearchInfo& Info, std::string_view Pattern, TSearchOptions Options);

// The full-width form of S: double-byte characters stay; half-width katakana become full-width ones,
// joined with a following voiced mark (ｶﾞ gives ガ, ｳﾞ gives ヴ, ﾊﾟ gives パ); every other byte
// goes through the width table (ASCII to its full-width form, bytes without one to themselves).
std::string HanToZen(std::string_view S);

// Whether the double-byte text character T (2 bytes) matches the pattern character P: equal bytes, or
// T a lower-case letter whose upper-case partner is P.
bool DBCharEqual(std::string_view P, std::string_view T);

// Byte-wise upper-casing of single-byte letters (a-z); other bytes keep their value.
extern const std::array<unsigned char, 256> UpperTable;

// The bytes that end a word for stWholeWord: everything but digits, ASCII letters, lead bytes and
// half-width katakana ("_" is a delimiter here).
bool IsWordDelimiter(unsigned char b);

} // namespace quillon
