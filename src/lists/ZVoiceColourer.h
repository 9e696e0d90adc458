#pragma once
// The Vantor voice-list colourer: the sound number, the wave file name, the Dp number and the comment.
#include "VoiceColourer.h"

namespace quillon {

extern const TListColourerTraits ZVoiceColourerTraits;
using TZVoiceColourer = TListColourer<ZVoiceColourerTraits>;

} // namespace quillon
