#pragma once
// Upper- and lower-case forms of Shift-JIS text, as the system's multi-byte case mapping gives them:
// the ASCII letters, and among the double-byte characters the full-width Latin, Greek and Cyrillic
// letters. Every other character is copied unchanged, and a byte is always taken together with
// its lead byte, so a trail byte in 0x41..0x5A or 0x61..0x7A is never mistaken for a letter.
#include <string>
#include <string_view>

namespace quillon {

std::string AnsiUpperCase(std::string_view S);
std::string AnsiLowerCase(std::string_view S);

// Only the single-byte letters change ("a".."z" and "A".."Z"); double-byte characters, lead and
// trail byte, are copied as they are. Meant for file names, which the system compares this way.
std::string UpperCaseFileName(std::string_view S);
std::string LowerCaseFileName(std::string_view S);

// A single-byte character lowered: "A".."Z" become "a".."z", every other byte stays.
inline unsigned char AsciiLower(unsigned char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<unsigned char>(C - 'A' + 'a') : C;
}

} // namespace quillon
