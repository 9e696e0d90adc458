#include "CharImages.h"

#include <cstring>

namespace quillon {

namespace {

constexpr int CellSize = 16;
constexpr int StripCells = 32; // cells per strip row
constexpr int StripWidth = StripCells * CellSize;
constexpr int PageCells = 1024; // cells per 512 x 512 page of the strip

// Positions far off the screen are brought nearer so that the rectangle arithmetic of the
// drawing calls cannot overflow; no run is wide or high enough to reach back onto the screen.
int Near(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 28), 1 << 28)); }

} // namespace

bool TBaseCharImage::LoadFromFiles(const std::filesystem::path& bitmapName, const std::filesystem::path& patternName,
                                   const TColorTable* palette) {
    Clear();
    if (!LoadImage(bitmapName, palette)) return false;
    try {
        FPattern.LoadFromFile(patternName);
    } catch (const EFOpenError&) {
        Clear();
        return false;
    } catch (const EReadError&) {
        Clear();
        return false;
    } catch (const EInvalidCharPattern&) {
        Clear();
        return false;
    }
    return true;
}

void TCharSoftRender::Clear() {
    FStrip.Clear();
    TBaseCharImage::Clear();
}

// Copies every cell of the sheet to its place in the strip. Cells cut by the sheet's right or
// bottom edge copy only the pixels that are there; the rest of the strip stays index 0 and is
// keyed with everything else.
bool TCharSoftRender::LoadImage(const std::filesystem::path& name, const TColorTable* palette) {
    Clear();
    TPaletted8Bitmap sheet;
    if (!sheet.LoadFromFile(name)) return false;
    std::int64_t cellsX = (sheet.Width + CellSize - 1) / CellSize;
    std::int64_t cells = (sheet.Height + CellSize - 1) / CellSize * cellsX;
    std::int64_t pages = (cells + PageCells - 1) / PageCells;
    // The strip is refused by the size rule before anything is allocated: a narrow sheet of few
    // pixels can still hold many cells.
    if (!PictureSizeAllowed(StripWidth, pages * StripWidth) ||
        !FStrip.SetSize(StripWidth, static_cast<int>(pages * StripWidth), true))
        return false;
    std::uint8_t* strip = FStrip.GetBits();
    for (std::int64_t k = 0; k < cells; ++k) {
        int sheetX = static_cast<int>(k % cellsX) * CellSize, sheetY = static_cast<int>(k / cellsX) * CellSize;
        int width = std::min(CellSize, sheet.Width - sheetX), height = std::min(CellSize, sheet.Height - sheetY);
        std::uint8_t* cell = strip + (k >> 5) * CellSize * FStrip.Pitch() + (k & 31) * CellSize;
        for (int v = 0; v < height; ++v)
            std::memcpy(cell + static_cast<std::ptrdiff_t>(v) * FStrip.Pitch(), sheet.PictureRow(sheetY + v) + sheetX,
                        static_cast<std::size_t>(width));
    }
    if (palette)
        FStrip.Palette() = *palette;
    else
        sheet.CopyColors(FStrip.Palette());
    KeyTopLeftColour(FStrip.Palette(), strip, FStrip.Width(), FStrip.Height(), FStrip.Pitch());
    return true;
}

// Places each run of the frame: one to one when neither the pattern's scale nor the zoom is 2 or
// more, otherwise scaled down by the pattern's scale about the reference point (160, 240) and
// enlarged by the zoom. Mirroring reflects the run positions about the frame's vertical line
// and flipping about its axis; the drawing flags reflect the pixels within each run.
void TCharSoftRender::DrawFrame(const TRenderTarget& target, int zoom, int x, int y, int frameNumber,
                                const TColorTable* palette, int flags, int mode, int alpha) {
    if (frameNumber < 0) return;
    const TVantorPatternFrame* frame = FPattern.FindFrame(static_cast<std::uint32_t>(frameNumber));
    if (!frame || frame->IsEmpty()) return;
    const std::int64_t s = std::max(FPattern.Scale, 1);
    const bool oneToOne = s < 2 && zoom < 2;
    const bool mirror = flags & dfMirror, flip = flags & dfFlip;
    auto scaleY = [&](std::int64_t v) { return oneToOne ? v : 240 - (240 - v) / s; };
    auto scaleX = [&](std::int64_t v) { return oneToOne ? v : (v - 160) / s + 160; };
    const std::int64_t cellSize = oneToOne ? CellSize : CellSize / s;

    std::int64_t bx = mirror ? x - (std::int64_t{frame->OffsetX} - 160) : x + (std::int64_t{frame->OffsetX} - 160);
    std::int64_t by = std::int64_t{y} + frame->OffsetY;
    if (flip) {
        by += frame->FlipAxis == NoFlipAxis ? scaleY(frame->Bounds.Top) + scaleY(frame->Bounds.Bottom)
                                            : 480 - 2 * scaleY(frame->FlipAxis);
        by -= CellSize;
    }
    for (const TVantorPatternRect& run : frame->Rects) {
        if (run.Count == 0) continue;
        std::int64_t stripTop = std::int64_t{run.Cell >> 5} * CellSize;
        if (stripTop >= FStrip.Height()) continue; // the cell lies beyond the strip
        std::int64_t n = run.Count < 0 ? -std::int64_t{run.Count} : run.Count;
        if (n > MaxRunCells) continue; // only a frame built in memory can hold such a run
        int stripLeft = static_cast<int>(run.Cell & 31) * CellSize;
        TRect source{stripLeft, static_cast<int>(stripTop),
                     stripLeft + CellSize * static_cast<int>(run.Count > 0 ? n : 1),
                     static_cast<int>(stripTop) + CellSize};
        std::int64_t left = mirror ? bx - scaleX(run.X) - n * cellSize : bx + scaleX(run.X);
        std::int64_t top = flip ? by - scaleY(run.Y) : by + scaleY(run.Y);
        std::int64_t pieces = run.Count > 0 ? 1 : n, pieceWidth = run.Count > 0 ? n * cellSize : cellSize;
        for (std::int64_t i = 0; i < pieces; ++i) {
            int l = Near(left + i * pieceWidth), t = Near(top);
            if (oneToOne)
                FStrip.Draw(target, zoom, l, t, source, palette, flags, mode, alpha);
            else
                FStrip.StretchDraw(target, zoom,
                                   {l, t, l + static_cast<int>(pieceWidth), t + static_cast<int>(cellSize)}, source,
                                   palette, flags, mode, alpha);
        }
    }
}

} // namespace quillon
