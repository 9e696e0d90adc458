#include "ZVoiceColourer.h"

namespace quillon {

namespace {

// Published in this order, which is also the stream order.
constexpr TKindColorInfo kZVoiceColors[] = {
    {"AnyItem", ltAnyItem},
    {"VoiceNum", vtVoiceNum},
    {"VoiceWave", vtVoiceWave, clAqua},
    {"VoiceDp", vtVoiceDp},
    {"Error", ltError, clYellow, clRed},
    {"Comment", ltComment, clGreen},
};

} // namespace

const TListColourerTraits ZVoiceColourerTraits{
    .ClassName = "TZVoiceColourer",
    .Colors = kZVoiceColors,
    .FirstKind = vtVoiceNum,
    .LastKind = vtVoiceDp,
    .Scan = [](const char*& Run, int& FieldIndex, int&, int) { return ScanVoiceField(Run, FieldIndex, true); }};

} // namespace quillon
