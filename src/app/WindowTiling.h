#pragma once
// Where the window menu's arranging puts the edit windows.
//
// Side by side, the windows stand in lanes: columns side by side over the whole height of the work
// area, each holding a run of consecutive windows stacked from the top, the first window at the top
// left. Stacked arranging is the same turned by a quarter: the lanes are rows, each filled from the
// left. With windows that all fit, n windows make n lanes of one window each.
//
// Every window keeps at least its own minimum size, which may differ from window to window (a
// window showing its frame preview needs more height than the others):
// - a lane holds at most k windows, k as small as lets the windows be cut into runs whose minimum
//   heights add up to at most the area's height, with lanes as wide as their widest window's
//   minimum adding up to at most the area's width (of such cuts, the one whose lanes add up to the
//   least, earlier lanes holding more);
// - lanes share the width, and the windows of a lane its height, evenly, except that one whose
//   minimum is larger than its share gets its minimum and the others share the rest; a lane
//   shorter than the longest shares its height as if it held as many windows.
// With equal minimums this is a grid of equal cells: as many lanes as fit, the windows spread
// evenly over them. Only when no cut into lanes fits at all do the windows cascade from the work
// area's top left corner, each as large as the largest minimum, as far down and right as that lets
// them. Every rectangle lies inside the work area, unless a minimum is larger than the area itself;
// rectangles of lanes never overlap.
#include "Rect.h"

#include <vector>

namespace quillon {

// The smallest outer size (frame included) a window can take.
struct TMinimumSize {
    int Width = 0, Height = 0;
};

// The outer rectangles (frames included) of the windows whose minimum sizes are Minimums, in Area,
// in the order of the windows.
std::vector<TRect> TileRects(const TRect& Area, const std::vector<TMinimumSize>& Minimums, bool SideBySide);

} // namespace quillon
