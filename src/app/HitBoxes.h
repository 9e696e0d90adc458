#pragma once
// Hit-box geometry of the frame preview: the three boxes of a motion line by tab, the mouse
// mapping, the snapping of the Def1 box, the rectangles of the three drag modes, and writing a box
// back into its field of the line.
//
// A box is its upper-left corner (X1, Y1) and lower-right corner (X2, Y2) in game coordinates;
// every rectangle made here keeps X1 <= X2 and Y1 >= Y2. In the line a box is a 12-character code
// (coordinate, size, coordinate, size, three characters each) right-aligned in its field.
#include "motions.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

enum TBoxTab { btDef1, btDef2, btAtt1 };

// 0 moving the upper-left corner, 1 drawing a new box, 2 moving the lower-right corner.
enum THitDragMode { dmTopLeft, dmNewBox, dmBottomRight };

struct TGamePoint {
    int X = 0, Y = 0;
};

TMotionField BoxField(int tab);
TMotionBox& BoxOf(TMotionLineObj& line, int tab);
const TMotionBox& BoxOf(const TMotionLineObj& line, int tab);

// The paint-box point (x, y) at a zoom in game coordinates (division truncating toward zero).
TGamePoint GameFromMouse(int x, int y, int zoom);

// The rectangle at the press, before any clamping of the other corner: box is the line's box.
TMotionBox PressRect(THitDragMode mode, const TMotionBox& box, TGamePoint at, bool snap);
// The rectangle while dragging from the last one (rect) and the anchor (its upper-left corner at
// the press).
TMotionBox DragRect(THitDragMode mode, const TMotionBox& rect, TGamePoint anchor, TGamePoint at, bool snap);

// The 12-character code of the box; nothing when a value has no code.
std::optional<std::string> EncodeBox(const TMotionBox& box);

// The field rewritten with code (12 characters): right-aligned in the width of the old field's blanks and code,
// at least 13 so one blank always leads, followed by whatever the old field held after its first
// 12 characters.
std::string RewriteBoxField(std::string_view oldField, std::string_view code);
// The field rewritten with code from typed corners: right-aligned in the old field's whole width,
// at least 13; nothing of the old field is kept.
std::string TypedBoxField(std::string_view oldField, std::string_view code);
// The line's 22 field texts joined, with field replaced by text.
std::string JoinWithField(const TMotionLineObj& line, TMotionField field, std::string_view text);

// "(x1,y1)-(x2,y2)", each number right-aligned in five places.
std::string BoxLabel(const TMotionBox& box);

// The four edit-box texts (left, top, right, bottom) as a box, or the first fault: its message
// and the index of the edit box that gets the focus. Each text is an integer as StrToIntOrHex
// reads it, blanks around it allowed.
struct TBoxInput {
    std::optional<TMotionBox> Box;
    std::string Code;    // the box's code when Box is set
    std::string Message; // empty when Box is set
    int FocusEdit = -1;
};
TBoxInput ParseBoxInput(const std::array<std::string, 4>& edits);

} // namespace quillon
