#include "HitBoxes.h"
#include "PreviewFixtures.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

TEST(HitBoxes, MouseToGame) {
    struct Case {
        int x, y, zoom;
        int gx, gy;
    } cases[] = {
        {321, 100, 2, 0, 189},   {0, 0, 1, -160, 239},   {319, 239, 1, 159, 0},
        {959, 719, 3, 159, 0},   {-2, -2, 3, -160, 239}, // captured outside the box: truncation toward zero
        {-8, 500, 4, -162, 114},
    };
    for (const Case& c : cases) {
        TGamePoint p = GameFromMouse(c.x, c.y, c.zoom);
        EXPECT_EQ(p.X, c.gx) << c.x << "," << c.y << " x" << c.zoom;
        EXPECT_EQ(p.Y, c.gy) << c.x << "," << c.y << " x" << c.zoom;
    }
}

TEST(HitBoxes, PressRectangles) {
    const TMotionBox box{-10, 80, 20, 5};
    struct Case {
        const char* name;
        THitDragMode mode;
        TGamePoint at;
        bool snap;
        TMotionBox expected;
    } cases[] = {
        {"upper-left follows", dmTopLeft, {-30, 90}, false, {-30, 90, 20, 5}},
        {"upper-left snapped", dmTopLeft, {50, 90}, true, {-18, 90, 20, 5}},
        {"upper-left right of the lower-right", dmTopLeft, {40, 90}, false, {20, 90, 20, 5}},
        {"upper-left below the lower-right", dmTopLeft, {0, 2}, false, {0, 5, 20, 5}},
        {"lower-right follows", dmBottomRight, {30, 0}, false, {-10, 80, 30, 0}},
        {"lower-right snapped", dmBottomRight, {-50, 0}, true, {-10, 80, 18, 0}},
        {"lower-right above the upper-left", dmBottomRight, {30, 100}, false, {-10, 80, 30, 80}},
        {"lower-right left of the upper-left", dmBottomRight, {-20, 0}, false, {-10, 80, -10, 0}},
        {"new box is a point", dmNewBox, {7, 33}, false, {7, 33, 7, 33}},
        {"new box snapped left", dmNewBox, {0, 33}, true, {-18, 33, -18, 33}},
        {"new box snapped right", dmNewBox, {1, 33}, true, {18, 33, 18, 33}},
    };
    for (const Case& c : cases) EXPECT_EQ(PressRect(c.mode, box, c.at, c.snap), c.expected) << c.name;
}

TEST(HitBoxes, DragRectangles) {
    struct Case {
        const char* name;
        THitDragMode mode;
        TMotionBox rect;
        TGamePoint anchor, at;
        bool snap;
        TMotionBox expected;
    } cases[] = {
        {"new box grows right and down", dmNewBox, {5, 40, 5, 40}, {5, 40}, {25, 10}, false, {5, 40, 25, 10}},
        {"new box grows left and up", dmNewBox, {5, 40, 5, 40}, {5, 40}, {-25, 70}, false, {-25, 70, 5, 40}},
        {"new box from -18 spans to 18", dmNewBox, {-18, 40, -18, 40}, {-18, 40}, {-90, 10}, true, {-18, 40, 18, 10}},
        {"new box from 18 spans to -18", dmNewBox, {18, 40, 18, 40}, {18, 40}, {90, 10}, true, {-18, 40, 18, 10}},
        {"other anchor, mouse left", dmNewBox, {3, 40, 3, 40}, {3, 40}, {-1, 10}, true, {-18, 40, 3, 10}},
        {"other anchor, mouse right", dmNewBox, {3, 40, 3, 40}, {3, 40}, {3, 10}, true, {3, 40, 18, 10}},
        {"upper-left against the lower-right", dmTopLeft, {-10, 80, 20, 5}, {-10, 80}, {60, 0}, false, {20, 5, 20, 5}},
        {"lower-right snapped", dmBottomRight, {-18, 80, 18, 5}, {-18, 80}, {-60, 30}, true, {-18, 80, 18, 30}},
    };
    for (const Case& c : cases) EXPECT_EQ(DragRect(c.mode, c.rect, c.anchor, c.at, c.snap), c.expected) << c.name;
}

