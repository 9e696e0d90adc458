#pragma once
// A dictionary of variant sets for pattern expansion: each set lists variants of one character
// or character sequence (an item may be several characters, or empty). Lookups go through a
// table indexed by the first character, whose entries keep the dictionary's order (sets in
// order, items in order), so the first matching item of the dictionary is the first that
// matches among the candidates of its first character.
#include "REScanner.h"

#include <span>
#include <string>
#include <vector>

namespace quillon {

class TREDictionary {
public:
    using TSet = std::vector<std::string>; // CP932 items

    explicit TREDictionary(std::vector<TSet> Sets);

    size_t Count() const { return FSets.size(); }
    const TSet& Set(size_t Index) const { return FSets[Index]; }
    // "(" + every item of the set with its metacharacters quoted, joined by "|" + ")".
    const std::string& Alternation(size_t Index) const { return FAlternations[Index]; }

    struct THit {
        size_t Set;
        size_t Length; // characters of the matched item
    };
    // The first item that equals a prefix of Chars; items longer than one character must also
    // fit within MultiLimit characters.
    bool Find(std::span<const TREChar> Chars, size_t MultiLimit, THit& Hit) const;

private:
    struct TCandidate {
        std::vector<TREChar> Chars;
        size_t Set;
    };

    std::vector<TSet> FSets;
    std::vector<std::string> FAlternations;
    std::vector<TCandidate> FCandidates; // ordered by first character, then dictionary order
    std::vector<std::uint32_t> FFirst;   // candidates of code c: FFirst[c] .. FFirst[c + 1]
};

} // namespace quillon
