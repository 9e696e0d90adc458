#pragma once
// Hint files: plain Shift-JIS text that explains the fields of a list kind (the program looks for
// them in its own folder, the user's data folder and the installation's data folder).
//
// An entry starts with a head line ":KEY=Title" (the key is at least one character, up to the first
// "=") and its body runs over the following lines up to an end line, one that begins with "\e" or
// "\E", or to the end of the file. Lines outside entries are notes. Keys compare in upper case
// (ASCII letters only; double-byte characters compare as they are) and the first entry of a key wins.
#include <filesystem>
#include <string>
#include <string_view>

namespace quillon {

enum THintResult { hrFound, hrNotFound, hrFileMissing, hrUnreadable };

// Finds Key's entry in the hint text. Title := the head line's text after its first "=", Body := the
// body lines, each followed by CR LF; both empty unless found.
THintResult FindItemHint(std::string_view Text, std::string_view Key, std::string& Title, std::string& Body);

// Finds Key's entry in the hint file FileName, whose name may differ in the case of its letters.
THintResult ReadItemHint(const std::filesystem::path& FileName, std::string_view Key, std::string& Title,
                         std::string& Body);

// As ReadItemHint; a missing or unreadable file is reported in a message box that names it.
// True when the entry was found.
bool LookupItemHint(const std::filesystem::path& FileName, std::string_view Key, std::string& Title, std::string& Body);

} // namespace quillon
