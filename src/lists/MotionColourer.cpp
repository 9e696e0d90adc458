#include "MotionColourer.h"

#include "motions.h"

namespace quillon {

using namespace orvscan;

namespace {

constexpr TFontStyles kBold = StyleBit(fsBold);

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kMotionColors[] = {
    {"MotionNum", mtMotionNum},
    {"ToNum", mtToNum},
    {"Sp", mtSp},
    {"Pic", mtPic, clAqua},
    {"De", mtDe},
    {"Ci", mtCi},
    {"V", mtV, clFuchsia, clNone, kBold},
    {"VNone", mtVNone},
    {"Vx", mtVx},
    {"Rx", mtRx},
    {"Vy", mtVy},
    {"Ry", mtRy},
    {"C", mtC, clLime},
    {"COn", mtCOn, clFuchsia, clNone, kBold},
    {"CL", mtCL},
    {"G", mtG},
    {"Da", mtDa},
    {"Hit", mtHit, clYellow},
    {"H", mtH},
    {"Flag", mtFlag},
    {"FlagOn", mtFlagOn, clFuchsia, clNone, kBold},
    {"Def1", mtDef1},
    {"Def2", mtDef2},
    {"Att1", mtAtt1},
    {"AnyItem", mtAnyItem},
    {"Error", mtError, clYellow, clRed},
    {"Comment", mtComment, clGreen},
};

bool IsBlendByte(unsigned char c) { return c == '*' || c == '+' || c == '-' || c == 'A' || c == 'a'; }

// Counts the words from p to the end of the row, stopping at Limit. Words are runs of non-blank
// bytes; the gaps are runs of blanks other than LF and CR.
int CountWords(const char* p, int Limit) {
    int count = 0;
    for (;;) {
        SkipWhile(p, [](unsigned char c) { return !IsRowEnd(c) && !IsNonBlank(c); });
        if (IsRowEnd(Byte(p)) || count == Limit) return count;
        ++count;
        SkipWhile(p, IsNonBlank);
    }
}

// An optional sign or digit, then digits: the mirror and alpha parts of a picture.
void SkipOptionalNumber(const char*& p) {
    if (IsSignOrDigit(Byte(p))) ++p;
    SkipDigits(p);
}

// The "," parts after a picture number: mirror, blend, alpha, extra; each is looked for only when
// the one before it was introduced by a ",".
void SkipPictureParts(const char*& p) {
    if (*p != ',') return;
    ++p;
    SkipOptionalNumber(p);
    if (*p != ',') return;
    ++p;
    if (IsBlendByte(Byte(p))) ++p;
    if (*p != ',') return;
    ++p;
    SkipOptionalNumber(p);
    if (*p != ',') return;
    ++p;
    if (*p == '-' || IsHexDigit(Byte(p))) ++p;
    SkipWhile(p, IsHexDigit);
}

bool Fail(const char*& p) {
    ScanToRowEnd(p);
    return false;
}

// "9" or "+9" not followed by a digit: the V value that means no move.
bool IsVNone(const char* p) {
    if (*p == '+') ++p;
    return *p == '9' && !IsDigit(Byte(p + 1));
}

// Whether the V list goes on at P, right after a "/": only with a digit, or a sign and a digit, as
// the reader of motions.cpp reads it. Anything else starts the Vx field there, so an empty item or
// a lone sign is never shown inside the list.
bool VValueFollows(const char* p) { return IsDigit(Byte(p)) || (IsSign(Byte(p)) && IsDigit(Byte(p + 1))); }

// The whole "/"-separated V list; the first item starts with a sign or a digit, every later one as
// VValueFollows says, so a list that ends in "/" is refused.
bool ScanVList(const char*& p) {
    const char* q = p;
    if (!ScanSignedNumber(q)) return false;
    while (*q == '/') {
        ++q;
        if (!VValueFollows(q)) return false;
        ScanSignedNumber(q);
    }
    p = q;
    return true;
}

// One piece of the Flag field: a run of "0", or one other byte.
int ScanFlagPiece(const char*& p) {
    if (*p != '0') {
        ++p;
        return mtFlagOn;
    }
    SkipWhile(p, [](unsigned char c) { return c == '0'; });
    return mtFlag;
}

// Field 0: a data line starts with its number, unless it has exactly four or five words (the colour
// line of a new list); anything else is an item of its own.
int ScanNum(const char*& p, int& field) {
    if (IsDigit(Byte(p))) {
        int words = CountWords(p, 6);
        if (words != 4 && words != 5) {
            SkipDigits(p);
            field = mfsTo;
            return mtMotionNum;
        }
    }
    return TokenToRowEnd(p, p, mtAnyItem);
}

// One V value (full scan); the next field is the "/" after it, or Vx.
bool ScanVValue(const char*& p, int& field, int& kind) {
    if (IsVNone(p)) {
        p += *p == '+' ? 2 : 1;
        kind = mtVNone;
    } else if (ScanSignedNumber(p)) {
        kind = mtV;
    } else {
        return false;
    }
    field = *p == '/' ? mfsVSep : mfsVx;
    return true;
}

int ScanVSeparator(const char*& p, int& field) {
    ++p;
    field = VValueFollows(p) ? mfsV : mfsVx;
    return mtVNone;
}

// A field made of one run; Scan answers whether the field starts as it must.
template <class Scan> bool ScanRun(const char*& p, Scan scan, int& field, int& kind, int runKind) {
    if (!scan(p)) return false;
    kind = runKind;
    ++field;
    return true;
}

bool ScanDe(const char*& p) {
    const char* q = p;
    if (*q == 'C' || *q == 'E' || *q == 'T') ++q;
    if (!ScanSignedNumber(q)) return false;
    p = q;
    return true;
}

bool ScanCi(const char*& p) {
    const char* q = p;
    if (*q == '<' || *q == '>') ++q;
    if (!ScanSignedNumber(q)) return false;
    p = q;
    return true;
}

bool ScanAlnumRun(const char*& p) {
    if (!IsAsciiAlnum(Byte(p))) return false;
    SkipWhile(p, IsAsciiAlnum);
    return true;
}

// Answers false when the field does not start as it must.
bool ScanDataField(const char*& p, int& field, int mode, int& kind) {
    const bool full = mode != pmSimple;
    switch (field) {
    case mfsNum: kind = ScanNum(p, field); return true;
    case mfsTo: return ScanRun(p, ScanSignedNumber, field, kind, mtToNum);
    case mfsSp: return ScanRun(p, ScanSignedNumber, field, kind, mtSp);
    case mfsPic: return ScanRun(p, ScanPicField, field, kind, mtPic);
    case mfsDe: return ScanRun(p, ScanDe, field, kind, mtDe);
    case mfsCi: return ScanRun(p, ScanCi, field, kind, mtCi);
    case mfsV:
        if (full) return ScanVValue(p, field, kind);
        if (!ScanVList(p)) return false;
        kind = mtV;
        field = mfsVx;
        return true;
    case mfsVSep:
        if (*p != '/') return false;
        kind = ScanVSeparator(p, field);
        return true;
    case mfsVx: return ScanRun(p, ScanDecimal, field, kind, mtVx);
    case mfsRx: return ScanRun(p, ScanDigitRun, field, kind, mtRx);
    case mfsVy: return ScanRun(p, ScanDecimal, field, kind, mtVy);
    case mfsRy: return ScanRun(p, ScanDigitRun, field, kind, mtRy);
    case mfsC: {
        const char* start = p;
        if (!ScanRun(p, ScanSignedNumber, field, kind, mtC)) return false;
        if (full && !(p - start == 1 && *start == '9')) kind = mtCOn;
        return true;
    }
    case mfsCL: return ScanRun(p, ScanSignedNumber, field, kind, mtCL);
    case mfsG: return ScanRun(p, ScanAlnumRun, field, kind, mtG);
    case mfsDa: return ScanRun(p, ScanDecimal, field, kind, mtDa);
    case mfsHit: return ScanRun(p, ScanSignedNumber, field, kind, mtHit);
    case mfsH: return ScanRun(p, ScanDigitRun, field, kind, mtH);
    case mfsFlag:
        if (!full) return ScanRun(p, ScanNonBlankRun, field, kind, mtFlag);
        kind = ScanFlagPiece(p);
        if (FieldEnds(p)) field = mfsDef1;
        return true;
    case mfsDef1: return ScanRun(p, ScanNonBlankRun, field, kind, mtDef1);
    case mfsDef2: return ScanRun(p, ScanNonBlankRun, field, kind, mtDef2);
    case mfsAtt1: return ScanRun(p, ScanNonBlankRun, field, kind, mtAtt1);
    default:
        kind = TokenToRowEnd(p, p, mtComment);
        field = mfsNum;
        return true;
    }
}

// Whether the reader of motions.cpp ends field Field before the non-blank byte C: a V list wherever
// this scan ends it, De also before the mark of Ci, any other field only before a sign.
bool ReaderEndsAt(int field, unsigned char c) {
    if (field == mfsV || field == mfsVSep) return true;
    return IsSign(c) || (field == mfsDe && (c == '<' || c == '>'));
}

// A field the scan took from Start to End is shown as a field only when the reader of motions.cpp
// reads the same bytes as that field: so the colours show how format, renumber and the preview read
// the line. The reader goes on over a byte that this scan stops at ("1A" is one H field there) and
// checks the ranges of Num, To, Ci and Hit ("-1" is no Hit). The picture grammar here is narrower
// than the reader's, so a Pic it takes always parses and is not read twice.
bool ReaderTakes(const char* start, const char* end, int field) {
    if (!FieldEnds(end) && !ReaderEndsAt(field, Byte(end))) return false;
    const int readerField = field <= mfsV ? field : field - 1;
    return field == mfsPic ||
           MotionFieldPasses(readerField, std::string_view(start, static_cast<std::size_t>(end - start)));
}

} // namespace

bool ScanPicField(const char*& p) {
    for (;;) {
        if (!ScanSignedNumber(p)) return Fail(p);
        if (*p == '.') {
            ++p;
            if (!ScanDigitRun(p)) return Fail(p);
        } else if (IsBlendByte(Byte(p))) {
            ++p;
        }
        SkipPictureParts(p);
        if (*p != '/') break;
        ++p;
        if (*p == ' ') return true;
    }
    while (*p == ':') {
        ++p;
        if (IsSign(Byte(p))) ++p;
        SkipDigits(p);
    }
    return FieldEnds(p) || Fail(p);
}

int ScanMotionField(const char*& Run, int& FieldIndex, int ParseMode) {
    const char* start = Run;
    const int field = FieldIndex;
    int kind = mtError;
    if (ScanDataField(Run, FieldIndex, ParseMode, kind) && (FieldIndex == field || ReaderTakes(start, Run, field)))
        return kind;
    FieldIndex = field;
    return TokenToRowEnd(Run, start, mtError);
}

const TListColourerTraits MotionColourerTraits{
    .ClassName = "TMotionColourer",
    .Colors = kMotionColors,
    .FirstKind = mtMotionNum,
    .LastKind = mtAtt1,
    .Scan = [](const char*& Run, int& FieldIndex, int&, int Mode) { return ScanMotionField(Run, FieldIndex, Mode); },
    .AnyItemKind = mtAnyItem,
    .ErrorKind = mtError};

} // namespace quillon
