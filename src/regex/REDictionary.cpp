#include "REDictionary.h"

#include <algorithm>

namespace quillon {
namespace {

std::vector<TREChar> Decode(std::string_view item) {
    std::vector<TREChar> chars;
    int index = 1;
    while (const TREChar c = GetChar(item, index)) chars.push_back(c);
    return chars;
}

std::string MakeAlternation(const TREDictionary::TSet& set) {
    std::string text = "(";
    for (size_t k = 0; k < set.size(); ++k) {
        if (k > 0) text += '|';
        text += QuoteMetaChars(set[k]);
    }
    return text + ")";
}

} // namespace

TREDictionary::TREDictionary(std::vector<TSet> Sets) : FSets(std::move(Sets)), FFirst(RE_MaxChar + 2, 0) {
    for (size_t s = 0; s < FSets.size(); ++s) {
        FAlternations.push_back(MakeAlternation(FSets[s]));
        for (const std::string& item : FSets[s]) {
            std::vector<TREChar> chars = Decode(item);
            if (!chars.empty()) FCandidates.push_back({std::move(chars), s});
        }
    }
    std::stable_sort(FCandidates.begin(), FCandidates.end(),
                     [](const TCandidate& a, const TCandidate& b) { return a.Chars[0] < b.Chars[0]; });
    for (const TCandidate& c : FCandidates) ++FFirst[c.Chars[0] + 1];
    for (size_t c = 1; c < FFirst.size(); ++c) FFirst[c] += FFirst[c - 1];
}

bool TREDictionary::Find(std::span<const TREChar> Chars, size_t MultiLimit, THit& Hit) const {
    if (Chars.empty()) return false;
    const TREChar first = Chars[0];
    for (std::uint32_t k = FFirst[first]; k < FFirst[first + 1]; ++k) {
        const std::vector<TREChar>& item = FCandidates[k].Chars;
        if (item.size() > Chars.size() || (item.size() > 1 && item.size() > MultiLimit)) continue;
        if (std::equal(item.begin(), item.end(), Chars.begin())) {
            Hit = {FCandidates[k].Set, item.size()};
            return true;
        }
    }
    return false;
}

} // namespace quillon
