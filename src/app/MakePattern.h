#pragma once
// The convert command of a bitmap list: after a confirmation the list, as the editor holds it, is
// parsed and the character bitmap and pattern file are made in the list's folder by the maker's
// progress dialog; the outcome is reported with the time taken.
#include "BitmapList.h"
#include "MakerOptions.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon {

class TListCommandDialogs;

// What the maker's progress dialog is given.
struct TMakerJob {
    std::filesystem::path OutputFolder; // the list's folder
    std::string Suffix;                 // "" or "1".."7"
    TBitmapListEntries Entries;
    bool UseDecColorDepth = false;
    int DecColorDepthMethod = 0;
    int CreateMode = 0;
};

// "1".."7" for a list named BMPn.LST or ZBMPn.LST (ASCII letters in any case), else "".
std::string BitmapListSuffix(const std::filesystem::path& ListFile);

// Makes the character from Lines, the text of the list named FileName; true when both files were
// made. An unnamed list, a declined confirmation, a list that does not parse (its message shown),
// a cancelled or failed run give false.
bool MakePatternFromBitmapList(const std::vector<std::string>& Lines, const std::filesystem::path& FileName,
                               const TMakerOptions& Options, TListCommandDialogs& Dialogs);

} // namespace quillon
