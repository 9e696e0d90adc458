#pragma once
// The plain (not regular-expression) search for the find string: character classes for whole words,
// and the occurrences of a string that start a character.
#include <cstddef>
#include <string>
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

// The find string searched in a chunk of whole lines at a time (the rows' text with a CR LF after each
// line, as the row store's AppendLines gives it), for the Find command: one memmem over the chunk
// instead of a copy, a folded copy and a search of every line.
//
// A line searched on its own (the marks' collection) yields its non-overlapping occurrences that
// start a character, from its start on, each a whole word when asked for. For a pattern that Serves,
// these are all its occurrences that start a character, and none reaches out of its line, so the
// chunk holds the same matches at the same places, each found by looking only at the bytes around
// it: whether a character starts there (a lead byte pairs only with the byte after it, and a line
// break is no lead byte), and the classes of the characters on each side (a line break is a
// delimiter, as the outside of a line is). Case folding lowers the single-byte letters of a line,
// never the trail byte of a double-byte character; the chunk's copy lowers every letter byte, which
// can only make more candidates, and each candidate is then compared with the pattern as its line
// would be folded.
class TChunkFind {
public:
    // Whether the chunk search finds what the line search does: Pattern (as SearchPattern gives it)
    // is not empty, ends a character, holds no line break or NUL, and no proper prefix of it is also
    // its suffix (so no two occurrences overlap).
    static bool Serves(std::string_view Pattern);
    // Pattern as Serves takes it.
    TChunkFind(std::string Pattern, bool MatchCase, bool WholeWord);
    // The chunk to search, read in place until the next call (folded into a copy when case does not
    // matter). It starts a character, and its lines lie whole in it but maybe for the first.
    void SetChunk(std::string_view Chunk);
    // The offset of the first match at or after From, npos when none is left.
    std::size_t Next(std::size_t From) const;
    std::size_t Length() const { return FPattern.size(); }

private:
    bool IsMatch(std::size_t At) const;

    std::string FPattern; // as the lines are searched for it
    std::string FKey;     // what is sought in the chunk: FPattern, folded as FFolded is
    bool FMatchCase, FWholeWord;
    std::string_view FChunk;
    std::string FFolded; // the chunk with every byte A-Z lowered, when case does not matter
};

} // namespace quillon
