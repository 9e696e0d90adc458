#pragma once
// Cell collectors: a parsed bitmap list becomes the cell sheet (every distinct 16 x 16 cell once)
// and a pattern with one frame per picture.
//
// Each picture stands on the 320 x 240 game screen with its middle column (width div 2) on x 160
// and its bottom row on the screen's bottom edge, and is cut on the screen's 16-pixel grid: the
// cell at grid column c, row r is the picture's 16 x 16 block whose top-left pixel is
// (16c - 160 + width div 2, height - 240 + 16r), lying on the screen at (16c, 16r). Classic
// collectors cut only columns 2..19 and rows 0..14; Vantor ones cut the whole picture, also
// beyond the screen. Parts of a block outside the picture take the key colour, as does the whole
// blank cell, which is never stored.
//
// Within a grid row, neighbouring cells join into runs: consecutive cell numbers within one group
// of 32 (a row of the character picture's strip) or one cell repeated (negative count). A run never
// crosses a blank cell or the end of a row.
//
// The key is the first picture's top-left pixel: its colour for the 24-bit collectors (8-bit
// pictures are converted to 24 bits), its index and colour table for the 8-bit ones, whose sheet
// keeps the first picture's colour table.
//
// A run reads, converts and expands each file once, however many entries name it: a picture named
// again later is kept until its last naming.
#include "BitmapList.h"
#include "DIB.h"
#include "Pattern.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillon {

// Called before each picture is loaded (position from 0); setting cancel stops the run with "中止".
using TCollectProgress =
    std::function<void(int position, std::int32_t number, const std::filesystem::path& path, bool& cancel)>;

// What a collector gives: on success Error is empty and Sheet and Pattern are set; on any failure
// Error holds the message and both are nothing.
struct TCollectResult {
    std::unique_ptr<TDIB> Sheet;
    std::unique_ptr<TVantorPattern> Pattern;
    std::string Error;
};

// 8- and 24-bit pictures into a 24-bit sheet 640 pixels wide; createMode 0 or 1.
TCollectResult CollectPatternCells(const TBitmapListEntries& entries, const TCollectProgress& progress, int createMode);
// 8-bit pictures only, indexes kept, into an 8-bit sheet 640 pixels wide; createMode 0 or 1.
TCollectResult CollectPatternCells256(const TBitmapListEntries& entries, const TCollectProgress& progress,
                                      int createMode);
// As the two above, without limits, into sheets 512 pixels wide.
TCollectResult CollectVantorPatternCells(const TBitmapListEntries& entries, const TCollectProgress& progress);
TCollectResult CollectVantorPatternCells256(const TBitmapListEntries& entries, const TCollectProgress& progress);

// The cutting operations. A picture is read in place: row y (0 = top) at top + y * rowStep.
struct TPictureRows {
    const std::uint8_t* Top = nullptr;
    std::ptrdiff_t RowStep = 0;
    int Width = 0, Height = 0;
    int PixelBytes = 3; // 3 (blue, green, red) or 1 (an index)
};

// The 16 x 16 block at (x, y) of the picture into cell (16 * 16 * PixelBytes bytes): copied where
// it lies inside the picture, the blank cell's bytes elsewhere.
void CutCell(const TPictureRows& picture, int x, int y, const std::uint8_t* blankCell, std::uint8_t* cell);
void FillBlankCell24(std::uint8_t* cell, std::uint8_t blue, std::uint8_t green, std::uint8_t red);
void FillBlankCell8(std::uint8_t* cell, std::uint8_t index);

} // namespace quillon
