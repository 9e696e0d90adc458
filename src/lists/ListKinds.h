#pragma once
// List kinds: what a list is, worked out from its first line or its file name, and the templates
// that fill a new list of each kind.
//
// Each kind is one record (TListKindInfo) in ListKinds.cpp: every per-kind table of the program
// (colourers, settings values, templates, hint files, the file dialog's filter) is read from it, and
// every loop over the kinds runs to kListKindCount.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum TListKind : int {
    lkText = 0,
    lkMotion = 1,
    lkCommand = 2,
    lkZCommand = 3,
    lkVoice = 4,
    lkZVoice = 5,
    lkEnemy = 6,
    lkQes = 7,
    lkBmp = 8
};
constexpr int kListKindCount = 9;

class TOrvColourer;

struct TListKindInfo {
    std::string_view Mask;          // file-name mask; empty for plain text
    std::string_view ValueName;     // settings value of the kind's editor properties and colours
    std::string_view ColourerClass; // empty for plain text
    std::string_view Title;         // the kind as the user knows it (the new-list menu's words)
    std::string_view HintFile;      // the item hint file beside the program; empty for none
    // A new colourer of the kind with every colour at clNone; null for plain text.
    std::unique_ptr<TOrvColourer> (*CreateColourer)();
    // Fills the lines of a new list of the kind (the caller hands an empty list); null for plain text.
    void (*NewList)(std::vector<std::string>& Lines);
    // Valid lines of the kind (UTF-8) that show every colour item of the kind in its own colour: the
    // settings window's samples.
    std::vector<const char*> SampleLines;
};
// The record of kind 0..kListKindCount-1.
const TListKindInfo& ListKindInfo(int kind);

// The kind code 0..8 of a list: Lines[0] decides first, then the name part of FileName (empty for
// a list never saved).
int DetectFileKind(const std::vector<std::string>& Lines, std::string_view FileName);

// The kind a new window takes: the detected kind, or the caller's hint when detection gave 0 and
// the hint is not -1.
int KindWithHint(int detected, int hint);

void NewMotionList(std::vector<std::string>& Lines);
void NewCommandList(std::vector<std::string>& Lines);
void NewZCommandList(std::vector<std::string>& Lines);
void NewVoiceList(std::vector<std::string>& Lines);
void NewZVoiceList(std::vector<std::string>& Lines);
void NewEnemyList(std::vector<std::string>& Lines);
void NewBitmapList(std::vector<std::string>& Lines);
// Appends (the caller hands an empty list).
void NewQesSource(std::vector<std::string>& Lines);

} // namespace quillon
