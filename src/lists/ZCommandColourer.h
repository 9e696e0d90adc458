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

class TZCommandColourer : public TOrvColourer {
public:
    QUILLON_CLASS_INFO
    explicit TZCommandColourer(TComponent* Owner);
    std::unique_ptr<TColourerParser> CreateParser() override;
};

class TZCommandColourerParser : public TCommandColourerParser {
public:
    explicit TZCommandColourerParser(TColourer* Colourer);
};

} // namespace quillon
