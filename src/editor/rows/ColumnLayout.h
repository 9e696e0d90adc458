#pragma once
// The column layout of a row as the editor sees it.
//
// Class string: one character per display column, built from the row's bytes from the left, each
// a column class (below). The classes are digits so that a class string reads as text in a test.
// A tab at column w fills up to the next multiple of TabSpaceCount; with word wrap the fill also
// stops at the next multiple of WrapByte. Building stops once the string has reached 1000 columns
// (WrapByte + 3 with word wrap), so its cost is bounded whatever the row's length.
#include <bitset>
#include <string>
#include <string_view>

namespace quillon {

// The column classes of a class string.
constexpr char ccNone = '0';         // no column: past the end of the string
constexpr char ccSingle = '1';       // a single-byte character that is not a delimiter
constexpr char ccDelimiter = '2';    // a single-byte delimiter (a tab's own column, with the default delimiters)
constexpr char ccTabFill = '3';      // a column filled by a tab after its own column
constexpr char ccDoubleFirst = '4';  // the first column of a double-byte character
constexpr char ccDoubleSecond = '5'; // its second column

// Word delimiters: the bytes that get class ccDelimiter.
using TDelimiters = std::bitset<256>;

// The default delimiters: 0x00-0x2F, 0x3A-0x40, 0x5B-0x5E, 0x60, 0x7B-0x80, 0xA0-0xA5, 0xFD-0xFF
// (digits, letters, the underscore, lead bytes and half-width katakana are not delimiters).
TDelimiters GetDelimiters();

struct TColumnLayout {
    TDelimiters Delimiters = GetDelimiters();
    int TabSpaceCount = 8;
    bool WordWrap = false;
    int WrapByte = 80; // the wrap margin in columns; used only with WordWrap
};

// The class string of S under Layout.
std::string ClassString(std::string_view S, const TColumnLayout& Layout);
// The same into Out, whose memory is reused.
void ClassString(std::string_view S, const TColumnLayout& Layout, std::string& Out);

// The columns that S occupies: a double-byte character 2, a tab up to its next stop (capped at the
// wrap margin with word wrap), any other byte 1. Not limited to 1000 columns.
int DisplayWidth(std::string_view S, const TColumnLayout& Layout);

} // namespace quillon
