#include "FramePreview.h"
#include "PreviewFixtures.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

class TFakeHost : public TFramePreviewHost {
public:
    bool IsMotionList() const override { return Motion; }
    bool SelectionSpansRows() const override { return MultiRow; }
    int CaretRow() const override { return Caret; }
    std::string LineText(int row) const override { return Lines.at(row); }
    void ReplaceLine(int row, const std::string& text) override {
        Lines.at(row) = text;
        ++Replaced;
    }

    std::vector<std::string> Lines;
    int Caret = 0;
    bool MultiRow = false, Motion = true;
    int Replaced = 0;
};

// Def1 (-18, 80)-(18, 0), Def2 (-10, 50)-(10, 20), Att1 (16, 60)-(48, 40); Ci 0 (blue, violet, red).
const std::string kLine = MotionText("5", "0", "  112050012000", "   10A03200A014", "01003C030028");

class FramePreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        Host.Lines = {";title", kLine, MotionText("5", "44", "112050012000", "000000000000", "000000000000")};
        Host.Caret = 1;
        Preview.Show(Dir.Path / "ZMOTION.LST");
    }
    std::uint32_t GamePixel(int gx, int gy) const {
        int z = Preview.Picture().Zoom();
        return Preview.Picture().Pixel((gx + 160) * z, (239 - gy) * z);
    }
    // The checkerboard under a game pixel.
    static std::uint32_t Checker(int gx, int gy) {
        return ((gx + 160) / 8 + (239 - gy) / 8) % 2 == 0 ? kCheckerLight : kCheckerDark;
    }
    // The paint-box point of a game point at the current zoom.
    int MouseX(int gx) const { return (gx + 160) * Preview.Picture().Zoom(); }
    int MouseY(int gy) const { return (239 - gy) * Preview.Picture().Zoom(); }

    TTempFolder Dir;
    TFakeHost Host;
    TFramePreview Preview{Host};
};

} // namespace

TEST_F(FramePreviewTest, ShowingDrawsTheCaretRowWithoutAPictureSet) {
    EXPECT_FALSE(Preview.CharPicture());
    ASSERT_TRUE(Preview.MotionLine().Valid);
    EXPECT_EQ(GamePixel(-18, 80), 0x0000FFu) << "Def1 blue";
    EXPECT_EQ(GamePixel(-10, 30), 0x7F00FFu) << "Def2 violet";
    EXPECT_EQ(GamePixel(48, 50), 0xFF0000u) << "Att1 red";
    EXPECT_EQ(GamePixel(0, 111), kCheckerLight ^ 0xFFFFFFu) << "centre line over a light square";
    TRectLabels labels = Preview.RectLabels();
    EXPECT_EQ(labels.Values[0], "(  -18,   80)-(   18,    0)");
    EXPECT_EQ(labels.Values[1], "(  -10,   50)-(   10,   20)");
    EXPECT_EQ(labels.Values[2], "(   16,   60)-(   48,   40)");
    EXPECT_EQ(labels.Edits, (std::array<std::string, 4>{"-18", "80", "18", "0"}));
    EXPECT_TRUE(labels.EditsEnabled);
}

TEST_F(FramePreviewTest, FollowsTheCaret) {
    EXPECT_FALSE(Preview.FollowCaret()) << "the same line is not drawn again";
    Host.Caret = 2;
    EXPECT_TRUE(Preview.FollowCaret());
    EXPECT_EQ(GamePixel(-18, 80), 0x00FF00u) << "Ci 44 draws Def1 green";
    Host.MultiRow = true;
    EXPECT_TRUE(Preview.FollowCaret()) << "a selection over two rows clears the boxes";
    EXPECT_TRUE(Preview.MotionLine().IsEmpty());
    EXPECT_EQ(GamePixel(-18, 80), Checker(-18, 80));
    EXPECT_FALSE(Preview.FollowCaret()) << "already clear";
    Host.MultiRow = false;
    EXPECT_TRUE(Preview.FollowCaret());
    Host.Caret = 0;
    EXPECT_TRUE(Preview.FollowCaret()) << "a row that is not a motion line";
    EXPECT_FALSE(Preview.MotionLine().Valid);
    TRectLabels labels = Preview.RectLabels();
    EXPECT_EQ(labels.Values[0], "");
    EXPECT_EQ(labels.Edits[3], "");
    EXPECT_FALSE(labels.EditsEnabled);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            std::uint32_t checker = ((x / 8 + y / 8) % 2 == 0) ? kCheckerLight : kCheckerDark;
            ASSERT_EQ(Preview.Picture().Pixel(x, y), x == 160 ? checker ^ 0xFFFFFFu : checker);
        }
    Host.Motion = false;
    Host.Caret = 1;
    EXPECT_FALSE(Preview.FollowCaret()) << "only for a motion list";
    Host.Motion = true;
    Preview.Hide();
    EXPECT_FALSE(Preview.FollowCaret()) << "only while shown";
}

