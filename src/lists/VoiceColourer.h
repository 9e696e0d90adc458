#pragma once
// The voice-list colourer: the sound number, the wave file name and the comment.
#include "OrvColourer.h"

namespace quillon {

// Token kinds of the voice parsers, each named after the colour property that paints it.
enum TVoiceTokenKind : int {
    vtVoiceNum = 50,
    vtVoiceWave,
    vtVoiceDp, // the Vantor list only
};

// Voice field numbers as the parser counts them.
enum : int { vfsNum = 0, vfsWave, vfsDp };

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of a voice line, moves Run past
// it, moves FieldIndex on to the field that the next token is expected to be, and answers the kind.
// The Vantor line has a Dp number between the wave file name and the comment.
int ScanVoiceField(const char*& Run, int& FieldIndex, bool Vantor);

extern const TListColourerTraits VoiceColourerTraits;
using TVoiceColourer = TListColourer<VoiceColourerTraits>;

} // namespace quillon
