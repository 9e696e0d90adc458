#pragma once
// Shared helpers of the regular-expression tests.
#include "Cp932.h"
#include "LineRegExp.h"

#include <string>

namespace quillon::test {

// A Shift-JIS fixture written in UTF-8 in the source.
inline std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

// The search object with the linear search alone: the search that restarts the automaton at
// each candidate start hands over to it only on long texts.
class TLinearRegExp : public TLineRegExp {
public:
    TLinearRegExp() { LinearOnly = true; }
};

} // namespace quillon::test
