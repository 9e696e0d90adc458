#pragma once
// The lines of the motion and command lists, and renumbering the frames of a motion list. Three
// concerns share this unit, each in a section of its own below:
// - motion lines: one frame of a character's animation cut into its 22 fields, the picture field
//   and the hit boxes it holds (TMotionLineObj, ParseMotionLine, ParsePictureField, DecodeBox);
// - command lines: the 7 fields of a classic command line or the 9 of a Vantor one
//   (ParseCommandLine, ParseZCommandLine);
// - renumbering: new numbers for a range of frames, with the To and Hit fields that follow them
//   (RenumberMotionLines).
//
// Motion-line fields are separated by blanks, and some also end where a sign or mark begins, so two
// fields may touch. Each field keeps the blanks in front of it: the 22 texts joined give back the line
// exactly. A line that does not split into exactly 22 fields is not a data line and is left alone;
// nothing here raises.
#include "ListLines.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

constexpr int kMotionFieldCount = 22;

// Field indexes in the order of the title line.
enum TMotionField {
    mfNum,
    mfTo,
    mfSp,
    mfPic,
    mfDe,
    mfCi,
    mfV,
    mfVx,
    mfRx,
    mfVy,
    mfRy,
    mfC,
    mfCL,
    mfG,
    mfDa,
    mfHit,
    mfH,
    mfFlag,
    mfDef1,
    mfDef2,
    mfAtt1,
    mfComment
};

// One picture of a frame.
struct TPicItemInfo {
    std::int32_t Number = 0;    // negative: drawn upside down
    std::int32_t Mirror = 0;    // 1 or 0
    std::int32_t BlendMode = 0; // 0 normal, 2 alpha, 3 "+", 4 "-", 5 "*"
    std::int32_t Alpha = 0;     // 0..254, with BlendMode 2
    std::int32_t Extra = 0;     // 0 or more; -1 given but negative or not a number

    void Clear() { *this = TPicItemInfo(); }
    void Assign(const TPicItemInfo& Source) { *this = Source; }
    bool Equals(const TPicItemInfo& Other) const { return *this == Other; }
    bool operator==(const TPicItemInfo&) const = default;
};

// The Pic field: items separated by "/", then up to three numbers after ":".
struct TGroupPictures {
    std::int32_t None = 0; // 1 when the field names no picture
    std::int32_t Param1 = -2, Param2 = -1, Param3 = -1;
    std::vector<TPicItemInfo> Items;

    void Clear() { *this = TGroupPictures(); }
    void ClearItems() { Items.clear(); }
    void Assign(const TGroupPictures& Source) { *this = Source; }
    bool Equals(const TGroupPictures& Other) const { return *this == Other; }
    bool operator==(const TGroupPictures&) const = default;
};

// A hit box in game coordinates: x from the screen centre, y upwards from the bottom row.
struct TMotionBox {
    std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    bool operator==(const TMotionBox&) const = default;
};

class TMotionLineObj {
public:
    bool Valid = false;
    std::int32_t Num = 0;
    std::int32_t ToNum = 0;  // -2 when "-" or not a number
    std::int32_t CiMode = 0; // 1 "<", -1 ">", else 0
    std::int32_t CiValue = 0;
    std::int32_t Hit = 0; // -1 when "-" or not a number
    TMotionBox Def1, Def2, Att1;
    std::array<std::string, kMotionFieldCount> Items;
    TGroupPictures Pictures;

    void Clear() { *this = TMotionLineObj(); }
    void Assign(const TMotionLineObj& Source) { *this = Source; }
    bool Equals(const TMotionLineObj& Other) const { return *this == Other; }
    bool IsEmpty() const { return *this == TMotionLineObj(); }
    bool operator==(const TMotionLineObj&) const = default;
};

// A line of a motion list with its parsed form.
struct TMotionLineRec {
    std::string Line;
    TMotionLineObj Obj;
};
using TMotionLineList = std::vector<TMotionLineRec>;

// Cuts Line into its fields from the left, stopping before the first field that fails.
void SplitMotionLine(std::string_view Line, std::vector<std::string>& Fields);
// Whether the split takes Token (with blanks around it) as field Field: Num, To, Ci and Hit must be
// integers in their ranges, Pic a picture field, V no double-byte character; any other field takes
// any text. The colourer asks this too, so that it never shows as a field what the split refuses.
bool MotionFieldPasses(int Field, std::string_view Token);
// Fills Obj when Line is a data line (22 fields); otherwise Obj stays cleared and the result is false.
bool ParseMotionLine(std::string_view Line, TMotionLineObj& Obj);
// Every line of Source with its parsed object (also lines that are not data lines).
TMotionLineList ParseMotionLines(const std::vector<std::string>& Source);

