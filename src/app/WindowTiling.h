#pragma once
// Where the window menu's arranging puts the edit windows.
//
// Side by side, n windows share the work area in n columns of equal width (the first window at the
// left); stacked, in n rows of equal height. A column narrower than the windows' minimum width
// would make them overlap and push the last ones off the screen, so then only as many columns as
// the minimum width allows are made, and the windows are stacked in them, one column filled from the
// top before the next; stacked arranging makes as many rows as fit and fills them from the left.
// When even those cells are smaller than the minimum in the other direction, the windows cascade
// from the work area's top left corner, as far down and right as their minimum size lets them.
// Every rectangle lies inside the work area, unless the minimum size is larger than the area itself.
#include "Rect.h"

#include <vector>

namespace quillon {

// The outer rectangles (frames included) of Count windows in Area, in the order of the windows.
// MinWidth and MinHeight are the smallest outer size a window can take.
std::vector<TRect> TileRects(const TRect& Area, int Count, int MinWidth, int MinHeight, bool SideBySide);

} // namespace quillon
