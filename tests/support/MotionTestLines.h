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

} // namespace quillon::testlines
