#include "DIBPaintBox.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// A 32-bit picture: red on the left half, blue on the right.
TDIB TwoColours(int width, int height) {
    TDIB dib;
    dib.SetSize(width, height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = dib.ScanLine(y) + 4 * x;
            p[0] = x < width / 2 ? 0 : 255;
            p[1] = 0;
            p[2] = x < width / 2 ? 255 : 0;
            p[3] = 0;
        }
    return dib;
}

} // namespace

TEST(DIBPaintBox, Placement) {
    struct Case {
        const char* name;
        bool autoStretch, stretch, keepAspect, center;
        int viewWidth, viewHeight;
        QSize client;
        QRect expected;
    } cases[] = {
        {"plain", false, false, false, false, 0, 0, {200, 100}, {0, 0, 40, 20}},
        {"centred", false, false, false, true, 0, 0, {200, 100}, {80, 40, 40, 20}},
        {"stretched", false, true, false, false, 0, 0, {200, 100}, {0, 0, 200, 100}},
        {"stretched keeping aspect", false, true, true, true, 0, 0, {200, 120}, {0, 10, 200, 100}},
        {"keeping aspect also shrinks", false, true, true, false, 0, 0, {20, 20}, {0, 0, 20, 10}},
        {"auto stretch when too big", true, false, false, false, 0, 0, {30, 30}, {0, 0, 30, 15}},
        {"auto stretch leaves a smaller picture", true, true, false, false, 0, 0, {200, 100}, {0, 0, 40, 20}},
        {"view size", false, false, false, false, 60, 0, {200, 100}, {0, 0, 60, 20}},
        {"view size shrunk by auto stretch", true, false, false, true, 100, 50, {50, 50}, {0, 12, 50, 25}},
        {"centre of a larger picture", false, false, false, true, 0, 0, {31, 11}, {-4, -4, 40, 20}},
    };
    for (const Case& c : cases) {
        TDIBPaintBox box;
        box.SetDIB(TwoColours(40, 20));
        box.SetAutoStretch(c.autoStretch);
        box.SetStretch(c.stretch);
        box.SetKeepAspect(c.keepAspect);
        box.SetCenter(c.center);
        box.SetViewWidth(c.viewWidth);
        box.SetViewHeight(c.viewHeight);
        box.resize(c.client);
        EXPECT_EQ(box.PictureRect(), c.expected) << c.name;
    }
    TDIBPaintBox box;
    EXPECT_EQ(box.size(), QSize(105, 105));
    EXPECT_TRUE(box.PictureRect().isNull()) << "an empty picture is not drawn";
    box.SetViewWidth(-5);
    EXPECT_EQ(box.ViewWidth(), 0);
}

TEST(DIBPaintBox, PaintsThePicture) {
    TDIBPaintBox box;
    box.setAttribute(Qt::WA_OpaquePaintEvent);
    TDIB dib = TwoColours(4, 2);
    box.SetDIB(dib);
    box.SetStretch(true);
    box.resize(40, 10);
    QImage shot = box.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(19, 9) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shot.pixel(20, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(shot.pixel(39, 9) & 0xFFFFFF, 0x0000FFu);
    box.SetStretch(false);
    box.resize(4, 2);
    shot = box.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1) & 0xFFFFFF, 0xFF0000u) << "unscaled";
    EXPECT_EQ(shot.pixel(2, 0) & 0xFFFFFF, 0x0000FFu);
}