TEST_F(FramePreviewTest, ShowingLoadsThePictureSet) {
    WriteSheet(Dir.Path / "ZCHARA.BMP");
    FivePattern().SaveToFile(Dir.Path / "ZPATTERN.ZPT");
    Preview.Rebuild(Dir.Path / "ZMOTION.LST");
    ASSERT_TRUE(Preview.CharPicture());
    EXPECT_EQ(Preview.Picture().Pixel(kPicX, kPicY), kRed);
    Preview.SetZoom(4);
    EXPECT_EQ(Preview.Picture().Bitmap().Width(), 1280);
    EXPECT_EQ(Preview.Picture().Pixel(kPicX * 4 + 3, kPicY * 4 + 3), kRed) << "zoom redraws while shown";
    EXPECT_EQ(GamePixel(-18, 80), 0x0000FFu);
    Preview.Hide();
    EXPECT_FALSE(Preview.CharPicture()) << "hiding frees the pictures";
}

TEST_F(FramePreviewTest, DraggingTheUpperLeftCorner) {
    const std::string before = Host.Lines[1];
    ASSERT_TRUE(Preview.MouseDown(TMouseButton::Left, false, false, MouseX(100), MouseY(90)));
    EXPECT_TRUE(Preview.Dragging());
    EXPECT_EQ(Preview.DragMode(), dmTopLeft);
    EXPECT_EQ(Preview.DragRect(), (TMotionBox{-18, 90, 18, 0})) << "Def1 snaps x1 to -18";
    EXPECT_EQ(Preview.RectLabels().Values[0], "(  -18,   90)-(   18,    0)");
    EXPECT_EQ(Preview.RectLabels().Edits[1], "90");
    EXPECT_EQ(GamePixel(-18, 90), Checker(-18, 90) ^ 0xFFFFFFu) << "the drag rectangle is inverted";
    EXPECT_NE(GamePixel(-18, 80), 0x0000FFu) << "the box being edited is left out";
    EXPECT_EQ(GamePixel(-10, 30), 0x7F00FFu) << "the other boxes stay";

    ASSERT_TRUE(Preview.MouseMove(false, MouseX(5), MouseY(120)));
    EXPECT_EQ(Preview.DragRect(), (TMotionBox{-18, 120, 18, 0}));
    EXPECT_EQ(GamePixel(10, 90), Checker(10, 90)) << "the old rectangle is inverted away";
    EXPECT_EQ(GamePixel(10, 120), Checker(10, 120) ^ 0xFFFFFFu) << "and the new one in";
    EXPECT_TRUE(Preview.MouseMove(false, MouseX(5), MouseY(100000))) << "a rectangle that cannot be written";
    EXPECT_EQ(Preview.DragRect(), (TMotionBox{-18, 120, 18, 0})) << "keeps the last one";

    Host.Caret = 2; // the line goes to the row of the press
    EXPECT_TRUE(Preview.MouseUp(false, MouseX(5), MouseY(110)));
    EXPECT_FALSE(Preview.Dragging());
    EXPECT_EQ(Host.Replaced, 1);
    std::string::size_type at = before.find("  112050012000");
    EXPECT_EQ(Host.Lines[1], before.substr(0, at) + "  11206E012000" + before.substr(at + 14));
    EXPECT_EQ(Preview.MotionLine().Def1, (TMotionBox{-18, 110, 18, 0}));
    EXPECT_EQ(GamePixel(-18, 110), 0x0000FFu);
    EXPECT_FALSE(Preview.MouseMove(false, 0, 0)) << "no drag after the release";
}