bool ParsePictureField(std::string_view Text, TGroupPictures& Group);
// -1 empty number part, 0 no picture, 1 a picture.
int ParsePicItem(std::string_view Text, TPicItemInfo& Item);
int ParsePicNumber(std::string_view Text, std::int32_t& Number, std::int32_t& BlendMode, std::int32_t& Alpha);

// Pieces of Text cut at every Delimiter; a delimiter at the very end adds no empty last piece.
int SplitByChar(std::vector<std::string>& List, std::string_view Text, char Delimiter);

// The 12-character box code: sign, two digits of X1, three of Y1, sign, two of X2, three of Y2.
void DecodeBox(std::string_view Code, TMotionBox& Box);
int BoxDigitValue(char Ch);
// Three characters for X1 or X2; false (and Code empty) when no code can hold Value.
bool EncodeBoxCoord(std::int32_t Value, std::string& Code);
// Three characters for Y1 or Y2; false (and Code empty) when no code can hold Value.
bool EncodeBoxSize(std::int32_t Value, std::string& Code);

// ---- Command lines ----
//
// A command-list line is CmdNum, Command, Cancel, Std, AmnNum, Vx and a comment (the Vantor form has
// Sh, Sp and Dk in place of Vx). Fields are separated by blanks only; the comment is the rest of
// the line and exists only when something, a blank will do, follows the field before it.

constexpr int kCommandFieldCount = 7;
constexpr int kZCommandFieldCount = 9;

enum TCommandField { cfCmdNum, cfCommand, cfCancel, cfStd, cfAmnNum, cfVx, cfComment };
enum TZCommandField { zcfCmdNum, zcfCommand, zcfCancel, zcfStd, zcfAmnNum, zcfSh, zcfSp, zcfDk, zcfComment };

template <int N> struct TCommandRecord {
    bool Valid = false;
    std::array<std::string, N> Fields; // trimmed of blanks at both ends
};
using TCommandData = TCommandRecord<kCommandFieldCount>;
using TZCommandData = TCommandRecord<kZCommandFieldCount>;

// A line of a command list with its parsed record.
template <int N> struct TCommandLineRec {
    std::string Line;
    TCommandRecord<N> Data;
};
using TCommandLineList = std::vector<TCommandLineRec<kCommandFieldCount>>;
using TZCommandLineList = std::vector<TCommandLineRec<kZCommandFieldCount>>;

// Fields := the fields of Line from the left, 7 (9) at most; none when it does not start with a digit.
void SplitCommandLine(std::string_view Line, std::vector<std::string>& Fields);
void SplitZCommandLine(std::string_view Line, std::vector<std::string>& Fields);
// Rec := the fields when Line has exactly 7 (9), else a cleared record; true for a command line.
bool ParseCommandLine(std::string_view Line, TCommandData& Rec);
bool ParseZCommandLine(std::string_view Line, TZCommandData& Rec);
// Every line of Source with its record (also lines that are not command lines).
TCommandLineList ParseCommandLines(const std::vector<std::string>& Source);
TZCommandLineList ParseZCommandLines(const std::vector<std::string>& Source);

// ---- Renumbering ----
//
// The frames of a range get new numbers, serially from a start or shifted by an offset, and the To
// and Hit fields that point at an old number may be rewritten to the new one. Each To and each Hit
// is rewritten at most once, so a reference already moved to a number that a later frame of the
// range still has is not moved again. Only the rewritten fields change; every other field keeps
// its exact text.

enum TRenumberJump { rjNone = 0, rjAll = 1, rjInRange = 2 };

struct TRenumberRequest {
    std::string StartNum;    // the start number as typed; in offset mode the first frame's new number
    int JumpMode = rjNone;   // TRenumberJump: which To and Hit fields follow their frames
    bool Duplicates = false; // frames of the same number in the range keep sharing one number
    bool OffsetMode = false; // shift every number by the first frame's change instead of counting
};

// Fills Request for a range whose first frame is numbered FirstNum; false when the user cancels.
using TRenumberAsk = std::function<bool(std::int32_t FirstNum, TRenumberRequest& Request)>;

// The first index from First to Last whose line is a data line; -1 when there is none.
int FindNextMotionLine(const TMotionLineList& List, int First, int Last);
int FindNextMotionLine(const TLineSource& Source, int First, int Last);

// Renumbers the frames of lines First to Last of Source, asking for the details; when it does,
// every line of Source, renumbered or as it was, goes to Sink in order and the result is true. A
// start that is not a number, or a request that would give a frame a number below 0 or above the
// 32-bit range, is refused with a warning and gives no line. Reads Source twice and keeps only the
// numbers of each line, never its text or fields.
bool RenumberMotionLines(const TLineSource& Source, int First, int Last, const TRenumberAsk& Ask,
                         const TLineSink& Sink);
// The same on a parsed list, whose changed lines are parsed again; true when List changed.
bool RenumberMotionLines(TMotionLineList& List, int First, int Last, const TRenumberAsk& Ask);

} // namespace quillon
