#pragma once
// The Vantor command-list colourer: CmdNum, Command, Cancel, Std, AmnNum, Sh, Sp, Dk and the comment.
// A larger command character set than the classic list; otherwise scanned the same way.
#include "CommandColourer.h"

namespace quillon {

// Token kinds the Vantor list adds to those of the classic one.
enum TZCommandTokenKind : int {
    ctCmdSh = ctCmdVx,
    ctCmdSp,
    ctCmdDk,
};

extern const TCommandSyntax VantorCommandSyntax;

extern const TListColourerTraits ZCommandColourerTraits;
using TZCommandColourer = TListColourer<ZCommandColourerTraits>;

} // namespace quillon
