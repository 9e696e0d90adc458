#pragma once
// Half-width and full-width forms of the same characters in Shift-JIS text.
//
// All three routines step through the text character by character: a lead byte and the byte after
// it are one character, so a trail byte is never looked at on its own (0x5C and 0x7E are trail
// bytes of common kanji and katakana). A lead byte at the very end of a text is copied as it is.
#include <string>
#include <string_view>

namespace quillon {

// S without leading and trailing blanks: single-byte characters of code 32 or less and the
// full-width space.
std::string TrimZenkaku(std::string_view S);

// Every single-byte character that has a full-width form replaced by it; a voiced half-width kana
// stays two characters ("ｶﾞ" becomes "カ゛").
std::string ToZenkaku(std::string_view S);

// Every double-byte character that has a half-width form replaced by it; hiragana come out as
// half-width katakana and a voiced kana becomes two half-width characters.
std::string ToHankaku(std::string_view S);

} // namespace quillon
