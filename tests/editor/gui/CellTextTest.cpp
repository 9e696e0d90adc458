#include "CellText.h"

#include "Cp932.h"

#include <QImage>
#include <gtest/gtest.h>

namespace quillon {
namespace {

// The columns of Image (between Left and Right) that hold a dark pixel.
std::vector<int> InkColumns(const QImage& Image, int Left, int Right) {
    std::vector<int> columns;
    for (int x = Left; x < Right; ++x)
        for (int y = 0; y < Image.height(); ++y)
            if (qGray(Image.pixel(x, y)) < 128) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST(CellText, FixedSysIsTheJapaneseMonospaceFont) {
    const QFont font = EditorFont("FixedSys", 16);
    EXPECT_EQ(font.family(), DefaultMonospaceFamily);
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(EditorFont("DejaVu Sans Mono", 12).family(), "DejaVu Sans Mono");
    const TCellFont cells(font);
    EXPECT_GT(cells.Height(), 12);
    EXPECT_EQ(cells.AveCharWidth(), 8);
}

TEST(CellText, CodesDecodeOnePerCharacter) {
    EXPECT_EQ(Cp932CharToUnicode('A'), U'A');
    EXPECT_EQ(Cp932CharToUnicode(0x82A0), U'あ');
    EXPECT_EQ(Cp932CharToUnicode(0x8740), U'①');
    EXPECT_EQ(Cp932CharToUnicode(0xB1), U'ｱ');
    EXPECT_EQ(Cp932CharToUnicode(0x8100), U'\uFFFD');
}

// Each glyph stays inside its own cells (a double-byte glyph inside its two, reaching into the
// second), whatever advance the font gives it: positions come from the cells only.
TEST(CellText, GlyphsSitOnTheirCells) {
    TCellFont cells(EditorFont("FixedSys", 16));
    const int cw = 11; // wider than the font's own cells
    const std::string text = Utf8ToCp932("あ|い|A|漢");
    const int width = cw * static_cast<int>(text.size());
    QImage whole(width, cells.Height(), QImage::Format_RGB32);
    whole.fill(Qt::white);
    QPainter all(&whole);
    all.setPen(Qt::black);
    cells.DrawText(all, 0, 0, text, cw, 0);
    all.end();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = IsLeadByte(text[i]) ? 2 : 1;
        QImage alone(width, cells.Height(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter p(&alone);
        p.setPen(Qt::black);
        cells.DrawText(p, static_cast<int>(i) * cw, 0, text.substr(i, length), cw, 0);
        p.end();
        const int first = static_cast<int>(i) * cw, end = first + static_cast<int>(length) * cw;
        const std::vector<int> ink = InkColumns(alone, 0, width);
        ASSERT_FALSE(ink.empty()) << i;
        EXPECT_GE(ink.front(), first) << i;
        EXPECT_LT(ink.back(), end) << i;
        if (length == 2) {
            EXPECT_GE(ink.back(), first + cw) << i;
        }
        // The row drawn at once has the same ink in these cells.
        EXPECT_EQ(InkColumns(whole, first, end), InkColumns(alone, first, end)) << i;
        i += length;
    }
}

} // namespace
} // namespace quillon
