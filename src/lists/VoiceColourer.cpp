#include "VoiceColourer.h"

namespace quillon {

using namespace orvscan;

namespace {

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kVoiceColors[] = {
    {"AnyItem", ltAnyItem},
    {"VoiceNum", vtVoiceNum},
    {"VoiceWave", vtVoiceWave, clAqua},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

} // namespace

int ScanVoiceField(const char*& Run, int& FieldIndex, bool Vantor) {
    const char* start = Run;
    if (FieldIndex == vfsNum) {
        if (!ScanMinusNumber(Run)) return TokenToRowEnd(Run, start, ltAnyItem);
        if (!FieldEnds(Run)) return TokenToRowEnd(Run, start, ltError);
        FieldIndex = vfsWave;
        return vtVoiceNum;
    }
    if (FieldIndex == vfsWave) {
        ScanNonBlankRun(Run);
        FieldIndex = vfsDp;
        return vtVoiceWave;
    }
    if (FieldIndex == vfsDp && Vantor) {
        if (!ScanLedRun(Run, IsMinusOrDigit)) return TokenToRowEnd(Run, start, ltError);
        FieldIndex = vfsDp + 1;
        return vtVoiceDp;
    }
    FieldIndex = vfsNum;
    return TokenToRowEnd(Run, start, ltComment);
}

const TListColourerTraits VoiceColourerTraits{
    .ClassName = "TVoiceColourer",
    .Colors = kVoiceColors,
    .FirstKind = vtVoiceNum,
    .LastKind = vtVoiceWave,
    .Scan = [](const char*& Run, int& FieldIndex, int&, int) { return ScanVoiceField(Run, FieldIndex, false); }};

} // namespace quillon
