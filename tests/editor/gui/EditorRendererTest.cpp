#include "EditorRenderer.h"

#include "Cp932.h"
#include "QtEditorUtils.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

bool Dark(const QImage& Image, int X, int Y) { return qGray(Image.pixel(X, Y)) < 100; }

// Whether column X of the picture (rows 0..Bottom-1) holds a dark pixel.
bool InkInColumn(const QImage& Image, int X, int Bottom) {
    for (int y = 0; y < Bottom; ++y)
        if (Dark(Image, X, y)) return true;
    return false;
}

TEST(RulerPictures, NumbersFromThePeriodOfTheTopColumn) {
    TRulerPictures ruler;
    TRulerLook look;
    look.Edge = false;
    look.Height = 10;
    ruler.Update(look, 6, 300);
    ruler.Render(25);
    const QImage& r = ruler.Ruler();
    EXPECT_EQ(r.width(), (300 / 60 + 2) * 60);
    // "20" from x 1: the 2's glyph columns 2-3 (x 3-4) have ink in row 1; big ticks at x 0 and 60.
    EXPECT_TRUE(Dark(r, 3, 1));
    EXPECT_FALSE(Dark(r, 2, 1));
    EXPECT_TRUE(Dark(r, 0, 8));
    EXPECT_TRUE(Dark(r, 60, 0));
    // Small ticks start at y 6, the half tick at y 3; the baseline along the bottom row.
    EXPECT_FALSE(Dark(r, 12, 5));
    EXPECT_TRUE(Dark(r, 12, 6));
    EXPECT_TRUE(Dark(r, 30, 3));
    EXPECT_TRUE(Dark(r, 40, 9));
    // The mark picture: background digits on the mark colour.
    EXPECT_TRUE(Dark(ruler.Mark(), 0, 0));
    EXPECT_FALSE(Dark(ruler.Mark(), 3, 1));
}

TEST(RulerPictures, NothingRightOfColumnThousand) {
    TRulerPictures ruler;
    TRulerLook look;
    ruler.Update(look, 6, 300);
    ruler.Render(990);
    const QImage& r = ruler.Ruler();
    // 990 at x 1, 1000 at x 61, then blank background above the edge.
    EXPECT_TRUE(InkInColumn(r, 62, 9));
    for (int x = 61 + 3 + 5 * 3 + 1; x < r.width(); ++x) EXPECT_FALSE(InkInColumn(r, x, 9)) << x;
}

TEST(PlanRenderer, TextOnCellsAndUnderlineDots) {
    TCellFont font(EditorFont("FixedSys", 16));
    const int cw = font.AveCharWidth();
    TPlanRenderer renderer(font, cw);
    QImage image(10 * cw, font.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    TPaintOp op;
    op.Kind = poText;
    op.Rect = {0, 0, 10 * cw, font.Height()};
    op.X = 0;
    op.Text = Utf8ToCp932("あA");
    op.Color = clBlack;
    op.BkColor = clYellow;
    op.Style = StyleBit(fsUnderline);
    op.FillRect = false;
    renderer.RenderOp(p, op);
    p.end();
    // The cells of the three bytes are filled, the rest not.
    EXPECT_EQ(image.pixel(3 * cw - 1, 0), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(3 * cw, 0), qRgb(255, 255, 255));
    // The dotted underline along the last row: every other pixel in the text colour.
    const int y = font.Height() - 1;
    EXPECT_EQ(image.pixel(0, y), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, y), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(2, y), qRgb(0, 0, 0));
}

TEST(Corner, EdgesOfTheGutters) {
    TCornerLook look;
    look.TextLeft = 60;
    look.TextTop = 13;
    look.LeftGutters = 56;
    look.LeftbarEdge = true;
    look.RulerEdge = true;
    look.RulerHeight = 11;
    look.LeftbarBkColor = clSilver;
    const QImage corner = MakeCorner(look);
    EXPECT_EQ(corner.size(), QSize(60, 13));
    EXPECT_EQ(corner.pixel(54, 5), qRgb(255, 255, 255));
    EXPECT_EQ(corner.pixel(55, 5), qRgb(128, 128, 128));
    EXPECT_EQ(corner.pixel(58, 9), qRgb(255, 255, 255));
    EXPECT_EQ(corner.pixel(58, 10), qRgb(128, 128, 128));
    EXPECT_EQ(corner.pixel(58, 12), qRgb(255, 255, 255)); // below the ruler: the editor's colour
    EXPECT_EQ(corner.pixel(10, 5), qRgb(192, 192, 192));
}

} // namespace
} // namespace quillon
