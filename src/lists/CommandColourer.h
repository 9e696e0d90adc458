#pragma once
// The command-list colourer: CmdNum, Command, Cancel, Std, AmnNum, Vx and the comment, with every "1"
// of the Cancel field and every tenth Cancel position from the sixth on standing out.
#include "OrvColourer.h"

#include <string_view>

namespace quillon {

// Token kinds of the command parsers, each named after the colour property that paints it.
enum TCommandTokenKind : int {
    ctCmdNum = 50,
    ctCmdCommand,         // a run of command characters
    ctCmdCommandSymbol,   // a run of command symbols
    ctCmdCancel,          // a run of Cancel characters (full), the whole Cancel field (simple)
    ctCmdCancelSep,       // a marked Cancel position holding a character other than "1" (full)
    ctCmdCancelFlagOn,    // a "1" of the Cancel field (full)
    ctCmdCancelFlagOnSep, // a "1" on a marked position (full)
    ctCmdStd,
    ctCmdAmnNum,
    ctCmdVx, // the classic list's Vx, the Vantor list's Sh
};

// Command field numbers as the parser counts them.
enum : int { cfsNum = 0, cfsCommand, cfsCancel, cfsStd, cfsAmnNum };

// CancelCounter at the first character of the Cancel field; it falls by one per character.
constexpr int kCancelCounterStart = 4;

// What tells the two command lists apart.
struct TCommandSyntax {
    std::string_view CommandChars; // the characters that make a command run
    int CommentField;              // the field number of the comment: every field after Cancel up
                                   // to it is a number field
};
extern const TCommandSyntax ClassicCommandSyntax;

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of a command line, moves Run past
// it, moves FieldIndex on to the field that the next token is expected to be, and answers the kind.
// CancelCounter counts the characters of the Cancel field.
int ScanCommandField(const char*& Run, int& FieldIndex, int& CancelCounter, int ParseMode,
                     const TCommandSyntax& Syntax);

// CancelCounter is the line value: a Cancel field cut by a wrap goes on counting in the next row.
extern const TListColourerTraits CommandColourerTraits;
using TCommandColourer = TListColourer<CommandColourerTraits>;

} // namespace quillon
