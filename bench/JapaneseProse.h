// Real Japanese prose for the benchmarks: the Japanese Debian reference (package
// debian-reference-ja, installed by scripts/setup), the lines that convert to CP932 without loss.
#pragma once

#include <string>
#include <vector>

namespace quillon {

// The prose's lines in order, in CP932 without their line ends; read once. Empty when the package
// is not installed.
const std::vector<std::string>& JapaneseProseLines();

// The name of the file the prose comes from, for messages.
extern const char* const JapaneseProseFile;

} // namespace quillon
