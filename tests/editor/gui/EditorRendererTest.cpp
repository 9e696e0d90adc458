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

// A row as the painter plans it: the whole text on the background, then tokens, some over opaque
// cells of their own. Rendering the plan leaves out background glyphs that tokens paint over; the
// picture must be the one that drawing every operation alone gives, for glyphs that reach out of
// their cells (bold, wide letters, italic) too.
TEST(PlanRenderer, RowDrawnAsAPlanEqualsEveryOperationDrawnAlone) {
    TCellFont font(EditorFont("FixedSys", 16));
    const std::string text = Utf8ToCp932("Wm@_jgQ|{}()[]!~ あい漢字カナ、。（）「」ｱｲｳ① ＷＭ") + "\t#$%&*+-/09AZaz";
    for (const TFontStyles style : {TFontStyles(0), StyleBit(fsBold), StyleBit(fsItalic), StyleBit(fsUnderline)})
        for (const int cw : {font.AveCharWidth(), font.AveCharWidth() + 2}) {
            const int width = cw * static_cast<int>(text.size() + 4);
            TPaintPlan plan;
            TPaintOp back;
            back.Kind = poText;
            back.Rect = {cw + 3, 0, width - cw, font.Height() + 1}; // clipped on both sides
            back.X = 2 * cw;
            back.Text = text;
            back.Color = clBlack;
            back.BkColor = clWhite;
            back.Style = style;
            back.FillRect = true;
            plan.push_back(back);
            // Tokens of 1 to 4 characters: opaque in two colours, or without a background.
            const TColor backgrounds[] = {clYellow, clNone, clAqua, clYellow};
            for (std::size_t i = 0, k = 0; i < text.size(); ++k) {
                std::size_t end = i;
                for (std::size_t c = 0; c < 1 + k % 4 && end < text.size(); ++c) end += IsLeadByte(text[end]) ? 2 : 1;
                TPaintOp token = back;
                token.FillRect = false;
                token.X = back.X + static_cast<int>(i) * cw;
                token.Text = text.substr(i, end - i);
                token.Color = k % 2 ? clRed : clBlue;
                token.BkColor = backgrounds[k % 4];
                token.Style = k % 3 == 0 ? style | StyleBit(fsBold) : style;
                plan.push_back(token);
                i = end;
            }
            auto picture = [&](bool AsPlan) {
                QImage image(width, font.Height() + 1, QImage::Format_RGB32);
                image.fill(Qt::gray);
                QPainter p(&image);
                TPlanRenderer renderer(font, cw);
                if (AsPlan)
                    renderer.Render(p, plan);
                else
                    for (const TPaintOp& op : plan) renderer.RenderOp(p, op);
                return image;
            };
            EXPECT_EQ(picture(true), picture(false)) << "style " << static_cast<int>(style) << ", cell " << cw;
        }
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