TEST(HitBoxes, FieldRewrite) {
    const std::string code = "112050012000";
    struct Case {
        const char* name;
        std::string old, expected;
    } cases[] = {
        {"three blanks stay three", "   000000000000", "   " + code},
        {"a single blank stays", " 000000000000", " " + code},
        {"a short field widens to 13", "  0", " " + code},
        {"no blank gets one", "000000000000", " " + code},
        {"what follows the code stays", "  000000000000xyz", "  " + code + "xyz"},
        {"a long tail keeps one blank", " 000000000000;abc", " " + code + ";abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(RewriteBoxField(c.old, code), c.expected) << c.name;
    // Typed corners keep only the old width.
    EXPECT_EQ(TypedBoxField(" 000000000000X", code), "  " + code);
    EXPECT_EQ(TypedBoxField("  0", code), " " + code);

    TMotionLineObj line;
    const std::string text = MotionText("1/2", "<44", "  010020010000", " 000000000000", "000000000000", " ;x ");
    ASSERT_TRUE(ParseMotionLine(text, line));
    std::string joined = JoinWithField(line, mfDef1, RewriteBoxField(line.Items[mfDef1], code));
    std::string::size_type at = text.find("  010020010000");
    EXPECT_EQ(joined, text.substr(0, at) + "  " + code + text.substr(at + 14));
    TMotionLineObj again;
    ASSERT_TRUE(ParseMotionLine(joined, again));
    EXPECT_EQ(again.Def1, (TMotionBox{-18, 80, 18, 0}));
}

TEST(HitBoxes, EncodingAndLabels) {
    EXPECT_EQ(EncodeBox({-18, 80, 18, 0}), "112050012000");
    EXPECT_FALSE(EncodeBox({-5000, 80, 18, 0}));
    EXPECT_FALSE(EncodeBox({-18, 80, 18, -1000000}));
    EXPECT_EQ(BoxLabel({-18, 80, 18, 0}), "(  -18,   80)-(   18,    0)");
    EXPECT_EQ(BoxLabel({-123456, 0, 7, 1}), "(-123456,    0)-(    7,    1)");
    EXPECT_EQ(BoxField(btDef1), mfDef1);
    EXPECT_EQ(BoxField(btAtt1), mfAtt1);
}

TEST(HitBoxes, TypedCorners) {
    struct Case {
        std::array<std::string, 4> edits;
        const char* message; // empty: accepted
        int focus;
        TMotionBox box;
    } cases[] = {
        {{"-18", "80", "18", "0"}, "", -1, {-18, 80, 18, 0}},
        {{"30", "80", "10", "0"}, "", -1, {30, 80, 30, 0}},
        {{"-5", "10", "5", "40"}, "", -1, {-5, 10, 5, 10}},
        // Blanks around a number and hexadecimal after "$" convert (they were once refused).
        {{" 5", "80 ", "$10", " $A "}, "", -1, {5, 80, 16, 10}},
        {{"+5", "\t80", "$1f", "0"}, "", -1, {5, 80, 31, 0}},
        {{"x", "80", "18", "0"}, "左上Ｘの値を数値に変換出ません", 0, {}},
        {{"1", "", "18", "0"}, "左上Ｙの値を数値に変換出ません", 1, {}},
        {{"1", "2", "1.5", "0"}, "右下Ｘの値を数値に変換出ません", 2, {}},
        {{"1", "2", "3", "99999999999"}, "右下Ｙの値を数値に変換出ません", 3, {}},
        {{"-5000", "80", "18", "0"}, "左上Ｘで指定された値は座標の文字に変換出ません", 0, {}},
        {{"0", "80", "5000", "0"}, "右下Ｘで指定された値は座標の文字に変換出ません", 2, {}},
        {{"-5000", "1000000", "5000", "0"}, "左上Ｘで指定された値は座標の文字に変換出ません", 0, {}},
        {{"0", "1000000", "5000", "0"}, "右下Ｘで指定された値は座標の文字に変換出ません", 2, {}},
        {{"0", "1000000", "3", "0"}, "左上Ｙで指定された値は座標の文字に変換出ません", 1, {}},
        {{"0", "0", "3", "-1000000"}, "右下Ｙで指定された値は座標の文字に変換出ません", 3, {}},
    };
    for (const Case& c : cases) {
        TBoxInput input = ParseBoxInput(c.edits);
        EXPECT_EQ(input.Message, c.message)
            << c.edits[0] << " " << c.edits[1] << " " << c.edits[2] << " " << c.edits[3];
        EXPECT_EQ(input.FocusEdit, c.focus) << c.message;
        if (*c.message) continue;
        ASSERT_TRUE(input.Box);
        EXPECT_EQ(*input.Box, c.box);
        EXPECT_EQ(input.Code, *EncodeBox(c.box));
    }
}
