#include "QesEnemyColourer.h"

namespace quillon {

using namespace orvscan;

namespace {

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kQesEnemyColors[] = {
    {"AnyItem", ltAnyItem},
    {"QesDistance", etDistance},
    {"QesPercent", etPercent},
    {"QesCommand", etCommand, clLime},
    {"QesCommandSymbol", etCommandSymbol},
    {"QesEnemy", etEnemy, clRed},
    {"QesMySelf", etMySelf, clYellow},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

// "FORMAT=" with the letters in either case; p moves past it on a match.
bool ScanFormatKeyword(const char*& p) {
    constexpr char kKeyword[] = "FORMAT=";
    const char* q = p;
    for (const char* k = kKeyword; *k; ++k, ++q) {
        char c = IsAsciiLetter(Byte(q)) ? static_cast<char>(*q & ~0x20) : *q;
        if (c != *k) return false;
    }
    p = q;
    return true;
}

// Field 0 of a line, by its first byte.
int ScanLineHead(const char*& p, int& field) {
    const char* start = p;
    switch (*p) {
    case 'F':
    case 'f':
        if (!ScanFormatKeyword(p)) break;
        if (!IsRowEnd(Byte(p))) field = efsTemplate;
        return ltAnyItem;
    case ':':
        ++p;
        if (IsAsciiAlnum(Byte(p))) ++p;
        if (!IsRowEnd(Byte(p))) field = efsComment;
        return ltAnyItem;
    case '\\': return TokenToRowEnd(p, start, p[1] == 'E' || p[1] == 'e' ? ltAnyItem : ltError);
    default:
        if (!ScanLedRun(p, IsDigit)) break;
        field = efsPercent;
        return etDistance;
    }
    return TokenToRowEnd(p, start, ltAnyItem);
}

} // namespace

int ScanQesEnemyField(const char*& Run, int& FieldIndex, TBracketDepths& Depths) {
    switch (FieldIndex) {
    case efsDistance: return ScanLineHead(Run, FieldIndex);
    case efsPercent:
    case efsExpression: return ScanStdEnemyField(Run, FieldIndex, Depths);
    case efsTemplate: return ScanEnemyExpression(Run, FieldIndex, Depths);
    default: FieldIndex = efsDistance; return TokenToRowEnd(Run, Run, ltComment);
    }
}

const TListColourerTraits QesEnemyColourerTraits{.ClassName = "TQesEnemyColourer",
                                                 .Colors = kQesEnemyColors,
                                                 .FirstKind = etDistance,
                                                 .LastKind = etMySelf,
                                                 .Scan = ScanWithDepths<ScanQesEnemyField>};

} // namespace quillon
