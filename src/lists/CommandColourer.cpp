#include "CommandColourer.h"

namespace quillon {

using namespace orvscan;

const TCommandSyntax ClassicCommandSyntax{"0123456789DKLPRUdklnpru", 6};

namespace {

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kCommandColors[] = {
    {"AnyItem", ltAnyItem},
    {"CmdNum", ctCmdNum},
    {"CmdCommand", ctCmdCommand, clRed},
    {"CmdCommandSymbol", ctCmdCommandSymbol, clYellow},
    {"CmdCancel", ctCmdCancel},
    {"CmdCancelSep", ctCmdCancelSep, clNone, clBlack},
    {"CmdCancelFlagOn", ctCmdCancelFlagOn, clAqua},
    {"CmdCancelFlagOnSep", ctCmdCancelFlagOnSep, clAqua, clBlack},
    {"CmdStd", ctCmdStd},
    {"CmdAmnNum", ctCmdAmnNum},
    {"CmdVx", ctCmdVx},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

constexpr std::string_view kCommandSymbols = "!+-?N[]_~";

bool IsIn(std::string_view set, unsigned char c) { return set.find(static_cast<char>(c)) != set.npos; }

// The 6th, 16th, 26th ... character of the Cancel field.
bool IsMarked(int counter) { return counter < 0 && counter % 10 == -1; }

// One run of the Command field; the field goes on when the next byte is not a blank.
bool ScanCommandRun(const char*& p, int& field, int& counter, const TCommandSyntax& syntax, int& kind) {
    std::string_view set;
    if (IsIn(syntax.CommandChars, Byte(p))) {
        set = syntax.CommandChars;
        kind = ctCmdCommand;
    } else if (IsIn(kCommandSymbols, Byte(p))) {
        set = kCommandSymbols;
        kind = ctCmdCommandSymbol;
    } else {
        return false;
    }
    SkipWhile(p, [set](unsigned char c) { return IsIn(set, c); });
    if (FieldEnds(p)) {
        field = cfsCancel;
        counter = kCancelCounterStart;
    }
    return true;
}

// One piece of the Cancel field (full scan): a "1", a marked position, or a run of other characters
// that stops before every "1" and every marked position.
bool ScanCancelPiece(const char*& p, int& field, int& counter, int& kind) {
    unsigned char c = Byte(p);
    if (counter == kCancelCounterStart ? !IsMinusOrDigit(c) : !IsNonBlank(c)) return false;
    if (c == '1') {
        kind = IsMarked(counter) ? ctCmdCancelFlagOnSep : ctCmdCancelFlagOn;
        ++p;
        --counter;
    } else if (IsMarked(counter)) {
        kind = ctCmdCancelSep;
        ++p;
        --counter;
    } else {
        kind = ctCmdCancel;
        do {
            ++p;
            --counter;
        } while (IsNonBlank(Byte(p)) && *p != '1' && !IsMarked(counter));
    }
    if (FieldEnds(p)) field = cfsStd;
    return true;
}

bool ScanCommandData(const char*& p, int& field, int& counter, int mode, const TCommandSyntax& syntax, int& kind) {
    switch (field) {
    case cfsCommand: return ScanCommandRun(p, field, counter, syntax, kind);
    case cfsCancel:
        if (mode != pmSimple) return ScanCancelPiece(p, field, counter, kind);
        if (!ScanLedRun(p, IsMinusOrDigit)) return false;
        kind = ctCmdCancel;
        field = cfsStd;
        return true;
    default:
        if (field >= syntax.CommentField) {
            kind = TokenToRowEnd(p, p, ltComment);
            field = cfsNum;
            return true;
        }
        // Std, AmnNum and the number fields after them.
        if (!ScanLedRun(p, IsMinusOrDigit)) return false;
        kind = ctCmdStd + field - cfsStd;
        ++field;
        return true;
    }
}

} // namespace

int ScanCommandField(const char*& Run, int& FieldIndex, int& CancelCounter, int ParseMode,
                     const TCommandSyntax& Syntax) {
    if (FieldIndex == cfsNum) {
        if (ScanLedRun(Run, IsDigit)) {
            FieldIndex = cfsCommand;
            return ctCmdNum;
        }
        return TokenToRowEnd(Run, Run, ltAnyItem);
    }
    const char* start = Run;
    int kind = ltError;
    if (ScanCommandData(Run, FieldIndex, CancelCounter, ParseMode, Syntax, kind)) return kind;
    return TokenToRowEnd(Run, start, ltError);
}

const TListColourerTraits CommandColourerTraits{
    .ClassName = "TCommandColourer",
    .Colors = kCommandColors,
    .FirstKind = ctCmdNum,
    .LastKind = ctCmdVx,
    .Scan = [](const char*& Run, int& FieldIndex, int& CancelCounter,
               int Mode) { return ScanCommandField(Run, FieldIndex, CancelCounter, Mode, ClassicCommandSyntax); },
    .LineStartValue = kCancelCounterStart};

} // namespace quillon
