#pragma once
// The plain (not regular-expression) search for the find string: character classes for whole words,
// and the occurrences of a string that start a character.
#include <cstddef>
#include <string_view>

namespace quillon {

// The character class at 1-based Index of S, '0' to '6': '0' delimiters, NUL, outside S and
// unlisted characters; '1' other single bytes below 0x80; '2' half-width katakana; '3' full-width
// digits and Latin letters; '4' katakana; '5' hiragana; '6' kanji. Both bytes of a double-byte
// character have the class of the character.
char CharClassAt(std::string_view S, int Index);

// Whether the Len bytes at 1-based Pos of S form a whole word: the character class changes at both
// ends of the range.
bool IsWholeWord(std::string_view S, int Pos, int Len);

// Whether a character starts at P of S, given that one starts at Known <= P (the end of S is one).
bool StartsChar(std::string_view S, std::size_t Known, std::size_t P);

// The next occurrence of Pattern in Line that starts a character, at Start, searched from the byte
// offset From (a character start), which moves on past it; false when none is left.
bool FindPlainFrom(std::string_view Line, std::string_view Pattern, std::size_t& From, std::size_t& Start);

} // namespace quillon
