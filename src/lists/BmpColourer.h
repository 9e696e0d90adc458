#pragma once
// The bitmap-list colourer: the cell number, up to three offsets joined to it by ":", and the picture
// file name, which runs to the end of the row, blanks included (a bitmap list has no comment).
#include "OrvColourer.h"

namespace quillon {

// Token kinds of the bitmap-list parser, each named after the colour property that paints it.
enum TBmpTokenKind : int {
    btBmpNum = 50,
    btBmpOffsetDelimtter, // one ":"
    btBmpOffset,
    btBmpFileName,
};

// Bitmap-list field numbers as the parser counts them: what is expected next.
enum : int { bfsNum = 0, bfsFileName, bfsColon1, bfsColon2, bfsColon3, bfsOffset1, bfsOffset2, bfsOffset3 };

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of a bitmap-list line, moves Run
// past it, moves FieldIndex on to the field that the next token is expected to be, and answers the
// kind.
int ScanBmpField(const char*& Run, int& FieldIndex);

extern const TListColourerTraits BmpColourerTraits;
using TBmpColourer = TListColourer<BmpColourerTraits>;

} // namespace quillon
