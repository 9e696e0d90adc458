#pragma once
// Motion and command lines for tests, built from the fields a test cares about.
#include <string>

namespace quillon::testlines {

struct TMotionFields {
    std::string Num = "0", To = "0", Pic = "10", De = "0", Ci = "0", Rx = "0", Ry = "0", CL = "0", G = "U", Hit = "-",
                Flag = "000000000000", Def1 = "000000000000", Comment = "";
};

// A motion data line of 22 fields; the comment field is there even when empty (a blank).
inline std::string Motion(const TMotionFields& F) {
    std::string line = "   " + F.Num + " " + F.To + " 3 " + F.Pic + " " + F.De + " " + F.Ci + " 9 0 " + F.Rx + " 0 " +
                       F.Ry + " 9 " + F.CL + " " + F.G + " 0 " + F.Hit + " 0 " + F.Flag + " " + F.Def1 +
                       " 000000000000 000000000000";
    return line + " " + F.Comment;
}

// Stored lists hold V lists whose last "/" no value follows: the V field ends after that "/" and
// the next field starts right behind it, so "1//2" is V "1/" and Vx "/2", and "1/- 74" is V "1/",
// Vx "-" and Rx "74". Reading either list as one field would move every later field one on: the
// first line would lose its comment and stop being a data line, the second would read Hit 31 (the
// H column) instead of 90.
inline const std::string kEmptyVItemLine =
    "   2   -  4  -  E-1  >3 1//2 0 0 0 0 9 0 0 0 - 0 ABC0 000000000000 000000000000 000000000000";
inline const std::string kLoneSignVItemLine =
    "4880 3479 31 +146, 0 >-3 1/- 74 -90 0 0 9 0 0 90 31 -2 0 ABC0 000000000000 000000000000 000000000000";

} // namespace quillon::testlines
