#pragma once
// The preview bitmap of one frame: the 320 x 240 game screen, each game pixel a block of
// zoom x zoom pixels, in a 32-bit bitmap whose pixels are 0x00RRGGBB.
//
// The layers are drawn straight into the pixels: a checkerboard of 8-pixel squares copied row by
// row from prepared rows, the pictures through the character picture, the vertical centre line
// inverted, and hit boxes as outlines in game coordinates (x from the screen centre, y upwards
// from the bottom row), clipped to the screen.
#include "CharImages.h"
#include "motions.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillon {

constexpr std::uint32_t kCheckerLight = 0xDFDFDF;
constexpr std::uint32_t kCheckerDark = 0xBFBFBF;

// The outline colours of the three boxes of a line, by its Ci value.
struct TBoxColours {
    std::uint32_t Def1, Def2, Att1;
};
TBoxColours BoxColours(std::int32_t ciValue);

class TFramePicture {
public:
    TFramePicture();

    int Zoom() const { return FZoom; }
    // Resizes the bitmap to 320·zoom x 240·zoom (zoom clamped to 1..4); its pixels are then zero.
    void SetZoom(int zoom);

    // The bitmap, for showing; it may share its pixels with a paint box, which then sees every
    // later drawing (the pixels are written through FTarget only, never copied away).
    const TDIB& Bitmap() const { return FBitmap; }
    // The colour 0xRRGGBB of a screen pixel (the renderer may fill the unused top byte).
    std::uint32_t Pixel(int x, int y) const;

    void DrawBackground();
    // The line's pictures in field order, when the line is valid and names pictures.
    void DrawPictureCells(const TMotionLineObj& line, TCharSoftRender& picture);
    void DrawCenterLine();
    void DrawRect(const TMotionBox& box, std::uint32_t colour);
    // Inverts every pixel of the outline once, so drawing the same box twice restores the picture.
    void XorRect(const TMotionBox& box);

private:
    std::uint32_t* Row(int y) const; // screen row y, 0 at the top
    // Calls paint(game x, game row from the bottom) once for every game pixel of the box's outline.
    template <class Paint> void ForOutline(const TMotionBox& box, Paint paint);
    template <class Op> void ForBlock(int gx, int screenRow, Op op);

    int FZoom = 0;
    TDIB FBitmap;          // 32 bits, 8-8-8
    TRenderTarget FTarget; // FBitmap's top row and its step; refreshed on every resize
    // FBackRows[z - 1][0] is row A (even squares light), [1] row B, each 320·z pixels.
    std::array<std::array<std::vector<std::uint32_t>, 2>, 4> FBackRows;
};

} // namespace quillon
