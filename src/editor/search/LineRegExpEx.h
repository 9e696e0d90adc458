#pragma once
// TLineRegExpEx: the finder of the extended editor, a line regular expression that finds every match
// of a line step by step, each step reading only what it needs.
#include "LineRegExp.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// One match of the find string in a logical line.
struct TFindMatch {
    int Position = 0; // 1-based byte position in the logical line
    int Length = 0;   // bytes, > 0
    bool operator==(const TFindMatch&) const = default;
};
using TFindMatchList = std::vector<TFindMatch>;

// The regular-expression search object that finds every match of a line.
class TLineRegExpEx : public TLineRegExp {
public:
    // Chooses the routine of the first search with the pattern: anchored when the pattern has "^" or
    // "$", else plain. Raises ERegExpParser for a bad pattern (the empty pattern is then in use).
    void SetRegExp(const std::string& Value) override;

    // Appends every non-empty, non-overlapping leftmost-longest match of Str to List and answers the
    // list's count. After the first search "^" matches only after an LF; an empty match moves the
    // search on by one character, so the search always ends.
    virtual int FindAll(std::string_view Str, TFindMatchList& List) const;
    // One step of FindAll: the match [Start, End) (maybe empty) found from the byte offset From of
    // Str, and From moved on to where the next step searches; false when no match is left. The step
    // searches a part of Str from From that doubles until the search reads less than the part (so
    // nothing past it changes the answer; ReadEnd then tells how far from From it read) or the part
    // is the whole: a step costs what it reads, not the rest of a long line.
    // Before: only a match that starts before this offset of Str is sought (see MatchPlain); the
    // step then reads past it only as far as the walks from before it do.
    bool FindFrom(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                  std::size_t Before = std::string_view::npos) const;
    // The most bytes that a match can span, -1 when the pattern leaves it unbounded.
    int MaxMatchBytes() const { return DFA().MaxMatchBytes(); }
    // How far past the start of a match a step of the search may read: from each place where a match
    // might start, at most the longest match and the character that ends the walk; -1 when a line
    // head or tail, or an unbounded match, makes it read the whole line.
    int SearchReach() const;

private:
    // FindFrom's search of the whole of Str.
    bool FindIn(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                std::size_t Before) const;

    TMatchProc FFirstProc = &TMatchCORE::MatchPlain;
};

} // namespace quillon
