#include "BmpColourer.h"

namespace quillon {

using namespace orvscan;

namespace {

// Published in this order, which is also the stream order; "Delimtter" is the stored name.
constexpr TKindColorInfo kBmpColors[] = {
    {"AnyItem", ltAnyItem},
    {"BmpNum", btBmpNum},
    {"BmpOffsetDelimtter", btBmpOffsetDelimtter, clYellow},
    {"BmpOffset", btBmpOffset, clRed},
    {"BmpFileName", btBmpFileName, clAqua},
    {"Error", ltError, clYellow, clRed},
};

// A ":" before an offset: the byte after it says what comes next (Offset, or with AllowEmpty another
// ":" for an empty offset, or the file name after a blank).
bool ScanColon(const char*& p, int& field, int offset, bool allowEmpty) {
    if (*p != ':') return false;
    unsigned char next = Byte(p + 1);
    if (IsMinusOrDigit(next))
        field = offset;
    else if (!IsNonBlank(next))
        field = bfsFileName;
    else if (allowEmpty && next == ':')
        field = bfsColon2;
    else
        return false;
    ++p;
    return true;
}

// An offset, followed by a blank (the file name comes next) or by the ":" of the next offset.
bool ScanOffset(const char*& p, int& field) {
    if (!ScanMinusNumber(p)) return false;
    if (!IsNonBlank(Byte(p)))
        field = bfsFileName;
    else if (*p == ':' && field == bfsOffset1)
        field = bfsColon2;
    else if (*p == ':' && field == bfsOffset2)
        field = bfsColon3;
    else
        return false;
    return true;
}

bool ScanBmpData(const char*& p, int& field, int& kind) {
    switch (field) {
    case bfsColon1: kind = btBmpOffsetDelimtter; return ScanColon(p, field, bfsOffset1, true);
    case bfsColon2: kind = btBmpOffsetDelimtter; return ScanColon(p, field, bfsOffset2, false);
    case bfsColon3: kind = btBmpOffsetDelimtter; return ScanColon(p, field, bfsOffset3, false);
    case bfsOffset1:
    case bfsOffset2:
    case bfsOffset3: kind = btBmpOffset; return ScanOffset(p, field);
    default:
        kind = TokenToRowEnd(p, p, btBmpFileName);
        field = bfsNum;
        return true;
    }
}

} // namespace

int ScanBmpField(const char*& Run, int& FieldIndex) {
    const char* start = Run;
    if (FieldIndex == bfsNum) {
        if (!ScanDigitRun(Run)) return TokenToRowEnd(Run, start, ltAnyItem);
        if (*Run == ':')
            FieldIndex = bfsColon1;
        else if (FieldEnds(Run))
            FieldIndex = bfsFileName;
        else
            return TokenToRowEnd(Run, start, ltError);
        return btBmpNum;
    }
    int kind = ltError;
    if (ScanBmpData(Run, FieldIndex, kind)) return kind;
    return TokenToRowEnd(Run, start, ltError);
}

const TListColourerTraits BmpColourerTraits{
    .ClassName = "TBmpColourer",
    .Colors = kBmpColors,
    .FirstKind = btBmpNum,
    .LastKind = btBmpFileName,
    .Scan = [](const char*& Run, int& FieldIndex, int&, int) { return ScanBmpField(Run, FieldIndex); }};

} // namespace quillon
