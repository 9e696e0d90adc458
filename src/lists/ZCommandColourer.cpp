#include "ZCommandColourer.h"

namespace quillon {

const TCommandSyntax VantorCommandSyntax{"0123456789ABCDKLPRSUXYZabcdklnprsuxyz", 8};

namespace {

// Published in this order, which is also the stream order. Only the marked "1" differs from the
// classic list's defaults: no background of its own.
constexpr TKindColorInfo kZCommandColors[] = {
    {"AnyItem", ltAnyItem},
    {"CmdNum", ctCmdNum},
    {"CmdCommand", ctCmdCommand, clRed},
    {"CmdCommandSymbol", ctCmdCommandSymbol, clYellow},
    {"CmdCancel", ctCmdCancel},
    {"CmdCancelSep", ctCmdCancelSep, clNone, clBlack},
    {"CmdCancelFlagOn", ctCmdCancelFlagOn, clAqua},
    {"CmdCancelFlagOnSep", ctCmdCancelFlagOnSep, clAqua},
    {"CmdStd", ctCmdStd},
    {"CmdAmnNum", ctCmdAmnNum},
    {"CmdSh", ctCmdSh},
    {"CmdSp", ctCmdSp},
    {"CmdDk", ctCmdDk},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

} // namespace

const TClassInfo& TZCommandColourer::StaticClassInfo() {
    static const TClassInfo info{"TZCommandColourer", &TOrvColourer::StaticClassInfo(), ColorProps(kZCommandColors)};
    return info;
}

TZCommandColourer::TZCommandColourer(TComponent* Owner) : TOrvColourer(Owner, kZCommandColors) {}

std::unique_ptr<TColourerParser> TZCommandColourer::CreateParser() {
    return std::make_unique<TZCommandColourerParser>(this);
}

TZCommandColourerParser::TZCommandColourerParser(TColourer* Colourer)
    : TCommandColourerParser(Colourer, VantorCommandSyntax, ctCmdDk) {}

} // namespace quillon
