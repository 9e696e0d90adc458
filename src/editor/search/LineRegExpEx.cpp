#include "LineRegExpEx.h"

#include "EditorUtils.h"
#include "REScanner.h"

#include <algorithm>

namespace quillon {

void TLineRegExpEx::SetRegExp(const std::string& Value) {
    FFirstProc = &TMatchCORE::MatchPlain;
    TLineRegExp::SetRegExp(Value);
    if (HasLineHead() || HasLineTail()) FFirstProc = &TMatchCORE::MatchAnchored;
}

int TLineRegExpEx::FindAll(std::string_view Str, TFindMatchList& List) const {
    std::size_t from = 0, start = 0, end = 0;
    while (FindFrom(Str, from, start, end))
        if (end > start) List.push_back({static_cast<int>(start + 1), static_cast<int>(end - start)});
    return static_cast<int>(List.size());
}

int TLineRegExpEx::SearchReach() const {
    if (HasLineHead() || HasLineTail()) return -1;
    const int longest = MaxMatchBytes();
    return longest < 0 ? -1 : longest + 2;
}

bool TLineRegExpEx::FindFrom(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                             std::size_t Before) const {
    for (std::size_t part = 256;; part *= 2) {
        // The part ends where a character starts, so that its end reads as the end of a text.
        std::size_t cut = std::min(Str.size(), From + part);
        if (cut < Str.size())
            cut = static_cast<std::size_t>(CharStartOf(Str, static_cast<int>(cut), static_cast<int>(From)));
        std::size_t next = From;
        const bool found = FindIn(Str.substr(0, cut), next, Start, End, Before);
        if (cut == Str.size() || From + ReadEnd() < cut) {
            From = next;
            return found;
        }
    }
}

bool TLineRegExpEx::FindIn(std::string_view Str, std::size_t& From, std::size_t& Start, std::size_t& End,
                           std::size_t Before) const {
    if (From >= Str.size()) return false;
    const std::string_view rest = Str.substr(From);
    const TMatchProc proc = From == 0 ? FFirstProc : &TMatchCORE::MatchScan;
    if (!(this->*proc)(rest, Start, End, Before - std::min(Before, From))) return false;
    Start += From;
    End += From;
    // No match starts between From and an empty match: the next search starts a character after it.
    From = End > Start ? End : Start < Str.size() ? Start + CharLength(Str, Start) : Str.size();
    return true;
}
} // namespace quillon
