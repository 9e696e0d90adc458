#include "WindowTiling.h"

#include <algorithm>

namespace quillon {
namespace {

constexpr int kCascadeStep = 24; // the offset between cascaded windows, about a title bar

// Everything below works side by side: lanes are columns and a lane's length is its height.
// Stacked arranging turns the area and the minimums by a quarter first and the result back.
TRect Turned(const TRect& r) { return {r.Top, r.Left, r.Bottom, r.Right}; }

// The number of windows in each lane: runs of at most Limit consecutive windows whose minimum
// heights add up to at most Length, with lanes as wide as their widest window's minimum adding up
// to as little as can be; none when that is more than Width. Among cuts as narrow, the earlier runs
// are the longer ones. A cut of the windows from window i on is found from those from i + 1 on
// (dynamic programming over the windows from the last), in Count x Limit steps.
std::vector<int> Runs(const std::vector<TMinimumSize>& Minimums, int Width, int Length, int Limit) {
    const size_t count = Minimums.size();
    constexpr long long kNone = -1;
    std::vector<long long> narrowest(count + 1, kNone); // of the windows from i on; kNone: no cut fits
    std::vector<size_t> runEnd(count + 1, count);       // where the first run of that cut ends
    narrowest[count] = 0;
    for (size_t i = count; i-- > 0;) {
        int height = 0, width = 0;
        for (size_t end = i + 1; end <= count && end - i <= static_cast<size_t>(Limit); ++end) {
            height += Minimums[end - 1].Height;
            width = std::max(width, Minimums[end - 1].Width);
            if (height > Length) break;
            if (narrowest[end] == kNone) continue;
            const long long total = width + narrowest[end];
            if (narrowest[i] == kNone || total <= narrowest[i]) narrowest[i] = total, runEnd[i] = end;
        }
    }
    if (narrowest[0] == kNone || narrowest[0] > Width) return {};
    std::vector<int> runs;
    for (size_t i = 0; i < count; i = runEnd[i]) runs.push_back(static_cast<int>(runEnd[i] - i));
    return runs;
}

// The heights of windows sharing Length, whose Minimums add up to at most Length: even shares,
// except that a window whose minimum is larger than its share takes its minimum and the others
// share the rest. Each round fixes a window or ends, and the shares only shrink, so a window once
// fixed stays above the final share.
std::vector<double> Shares(const std::vector<int>& Minimums, int Length) {
    std::vector<bool> fixed(Minimums.size(), false);
    double rest = Length;
    int open = static_cast<int>(Minimums.size());
    for (bool more = true; more && open > 1;) {
        more = false;
        const double share = rest / open;
        for (size_t i = 0; i < Minimums.size(); ++i)
            if (!fixed[i] && Minimums[i] > share) {
                fixed[i] = true;
                rest -= Minimums[i];
                --open;
                more = true;
            }
    }
    std::vector<double> shares;
    for (size_t i = 0; i < Minimums.size(); ++i) shares.push_back(fixed[i] ? Minimums[i] : rest / open);
    return shares;
}

// The windows in lanes over Area, Runs windows to each lane, lanes and windows in them sharing the
// area as Shares tells; a lane shorter than the longest shares its height as if it held as many
// windows, the missing ones needing no height (so that equal minimums make a grid). Edges are cut
// to whole pixels from the real positions, so that a cell is at least as large as the whole part
// of its real size.
std::vector<TRect> LaneCells(const TRect& Area, const std::vector<TMinimumSize>& Minimums,
                             const std::vector<int>& Runs) {
    const int longest = *std::max_element(Runs.begin(), Runs.end());
    std::vector<std::vector<int>> heights;
    std::vector<int> widths;
    for (size_t next = 0; const int run : Runs) {
        heights.emplace_back(static_cast<size_t>(longest), 0);
        widths.push_back(0);
        for (int k = 0; k < run; ++k, ++next) {
            heights.back()[static_cast<size_t>(k)] = Minimums[next].Height;
            widths.back() = std::max(widths.back(), Minimums[next].Width);
        }
    }
    std::vector<TRect> rects;
    double left = 0;
    const std::vector<double> laneWidths = Shares(widths, Area.Width());
    for (size_t lane = 0; lane < Runs.size(); ++lane) {
        const int x = Area.Left + static_cast<int>(left);
        const std::vector<double> shares = Shares(heights[lane], Area.Height());
        double top = 0;
        for (int k = 0; k < Runs[lane]; ++k) {
            const double height = shares[static_cast<size_t>(k)];
            const int y = Area.Top + static_cast<int>(top);
            rects.push_back({x, y, x + static_cast<int>(laneWidths[lane]), y + static_cast<int>(height)});
            top += height;
        }
        left += laneWidths[lane];
    }
    return rects;
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

std::vector<TRect> SideBySideRects(const TRect& Area, const std::vector<TMinimumSize>& Minimums) {
    const int count = static_cast<int>(Minimums.size());
    for (int limit = 1; limit <= count; ++limit) {
        const std::vector<int> runs = Runs(Minimums, Area.Width(), Area.Height(), limit);
        if (!runs.empty()) return LaneCells(Area, Minimums, runs);
    }
    TMinimumSize largest;
    for (const TMinimumSize& minimum : Minimums)
        largest = {std::max(largest.Width, minimum.Width), std::max(largest.Height, minimum.Height)};
    return Cascade(Area, count, largest.Width, largest.Height);
}

} // namespace

std::vector<TRect> TileRects(const TRect& Area, const std::vector<TMinimumSize>& Minimums, bool SideBySide) {
    if (Minimums.empty()) return {};
    if (SideBySide) return SideBySideRects(Area, Minimums);
    std::vector<TMinimumSize> turned;
    for (const TMinimumSize& minimum : Minimums) turned.push_back({minimum.Height, minimum.Width});
    std::vector<TRect> rects = SideBySideRects(Turned(Area), turned);
    for (TRect& rect : rects) rect = Turned(rect);
    return rects;
}

} // namespace quillon
