#pragma once
// The motion-list colourer: the 21 fields of a motion line and its comment, field by field.
#include "OrvColourer.h"

namespace quillon {

// Token kinds of the motion parser, each named after the colour property that paints it.
enum TMotionTokenKind : int {
    mtMotionNum = 50,
    mtToNum,
    mtSp,
    mtPic,
    mtDe,
    mtCi,
    mtV,     // a V value (full), the whole V list (simple)
    mtVNone, // V: the value 9 or +9, and each "/" (full)
    mtVx,
    mtRx,
    mtVy,
    mtRy,
    mtC,   // C: the value 9 (full), any value (simple)
    mtCOn, // C: any other value (full)
    mtCL,
    mtG,
    mtDa,
    mtHit,
    mtH,
    mtFlag,   // a run of "0" (full), the whole field (simple)
    mtFlagOn, // one byte other than "0" (full)
    mtDef1,
    mtDef2,
    mtAtt1,
    mtAnyItem, // a line that is not a motion data line, whole
    mtError,   // from the field that does not fit to the end of the row
    mtComment = 7,
};

// Motion field numbers as the parser counts them: 7 is the "/" after a V value, 22 the comment.
enum : int {
    mfsNum = 0,
    mfsTo,
    mfsSp,
    mfsPic,
    mfsDe,
    mfsCi,
    mfsV,
    mfsVSep,
    mfsVx,
    mfsRx,
    mfsVy,
    mfsRy,
    mfsC,
    mfsCL,
    mfsG,
    mfsDa,
    mfsHit,
    mfsH,
    mfsFlag,
    mfsDef1,
    mfsDef2,
    mfsAtt1,
    mfsComment
};

// Scans the token at Run (a byte of 33 or more) as field FieldIndex of a motion line, moves Run past
// it, moves FieldIndex on to the field that the next token is expected to be, and answers the kind.
// A field is shown only where the line model (motions.h) reads the same bytes as that field and takes
// its value; otherwise it is an error from its start.
int ScanMotionField(const char*& Run, int& FieldIndex, int ParseMode);

// The picture grammar of the Pic field. On success Run is past the field; on failure it is at the
// end of the row.
bool ScanPicField(const char*& Run);

extern const TListColourerTraits MotionColourerTraits;
using TMotionColourer = TListColourer<MotionColourerTraits>;

} // namespace quillon
