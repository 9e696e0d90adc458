#pragma once
// List kinds: what a list is, worked out from its first line or its file name, and the templates
// that fill a new list of each kind.
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

struct TListKindInfo {
    std::string_view Mask;          // file-name mask; empty for plain text
    std::string_view ValueName;     // settings value of the kind's editor properties and colours
    std::string_view ColourerClass; // empty for plain text
    std::string_view Title;         // the kind as the user knows it (the new-list menu's words)
};
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
