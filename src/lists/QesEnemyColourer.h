#pragma once
// The Quessa enemy-source colourer: the "FORMAT=" line with its expression template, ":" section
// labels, enemy-list-like data lines and the "\e" end line.
#include "StdEnemyColourer.h"

namespace quillon {

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of a Quessa source line, moves
// Run past it, moves FieldIndex on to the field that the next token is expected to be, and answers
// the kind (those of the enemy list).
int ScanQesEnemyField(const char*& Run, int& FieldIndex, TBracketDepths& Depths);

extern const TListColourerTraits QesEnemyColourerTraits;
using TQesEnemyColourer = TListColourer<QesEnemyColourerTraits>;

} // namespace quillon
