#include "WindowTiling.h"

#include <algorithm>

namespace quillon {
namespace {

constexpr int kCascadeStep = 24; // the offset between cascaded windows, about a title bar

// Cell K of a grid of Across x Down equal cells over Area; cells are taken down each column first
// (ByColumns) or across each row first. Edges are cut to whole pixels from the real cell size, so
// that the cells meet without gaps.
TRect GridCell(const TRect& Area, int Across, int Down, int K, bool ByColumns) {
    const int column = ByColumns ? K / Down : K % Across;
    const int row = ByColumns ? K % Down : K / Across;
    const double width = Area.Width() / static_cast<double>(Across);
    const double height = Area.Height() / static_cast<double>(Down);
    const int left = Area.Left + static_cast<int>(column * width);
    const int top = Area.Top + static_cast<int>(row * height);
    return {left, top, left + static_cast<int>(width), top + static_cast<int>(height)};
}

// Windows of at least Min along the lanes' width, at most Count lanes in Extent, with the windows
// spread evenly: the number of lanes, and the windows in each.
std::pair<int, int> Lanes(int Extent, int Count, int Min) {
    const int fit = std::clamp(Min > 0 ? Extent / Min : Count, 1, Count);
    const int perLane = (Count + fit - 1) / fit;
    return {(Count + perLane - 1) / perLane, perLane};
}

std::vector<TRect> Cascade(const TRect& Area, int Count, int MinWidth, int MinHeight) {
    const int room = std::min(Area.Width() - MinWidth, Area.Height() - MinHeight);
    const int places = std::clamp(room / kCascadeStep + 1, 1, Count);
    const int shift = (places - 1) * kCascadeStep;
    std::vector<TRect> rects;
    for (int k = 0; k < Count; ++k) {
        const int offset = (k % places) * kCascadeStep;
        const int left = Area.Left + offset, top = Area.Top + offset;
        rects.push_back({left, top, left + std::max(Area.Width() - shift, MinWidth),
                         top + std::max(Area.Height() - shift, MinHeight)});
    }
    return rects;
}

} // namespace

std::vector<TRect> TileRects(const TRect& Area, int Count, int MinWidth, int MinHeight, bool SideBySide) {
    if (Count <= 0) return {};
    const auto [lanes, perLane] =
        SideBySide ? Lanes(Area.Width(), Count, MinWidth) : Lanes(Area.Height(), Count, MinHeight);
    const int across = SideBySide ? lanes : perLane;
    const int down = SideBySide ? perLane : lanes;
    if (Area.Width() / across < MinWidth || Area.Height() / down < MinHeight)
        return Cascade(Area, Count, MinWidth, MinHeight);
    std::vector<TRect> rects;
    for (int k = 0; k < Count; ++k) rects.push_back(GridCell(Area, across, down, k, SideBySide));
    return rects;
}

} // namespace quillon
