#pragma once
// The enemy-list colourer: distance, percentage, the command expression and the comment. In the
// expression, condition codes, command characters, placeholders and brackets get their own kinds;
// brackets pair within the row only, and an unpaired one is an error on its own.
#include "OrvColourer.h"

namespace quillon {

// Token kinds of the enemy parsers, named after the enemy list's colour properties (the Quessa
// source's colourer uses the same numbers).
enum TEnemyTokenKind : int {
    etDistance = 50,
    etPercent,
    etCommand,       // a run of command characters, or a "%" placeholder
    etCommandSymbol, // a paired bracket, or a run of "#" and "@"
    etEnemy,         // E or e, three digits, an optional "#"
    etMySelf,        // C or c, three digits, an optional "#"
};

// Enemy field numbers as the parser counts them; the Quessa source scans its template after
// "FORMAT=" as field efsTemplate.
enum : int { efsDistance = 0, efsPercent, efsExpression, efsComment, efsTemplate };

// The brackets of the row that a closing bracket has not taken yet.
struct TBracketDepths {
    int Paren = 0;
    int Square = 0;
};

// The depths packed into the parse value that the row store carries over a wrap, and back.
int PackDepths(const TBracketDepths& Depths);
TBracketDepths UnpackDepths(int Value);

// One token of a command expression at Run; when the expression is over after it, FieldIndex
// becomes efsComment.
int ScanEnemyExpression(const char*& Run, int& FieldIndex, TBracketDepths& Depths);

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of an enemy-list line, moves Run
// past it, moves FieldIndex on to the field that the next token is expected to be, and answers the
// kind.
int ScanStdEnemyField(const char*& Run, int& FieldIndex, TBracketDepths& Depths);

// An enemy scan as a list field scan. Bracket pairing starts afresh with every logical line; the
// depths are packed into the line value, which the row store carries over a wrap.
template <int (*Scan)(const char*& Run, int& FieldIndex, TBracketDepths& Depths)>
int ScanWithDepths(const char*& Run, int& FieldIndex, int& LineValue, int /*Mode*/) {
    TBracketDepths depths = UnpackDepths(LineValue);
    const int kind = Scan(Run, FieldIndex, depths);
    LineValue = PackDepths(depths);
    return kind;
}

extern const TListColourerTraits StdEnemyColourerTraits;
using TStdEnemyColourer = TListColourer<StdEnemyColourerTraits>;

} // namespace quillon
