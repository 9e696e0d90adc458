#include "StdEnemyColourer.h"

#include <string_view>

namespace quillon {

using namespace orvscan;

namespace {

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kStdEnemyColors[] = {
    {"AnyItem", ltAnyItem},
    {"StdEnemyDistance", etDistance},
    {"StdEnemyPercent", etPercent},
    {"StdEnemyCommand", etCommand, clLime},
    {"StdEnemyCommandSymbol", etCommandSymbol},
    {"StdEnemyEnemy", etEnemy, clRed},
    {"StdEnemyMySelf", etMySelf, clYellow},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

constexpr std::string_view kEnemyCommandChars = "!+0123456789DKLNPRU_knp~";

bool IsCommandChar(unsigned char c) { return kEnemyCommandChars.find(static_cast<char>(c)) != kEnemyCommandChars.npos; }

// A letter, three digits and an optional "#"; without the digits the run is an error.
int ScanCode(const char*& p, int kind) {
    if (IsDigit(Byte(p + 1)) && IsDigit(Byte(p + 2)) && IsDigit(Byte(p + 3))) {
        p += 4;
        if (*p == '#') ++p;
        return kind;
    }
    SkipWhile(p, IsNonBlank);
    return ltError;
}

// An opening bracket is paired when its closing one follows within the run, counting only brackets
// of its own kind.
int ScanOpen(const char*& p, int& depth, char open, char close) {
    ++depth;
    int count = 0;
    for (const char* q = p; IsNonBlank(Byte(q)); ++q) {
        if (*q == open)
            ++count;
        else if (*q == close && --count == 0)
            break;
    }
    ++p;
    return count == 0 ? int{etCommandSymbol} : int{ltError};
}

// A closing bracket with nothing open is an error to the end of the run.
int ScanClose(const char*& p, int& depth) {
    if (depth >= 1) {
        --depth;
        ++p;
        return etCommandSymbol;
    }
    depth = 0;
    SkipWhile(p, IsNonBlank);
    return ltError;
}

int ScanExpressionToken(const char*& p, TBracketDepths& depths) {
    const char* start = p;
    switch (*p) {
    case 'E':
    case 'e': return ScanCode(p, etEnemy);
    case 'C':
    case 'c': return ScanCode(p, etMySelf);
    case '(': return ScanOpen(p, depths.Paren, '(', ')');
    case ')': return ScanClose(p, depths.Paren);
    case '[': return ScanOpen(p, depths.Square, '[', ']');
    case ']': return ScanClose(p, depths.Square);
    case '#':
    case '@': SkipWhile(p, [](unsigned char c) { return c == '#' || c == '@'; }); return etCommandSymbol;
    case '%':
        if (!IsAsciiAlnum(Byte(p + 1))) return TokenToRowEnd(p, start, ltError);
        p += 2;
        return etCommand;
    default:
        if (!IsCommandChar(Byte(p))) return TokenToRowEnd(p, start, ltError);
        SkipWhile(p, IsCommandChar);
        return etCommand;
    }
}

} // namespace

int PackDepths(const TBracketDepths& Depths) { return (Depths.Square << 16) | (Depths.Paren & 0xFFFF); }

TBracketDepths UnpackDepths(int Value) { return {Value & 0xFFFF, (Value >> 16) & 0xFFFF}; }

int ScanEnemyExpression(const char*& Run, int& FieldIndex, TBracketDepths& Depths) {
    int kind = ScanExpressionToken(Run, Depths);
    if (FieldEnds(Run)) FieldIndex = efsComment;
    return kind;
}

int ScanStdEnemyField(const char*& Run, int& FieldIndex, TBracketDepths& Depths) {
    const char* start = Run;
    switch (FieldIndex) {
    case efsDistance:
        if (!ScanLedRun(Run, IsDigit)) return TokenToRowEnd(Run, start, ltAnyItem);
        FieldIndex = efsPercent;
        return etDistance;
    case efsPercent:
        ScanNonBlankRun(Run);
        FieldIndex = efsExpression;
        return etPercent;
    case efsExpression: return ScanEnemyExpression(Run, FieldIndex, Depths);
    default: FieldIndex = efsDistance; return TokenToRowEnd(Run, start, ltComment);
    }
}

const TListColourerTraits StdEnemyColourerTraits{.ClassName = "TStdEnemyColourer",
                                                 .Colors = kStdEnemyColors,
                                                 .FirstKind = etDistance,
                                                 .LastKind = etMySelf,
                                                 .Scan = ScanWithDepths<ScanStdEnemyField>};

} // namespace quillon
