#pragma once
// Wildcard file masks: "?" one character, "*" any run of characters, letters without regard to case.
// Works on Shift-JIS characters: a lead byte and its trail byte are one character on both sides.
#include <string>
#include <string_view>

namespace quillon {

// Rewrites every run of "?" and "*" as its question marks followed by one "*" when the run held a
// star; with CutStarDotStar a final "*.*" becomes "*".
std::string NormalizeMask(std::string_view Mask, bool CutStarDotStar);

// True when the whole Name matches the whole Mask (normalised first unless Raw).
bool MatchesMask(std::string_view Name, std::string_view Mask, bool Raw = false);

} // namespace quillon
