#pragma once
// List kinds: what a list is, worked out from its first line or its file name, and the templates
// that fill a new list of each kind.
//
// Each kind is one record (TListKindInfo) in ListKinds.cpp: every per-kind table of the program
// (detection, colourers, settings values, templates, hint files and keywords, the settings window's
// samples and colour items, the new-list actions, the file dialog's filter) is read from it, and
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

// What a list of a kind offers beyond colouring, hints and item search (bits of
// TListKindInfo::Commands). The edit window enables its commands by these bits alone.
enum TKindCommand : unsigned {
    kcFormat = 1,       // formatting into columns (the kind's formatter in FormatList)
    kcRenumber = 2,     // renumbering the selected motion lines
    kcFramePreview = 4, // the frame preview with its hit boxes
    kcConditions = 8,   // inserting and editing enemy condition codes
    kcConvert = 16,     // the convert command, which writes files beside the list (ConvertList)
    kcFieldTokens = 32, // token queries (double click, hints, jumps) read one token per field
};

// The keyword under which the kind's hint file explains the field of a token kind.
struct THintKeyword {
    int TokenKind;
    std::string_view Keyword;
};

// One colour item of the settings window: its label (UTF-8) and the colour property it edits, a
// colour of the kind's colourer (for plain text one of the editor's own colours: Ank, DBCS, Symbol).
struct TColorItemLabel {
    const char* Label;
    const char* Prop;
};

struct TListKindInfo {
    std::string_view Mask{};          // file-name mask; empty for plain text
    std::string_view FirstLineMark{}; // the first three characters of a trimmed first line that mark
                                      // the kind; empty for a kind known by its name only
    std::string_view ValueName{};     // settings value of the kind's editor properties and colours
    std::string_view ColourerClass{}; // empty for plain text
    std::string_view Title{};         // the kind as the user knows it (the new-list menu's words)
    std::string_view HintFile{};      // the kind's item hint file (looked up in the hint folders); empty for none
    // A new colourer of the kind with every colour at clNone; null for plain text.
    std::unique_ptr<TOrvColourer> (*CreateColourer)() = nullptr;
    // Fills the lines of a new list of the kind (the caller hands an empty list); null for plain text.
    void (*NewList)(std::vector<std::string>& Lines) = nullptr;
    // Valid lines of the kind (UTF-8) that show every colour item of the kind in its own colour: the
    // settings window's samples.
    std::vector<const char*> SampleLines{};
    // The settings window's colour items of the kind, in the order it lists them.
    std::vector<TColorItemLabel> ColorItems{};
    // The hint file's keywords, by token kind; a token kind without one offers no hint.
    std::vector<THintKeyword> HintKeywords{};
    // Token kinds without a keyword for which the item hint command is offered all the same; it
    // then ends silently.
    std::vector<int> HintKindsWithoutKeyword{};
    // The fields the item search looks in, by token kind in the order of its dialog's choices (a
    // choice is stored by its index); only the motion list has them.
    std::vector<int> ItemSearchFields{};
    // The edit window's action that opens a new list of the kind: its object name, its menu key (the
    // caption is "Title(&Key)") and what its hint says it makes ("Title|新しい<What>を作成します").
    std::string_view NewActionName{};
    char NewActionKey{};
    std::string_view NewActionWhat{};
    // The kind's entry in the open and save dialogs' filter (UTF-8): its name and file pattern; both
    // empty for a kind whose files another kind's entry offers.
    std::string_view FilterName{};
    std::string_view FilterPattern{};
    // The list commands the kind offers (TKindCommand bits).
    unsigned Commands = 0;
    // The environment dialog's page that its command opens on for the kind.
    int EnvPage = 0;
    // The convert command's hint for the kind (UTF-8, "short|long"); empty without kcConvert.
    std::string_view ConvertHint{};
};
// The record of kind 0..kListKindCount-1.
const TListKindInfo& ListKindInfo(int kind);
// Whether a list of Kind (any number; out of range offers nothing) offers Command.
bool KindOffers(int Kind, TKindCommand Command);

// The kind code (0..kListKindCount-1) of a list: Lines[0] decides first, then the name part of FileName (empty for
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
