#pragma once
// The list commands of the edit window over its editor: renumbering the selected motion lines,
// formatting a list into columns, the environment settings, the convert command and the case and
// width conversions of the selection; and which of them a list of a given kind and state offers.
//
// Invariants every command keeps:
//   - a command changes the text by one replacement, so it is exactly one undo step;
//   - a read-only editor is never changed (the commands return false and leave the selection);
//   - a command whose result equals the text it would replace changes nothing at all, so an
//     already formatted list is not marked as modified and gets no empty undo step.
//
// Dialogs are reached through TListCommandDialogs, so tests answer them without a modal loop;
// message boxes go through Messages().
#include "Formatter.h"
#include "MakerOptions.h"
#include "motions.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

class TEditor;
struct TMakerJob;

// The program-wide options the commands read and the environment dialog edits (none owned).
struct TListOptions {
    TMotionFormatterOptions& MotionOptions;
    TCommandFormatterOptions& CommandOptions;
    TZCommandFormatterOptions& ZCommandOptions;
    TMakerOptions& MakerOptions;
};

// What the commands need of the dialogs.
class TListCommandDialogs {
public:
    virtual ~TListCommandDialogs() = default;
    // The renumber dialog with FirstNum as its start number; Request filled after OK, false on Cancel.
    virtual bool AskRenumber(std::int32_t FirstNum, TRenumberRequest& Request) = 0;
    // The environment dialog filled from Options and opened on page Page; after OK every value is
    // read back into Options, after Cancel nothing changes. True after OK.
    virtual bool EditEnvironment(const TListOptions& Options, int Page) = 0;
    // The maker's modal progress dialog: 1 the files were made, 2 cancelled, 3 failed (shown).
    virtual int RunMaker(const TMakerJob& Job) = 0;
};

// The state of an edit window that decides which list commands it offers.
struct TListCommandState {
    int Kind = 0;          // TListKind of the list
    bool Named = false;    // the list has a file name
    bool Selected = false; // a selection of at least one byte exists
    bool ReadOnly = false; // the editor is read-only
    bool Empty = true;     // the text is empty
};
TListCommandState ListCommandState(const TEditor& Editor, int Kind, bool Named);

struct TListCommandEnabling {
    bool ReNum = false;      // ActionReNum
    bool Format = false;     // ActionFormat
    bool SetEnv = true;      // ActionSetEnv
    bool Go = false;         // ActionGo
    bool StrConvert = false; // the six conversions and the "文字種変換(&C)" submenus
    bool operator==(const TListCommandEnabling&) const = default;
};
// Renumber: a motion list with a selection; format: a motion, command or Vantor command list with
// text; convert: a named bitmap list or Quessa source; conversions: a selection. Every command
// that edits is off while the editor is read-only.
TListCommandEnabling ListCommandEnabling(const TListCommandState& State);

// Gives the lines of a new text to Sink one by one, in order; false when it gives none.
using TWriteLines = std::function<bool(const TLineSink& Sink)>;

// The whole text replaced by the lines Write gives (each followed by a line break, the last one
// only when the text ended with one) as one undoable edit; the selection's start and length are
// set back to what they were. The lines are taken as they come, so only the new text is held
// besides the editor's. False when the editor is read-only, Write gives nothing or the text would
// not change.
bool ReplaceWholeText(TEditor& Editor, const TWriteLines& Write);

// The first and last logical line of the selection; the last line is left out when the selection
// ends before its first character. False without a selection.
bool SelectedLines(const TEditor& Editor, int& First, int& Last);

// Renumbers the motion lines of the selection through the renumber dialog. A selection without a
// motion line shows "リナンバできる行が選択されていません". True when the text changed.
bool ReNumSelection(TEditor& Editor, TListCommandDialogs& Dialogs);

// Formats a motion, command or Vantor command list with its options; other kinds do nothing.
bool FormatList(TEditor& Editor, int Kind, const TListOptions& Options);

// The environment dialog's page for a list kind: motion 0, command 1, Vantor command 2, bitmap 3,
// any other kind 0.
int EnvironmentPage(int Kind);
bool SetEnvironment(int Kind, const TListOptions& Options, TListCommandDialogs& Dialogs);

// The convert command: a bitmap list makes the character, a Quessa source the enemy list; other
// kinds do nothing. Both need the list's file name: without one the command says so.
bool ConvertList(TEditor& Editor, int Kind, const std::filesystem::path& FileName, const TListOptions& Options,
                 TListCommandDialogs& Dialogs);

enum TStrConvert { scToUpper, scToUpperFile, scToLower, scToLowerFile, scToHankaku, scToZenkaku };
std::string ConvertString(TStrConvert Conversion, std::string_view S);
// Replaces the selected text by its conversion (a box selection stays a box). False when nothing
// is selected, the editor is read-only or the text would not change.
bool ConvertSelection(TEditor& Editor, TStrConvert Conversion);

} // namespace quillon
