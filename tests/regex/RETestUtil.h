#pragma once
// Shared helpers of the regular-expression tests.
#include "Cp932.h"

#include <string>

namespace quillon::test {

// A Shift-JIS fixture written in UTF-8 in the source.
inline std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

} // namespace quillon::test
