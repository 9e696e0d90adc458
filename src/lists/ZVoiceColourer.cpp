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

const TClassInfo& TZVoiceColourer::StaticClassInfo() {
    static const TClassInfo info{"TZVoiceColourer", &TOrvColourer::StaticClassInfo(), ColorProps(kZVoiceColors)};
    return info;
}

TZVoiceColourer::TZVoiceColourer(TComponent* Owner) : TOrvColourer(Owner, kZVoiceColors) {}

std::unique_ptr<TColourerParser> TZVoiceColourer::CreateParser() {
    return std::make_unique<TZVoiceColourerParser>(this);
}

TZVoiceColourerParser::TZVoiceColourerParser(TColourer* Colourer)
    : TOrvColourerParser(Colourer, vtVoiceNum, vtVoiceDp, ltAnyItem, ltError) {}

void TZVoiceColourerParser::ScanField() { FTokenKind = ScanVoiceField(FRunPtr, FFieldIndex, true); }

} // namespace quillon
