#pragma once
// The Vantor voice-list colourer: the sound number, the wave file name, the Dp number and the comment.
#include "VoiceColourer.h"

namespace quillon {

class TZVoiceColourer : public TOrvColourer {
public:
    QUILLON_CLASS_INFO
    explicit TZVoiceColourer(TComponent* Owner);
    std::unique_ptr<TColourerParser> CreateParser() override;
};

class TZVoiceColourerParser : public TOrvColourerParser {
public:
    explicit TZVoiceColourerParser(TColourer* Colourer);

protected:
    void ScanField() override;
};

} // namespace quillon
