#include "EditorGutters.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <string>
#include <tuple>
#include <vector>

namespace quillon {
namespace {

// Rows given by their attributes (text does not matter to the gutters).
struct RowsOf : TRowAttributeStringList {
    explicit RowsOf(const std::vector<int>& Attributes) {
        for (int attribute : Attributes) SetRowAttribute(Add("x"), attribute);
    }
};

// The digits as the ruler draws them, as a picture of '#' (ink) and '.'.
std::string GlyphPicture(int Digit) {
    std::string picture;
    for (int y = 0; y < DigitGlyphHeight; ++y) {
        for (int x = 0; x < DigitGlyphCells(Digit); ++x)
            picture += DigitGlyphInk(DigitGlyphWidth * Digit + x, y) ? '#' : '.';
        picture += '\n';
    }
    return picture;
}

TEST(DigitGlyphs, CellsOfTheMask) {
    EXPECT_EQ(GlyphPicture(0), ".....\n"
                               "..##.\n"
                               ".#..#\n"
                               ".#..#\n"
                               ".#..#\n"
                               ".#..#\n"
                               ".#..#\n"
                               "..##.\n"
                               ".....\n");
    EXPECT_EQ(GlyphPicture(1), "...\n"
                               "..#\n"
                               ".##\n"
                               "..#\n"
                               "..#\n"
                               "..#\n"
                               "..#\n"
                               "..#\n"
                               "...\n");
    EXPECT_EQ(GlyphPicture(7), ".....\n"
                               ".####\n"
                               "....#\n"
                               "...#.\n"
                               "...#.\n"
                               "..#..\n"
                               "..#..\n"
                               "..#..\n"
                               ".....\n");
    // The last byte's right half is outside every digit and blank.
    for (int y = 0; y < DigitGlyphHeight; ++y)
        for (int x = 50; x < 56; ++x) EXPECT_FALSE(DigitGlyphInk(x, y)) << x << "," << y;
}

TEST(Imagebar, LowestBookmarkAndLowestOtherMark) {
    struct Case {
        std::uint16_t Marks;
        int Digit, Mark;
    };
    const std::vector<Case> cases = {
        {0, -1, -1},
        {(1 << 3) | (1 << 5), 3, -1},
        {(1 << 11) | (1 << 14), -1, 1},
        {(1 << 9) | (1 << 10) | (1 << 15), 9, 0},
        {1, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImagebarDigit(c.Marks), c.Digit) << c.Marks;
        EXPECT_EQ(ImagebarMark(c.Marks), c.Mark) << c.Marks;
    }
    EXPECT_EQ(ImagebarWidth(true, 2, 8, 0, 2), 12);
    EXPECT_EQ(ImagebarWidth(false, 2, 8, 0, 2), 0);
}

TEST(Leftbar, DigitsGrowWithTheTextUpToEight) {
    struct Case {
        std::vector<int> Attributes;
        TLeftbarNumbering Numbering;
        int Digits;
    };
    const std::vector<int> nineLines(9, raLineBreak);
    std::vector<int> hundredLines(99, raLineBreak); // 99 lines and the empty row after the last
    std::vector<int> wrapped = {raWrapped, raWrapped, raLineBreak, raEndOfText};
    const std::vector<Case> cases = {
        {nineLines, {false, false, false, 4}, 4},   {hundredLines, {false, false, false, 1}, 3},
        {hundredLines, {false, true, false, 1}, 2}, // 0-based: the empty row is 99
        {{}, {false, false, false, 1}, 1},          {wrapped, {true, false, false, 1}, 1}, // two logical lines
        {wrapped, {false, false, false, 1}, 1},                                            // four rows
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeftbarDigits(RowsOf(c.Attributes), c.Numbering), c.Digits) << c.Attributes.size();

    TRowAttributeStringList big;
    EXPECT_EQ(LeftbarDigits(big, {false, false, false, 8}), 8);
    EXPECT_EQ(LeftbarWidth(true, 8, 4, 7, 4), 8 + 28 + 4 + 2);
    EXPECT_EQ(LeftbarWidth(false, 8, 4, 7, 4), 0);
}

TEST(Leftbar, RowNumbering) {
    // Three rows, the last ends with a line break: the empty row 3 is numbered, rows beyond are not.
    const auto rows = RowsOf({raLineBreak, raWrapped, raLineBreak});
    EXPECT_EQ(LeftbarNumbers(rows, 0, 5, {}), (std::vector<int>{1, 2, 3, 4, -1, -1}));
    EXPECT_EQ(LeftbarNumbers(rows, 2, 4, {false, true, false, 4}), (std::vector<int>{2, 3, -1}));
    // An empty text shows 1 (0 with ZeroBase) on its first row.
    const auto empty = RowsOf({});
    EXPECT_EQ(LeftbarNumbers(empty, 0, 1, {}), (std::vector<int>{1, -1}));
    EXPECT_EQ(LeftbarNumbers(empty, 0, 0, {false, true, false, 4}), (std::vector<int>{0}));
}

TEST(Leftbar, LineNumberingWithWrap) {
    // Line 1 takes rows 0-2, line 2 row 3, then the empty row 4 after the final line break.
    const auto rows = RowsOf({raWrapped, raWrapped, raLineBreak, raLineBreak});
    const TLeftbarNumbering byLine{true, false, false, 4};
    EXPECT_EQ(LeftbarNumbers(rows, 0, 6, byLine), (std::vector<int>{1, -1, -1, 2, 3, -1, -1}));
    // Starting in the middle: from a continuation row, and from the line start after it.
    EXPECT_EQ(LeftbarNumbers(rows, 1, 4, byLine), (std::vector<int>{-1, -1, 2, 3}));
    EXPECT_EQ(LeftbarNumbers(rows, 3, 4, byLine), (std::vector<int>{2, 3}));
    EXPECT_EQ(LeftbarNumbers(rows, 4, 5, byLine), (std::vector<int>{3, -1}));
    // A text that ends without a line break has no empty row to number.
    const auto open = RowsOf({raLineBreak, raWrapped, raEndOfText});
    EXPECT_EQ(LeftbarNumbers(open, 0, 3, byLine), (std::vector<int>{1, 2, -1, -1}));
    EXPECT_EQ(LeftbarNumbers(open, 3, 3, byLine), (std::vector<int>{-1}));
    EXPECT_EQ(LeftbarNumbers(open, 0, 1, {true, true, false, 4}), (std::vector<int>{0, 1}));
}

TEST(Leftbar, NumberTexts) {
    EXPECT_EQ(LeftbarText(8, 4, true), "0008");
    EXPECT_EQ(LeftbarText(8, 4, false), "   8");
    EXPECT_EQ(LeftbarText(123456, 4, false), "123456");
    EXPECT_EQ(LeftbarText(0, 1, true), "0");
    // Row 7 shows 0008 with leading zeros and 4 digits.
    const auto rows = RowsOf(std::vector<int>(9, raLineBreak));
    const std::vector<int> numbers = LeftbarNumbers(rows, 7, 7, {false, false, true, 4});
    EXPECT_EQ(LeftbarText(numbers.at(0), LeftbarDigits(rows, {false, false, true, 4}), true), "0008");
}

TEST(Ruler, HeightsAndPictureWidth) {
    EXPECT_EQ(RulerHeight(false, true), 0);
    EXPECT_EQ(RulerHeight(true, true), 11);
    EXPECT_EQ(RulerHeight(true, false), 10);
    EXPECT_EQ(RulerBitmapWidth(1920, 10, 7), (1920 / 70 + 2) * 70);
    EXPECT_EQ(RulerFirstColumn(25, 10), 20);
    EXPECT_EQ(RulerFirstColumn(7, 8), 0);
}

TEST(Ruler, GaugeTicks) {
    EXPECT_EQ(GaugeTicks(10, 6),
              (std::vector<TGaugeTick>{
                  {0, 0}, {6, 6}, {12, 6}, {18, 6}, {24, 6}, {30, 3}, {36, 6}, {42, 6}, {48, 6}, {54, 6}}));
    EXPECT_EQ(GaugeTicks(8, 5).at(4), (TGaugeTick{20, 3}));
}

TEST(Ruler, NumbersStandAtTheBigTicks) {
    // Scrolled to column 25 with periods of 10: numbers 20, 30, 40 ... one pixel right of each period's start.
    const TRulerNumbers numbers = RulerNumbers(RulerFirstColumn(25, 10), 10, 6, 180);
    ASSERT_GE(numbers.Digits.size(), 6u);
    EXPECT_EQ(numbers.Digits[0], (TRulerDigit{1, 2}));
    EXPECT_EQ(numbers.Digits[1], (TRulerDigit{6, 0}));
    EXPECT_EQ(numbers.Digits[2], (TRulerDigit{61, 3}));
    EXPECT_EQ(numbers.Digits[4], (TRulerDigit{121, 4}));
    EXPECT_EQ(numbers.FillFrom, -1);
    // 180 pixels are 3 periods: one more is numbered.
    EXPECT_EQ(numbers.Digits.size(), 8u);
    // The digit 1 is 3 columns wide: "10" puts its 0 at x + 3.
    const TRulerNumbers ten = RulerNumbers(10, 10, 6, 60);
    EXPECT_EQ(ten.Digits[1], (TRulerDigit{4, 0}));
}

TEST(Ruler, EndsAtColumnThousand) {
    const TRulerNumbers numbers = RulerNumbers(980, 10, 6, 600);
    // 980, 990, then 1000 after blanking the rest of the picture, and nothing after it.
    ASSERT_EQ(numbers.Digits.size(), 3u + 3u + 4u);
    EXPECT_EQ(numbers.FillFrom, 121);
    EXPECT_EQ(numbers.Digits[6], (TRulerDigit{121, 1}));
    EXPECT_EQ(numbers.Digits[9].Digit, 0);
}

TEST(Ruler, CaretMarkPlace) {
    // Text left 40, cells of 6, scrolled to column 25; the mark of column 27.
    const TRulerMarkPlace place = RulerMarkPlace(27, 25, 50, 10, 40, 6, 11, true);
    EXPECT_EQ(place.Target, (TRect{40 + 2 * 6 + 1, 0, 40 + 2 * 6 + 1 + 5, 9}));
    EXPECT_EQ(place.SourceX, 7 * 6 + 1);
    EXPECT_EQ(RulerMarkPlace(27, 25, 50, 10, 40, 6, 10, false).Target.Bottom, 9);
    EXPECT_TRUE(RulerMarkPlace(24, 25, 50, 10, 40, 6, 11, true).Target.IsEmpty());
    EXPECT_TRUE(RulerMarkPlace(76, 25, 50, 10, 40, 6, 11, true).Target.IsEmpty());
    EXPECT_FALSE(RulerMarkPlace(75, 25, 50, 10, 40, 6, 11, true).Target.IsEmpty());
}

TEST(GutterPaint, ImagebarShowsOneDigitAndOneMarkPerRow) {
    RowsOf rows({raLineBreak, raLineBreak, raEndOfText});
    rows.SetRowMarks(0, (1 << 3) | (1 << 5));
    rows.SetRowMarks(1, (1 << 11) | (1 << 14) | (1 << 7));
    rows.SetRowModified(2, true);
    TGutterLook look;
    look.TextTop = 11;
    look.ImagebarWidth = 12;
    TPaintPlan plan;
    PaintImagebar(rows, 0, 3, look, plan);
    std::vector<TPaintOp> images;
    for (const TPaintOp& op : plan)
        if (op.Kind == poImage) images.push_back(op);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(std::make_tuple(images[0].Row, images[0].Index, images[0].X, images[0].Y), std::make_tuple(0, 3, 2, 13));
    EXPECT_EQ(std::make_tuple(images[1].Row, images[1].Index), std::make_tuple(0, 7));
    EXPECT_EQ(std::make_tuple(images[2].Row, images[2].Index, images[2].X, images[2].Y),
              std::make_tuple(1, 1, 10, 11 + 16 + 2));
    // Backgrounds: the editor's colour, the modified colour on row 2.
    EXPECT_EQ(plan[0].BkColor, clWhite);
    EXPECT_EQ(plan[0].Rect, (TRect{0, 11, 12, 27}));
    const TPaintOp& modified = plan[plan.size() - 2];
    EXPECT_EQ(modified.BkColor, clGreen);
}

TEST(GutterPaint, LeftbarNumbersWithTheirColours) {
    RowsOf rows(std::vector<int>(9, raLineBreak));
    rows.SetRowModified(7, true);
    TGutterLook look;
    look.LeftbarVisible = true;
    look.ImagebarWidth = 12;
    look.LeftbarWidth = 8 + 4 * 8 + 4 + 2;
    look.ClientHeight = 200;
    look.Numbering.ZeroLead = true;
    TPaintPlan plan;
    PaintLeftbar(rows, 6, 7, look, plan);
    ASSERT_EQ(plan.size(), 4u); // two edge columns and two numbers
    EXPECT_EQ(plan[0].Rect, (TRect{12 + 44, 0, 12 + 45, 200}));
    EXPECT_EQ(plan[1].BkColor, clGray);
    EXPECT_EQ(plan[2].Text, "0007");
    EXPECT_EQ(plan[2].BkColor, clSilver);
    EXPECT_EQ(plan[2].X, 12 + 8);
    EXPECT_EQ(plan[3].Text, "0008");
    EXPECT_EQ(plan[3].BkColor, clGreen);
    EXPECT_EQ(plan[3].Rect, (TRect{12, 7 * 16, 12 + 44, 8 * 16}));
}

} // namespace
} // namespace quillon
