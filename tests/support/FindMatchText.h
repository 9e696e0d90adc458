#pragma once
// Find matches as short text, for the search tests.
#include "Cp932.h"
#include "LineRegExpEx.h"

#include <string>

namespace quillon::test {

inline std::string Sj(const char* Utf8) { return Utf8ToCp932(Utf8); }

// The matches as "position:length" items.
inline std::string MatchText(const TFindMatchList& Matches) {
    std::string s;
    for (const TFindMatch& m : Matches)
        s += (s.empty() ? "" : " ") + std::to_string(m.Position) + ":" + std::to_string(m.Length);
    return s;
}

} // namespace quillon::test
