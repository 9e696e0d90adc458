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

const TListColourerTraits ZCommandColourerTraits{
    .ClassName = "TZCommandColourer",
    .Colors = kZCommandColors,
    .FirstKind = ctCmdNum,
    .LastKind = ctCmdDk,
    .Scan = [](const char*& Run, int& FieldIndex, int& CancelCounter,
               int Mode) { return ScanCommandField(Run, FieldIndex, CancelCounter, Mode, VantorCommandSyntax); },
    .LineStartValue = kCancelCounterStart};

} // namespace quillon