TEST_F(FramePreviewTest, DragModesAndTabs) {
    struct Case {
        const char* name;
        int tab;
        TMouseButton button;
        bool ctrl, shift;
        TGamePoint press, release;
        TMotionBox result;
    } cases[] = {
        {"Def1 lower-right snaps", btDef1, TMouseButton::Right, false, false, {-50, 30}, {-60, 10}, {-18, 80, 18, 10}},
        {"Def1 with Shift follows", btDef1, TMouseButton::Left, false, true, {-50, 90}, {-40, 95}, {-40, 95, 18, 0}},
        {"Def1 new box", btDef1, TMouseButton::Left, true, false, {30, 70}, {-30, 20}, {-18, 70, 18, 20}},
        {"Def2 new box", btDef2, TMouseButton::Left, true, false, {30, 70}, {-30, 20}, {-30, 70, 30, 20}},
        {"Att1 lower-right above the upper-left",
         btAtt1,
         TMouseButton::Right,
         false,
         false,
         {60, 90},
         {70, 99},
         {16, 60, 70, 60}},
    };
    for (const Case& c : cases) {
        Host.Lines[1] = kLine;
        Preview.SelectTab(c.tab);
        ASSERT_TRUE(Preview.MouseDown(c.button, c.ctrl, c.shift, MouseX(c.press.X), MouseY(c.press.Y))) << c.name;
        ASSERT_TRUE(Preview.MouseUp(c.shift, MouseX(c.release.X), MouseY(c.release.Y))) << c.name;
        TMotionLineObj line;
        ASSERT_TRUE(ParseMotionLine(Host.Lines[1], line)) << c.name;
        EXPECT_EQ(BoxOf(line, c.tab), c.result) << c.name;
        for (int other = 0; other < 3; ++other)
            if (other != c.tab) {
                TMotionLineObj original;
                ParseMotionLine(kLine, original);
                EXPECT_EQ(line.Items[BoxField(other)], original.Items[BoxField(other)]) << c.name;
            }
    }
}

TEST_F(FramePreviewTest, ZoomedMouse) {
    Preview.SetZoom(2);
    Preview.SelectTab(btAtt1);
    ASSERT_TRUE(Preview.MouseDown(TMouseButton::Left, true, false, 321, 100));
    EXPECT_EQ(Preview.DragRect(), (TMotionBox{0, 189, 0, 189}));
    Preview.MouseUp(false, 321, 100);
}

TEST_F(FramePreviewTest, DragsThatDoNotStartOrDoNotWrite) {
    Preview.SelectTab(btAtt1);
    EXPECT_FALSE(Preview.MouseDown(TMouseButton::Other, false, false, 10, 10)) << "middle button";
    EXPECT_FALSE(Preview.MouseDown(TMouseButton::Left, true, false, -10000, 10)) << "x -10160 cannot be written";
    Host.MultiRow = true;
    EXPECT_FALSE(Preview.MouseDown(TMouseButton::Left, false, false, 10, 10)) << "selection over rows";
    Host.MultiRow = false;
    Host.Caret = 0;
    EXPECT_FALSE(Preview.MouseDown(TMouseButton::Left, false, false, 10, 10)) << "not a motion line";
    Host.Caret = 1;
    ASSERT_TRUE(Preview.MouseDown(TMouseButton::Left, false, false, 10, 10));
    EXPECT_FALSE(Preview.MouseDown(TMouseButton::Right, false, false, 10, 10)) << "already dragging";
    EXPECT_FALSE(Preview.Apply({"1", "2", "3", "0"}).Applied) << "no typing during a drag";
    EXPECT_FALSE(Preview.MouseUp(false, 10, -100000)) << "released where nothing can be written";
    EXPECT_EQ(Host.Lines[1], kLine);
    EXPECT_EQ(Host.Replaced, 0);
    EXPECT_EQ(GamePixel(48, 50), 0xFF0000u) << "redrawn with the old box";
}

TEST_F(FramePreviewTest, ApplyingTypedCorners) {
    Preview.SelectTab(btDef2);
    TApplyResult result = Preview.Apply({"30", "40", "10", "50"});
    ASSERT_TRUE(result.Applied);
    TMotionLineObj line;
    ASSERT_TRUE(ParseMotionLine(Host.Lines[1], line));
    EXPECT_EQ(line.Def2, (TMotionBox{30, 40, 30, 40}));
    EXPECT_EQ(line.Items[mfDef2], "    01E02801E028") << "right-aligned in the old width";
    EXPECT_EQ(Preview.MotionLine().Def2, line.Def2);

    result = Preview.Apply({"30", "40", "x", "50"});
    EXPECT_FALSE(result.Applied);
    EXPECT_EQ(result.Message, "右下Ｘの値を数値に変換出ません");
    EXPECT_EQ(result.FocusEdit, 2);

    // Unlike a drag, typed corners keep nothing of the old field but its width (it once kept the
    // characters after the code).
    Host.Lines[1] = MotionText("5", "0", "112050012000", "000000000000X", "000000000000");
    EXPECT_TRUE(Preview.Apply({"1", "2", "3", "0"}).Applied);
    EXPECT_EQ(Host.Lines[1], MotionText("5", "0", "112050012000", " 001002003000", "000000000000"));

    Host.MultiRow = true;
    result = Preview.Apply({"1", "2", "3", "0"});
    EXPECT_FALSE(result.Applied);
    EXPECT_EQ(result.Message, "") << "silently blocked";
    Host.MultiRow = false;
    Host.Caret = 0;
    EXPECT_FALSE(Preview.Apply({"1", "2", "3", "0"}).Applied);
    EXPECT_EQ(Host.Lines[0], ";title");
}
