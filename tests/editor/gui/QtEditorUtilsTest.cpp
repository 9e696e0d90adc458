#include "QtEditorUtils.h"

#include "EditorUtils.h"

#include <QPixmap>
#include <gtest/gtest.h>

namespace quillon {
namespace {

// Pixels of an image that are not transparent.
int InkPixels(const QImage& Image) {
    int ink = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x) ink += qAlpha(Image.pixel(x, y)) != 0;
    return ink;
}

TEST(EditorCursors, TheTwoDrawnCursorsHavePictures) {
    for (TCursor cursor : {crRightArrow, crDragSelCopy}) {
        const QCursor c = EditorCursor(cursor);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor) << cursor;
        EXPECT_EQ(c.pixmap().size(), QSize(32, 32)) << cursor;
        EXPECT_GT(InkPixels(c.pixmap().toImage()), 30) << cursor;
    }
    // The right arrow points right: its hot spot is its tip, right of the tail.
    EXPECT_EQ(EditorCursor(crRightArrow).hotSpot(), QPoint(12, 0));
    EXPECT_EQ(EditorCursor(crIBeam).shape(), Qt::IBeamCursor);
    EXPECT_EQ(EditorCursor(crDefault).shape(), Qt::ArrowCursor);
    EXPECT_EQ(EditorCursor(crDrag).shape(), Qt::DragMoveCursor);
}

TEST(EditorImages, DigitAndMarkPicturesDiffer) {
    for (int i = 0; i < DigitImageCount; ++i) {
        EXPECT_EQ(DigitImage(i).size(), QSize(DigitImageWidth, DigitImageHeight));
        for (int j = 0; j < i; ++j) EXPECT_NE(DigitImage(i), DigitImage(j)) << i << " " << j;
    }
    for (int i = 0; i < MarkImageCount; ++i) {
        EXPECT_EQ(MarkImage(i).size(), QSize(MarkImageWidth, MarkImageHeight));
        EXPECT_GT(InkPixels(MarkImage(i)), 20);
        for (int j = 0; j < i; ++j) EXPECT_NE(MarkImage(i), MarkImage(j)) << i << " " << j;
    }
}

TEST(DottedLines, EveryOtherPixelFromTheFirst) {
    QImage image(12, 3, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        DrawDottedLine(p, 2, 1, clWhite, clRed, 7);
    }
    for (int x = 0; x < 12; ++x) {
        const QRgb expected = x < 2 || x >= 9    ? qRgb(0, 0, 0)
                              : (x - 2) % 2 == 0 ? qRgb(255, 0, 0)
                                                 : qRgb(255, 255, 255);
        EXPECT_EQ(image.pixel(x, 1), expected) << x;
        EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 0));
    }
}

TEST(DottedLines, OneCacheItemPerColourPair) {
    TDotLineCollection lines(64);
    const QImage& a = lines.GetBitmap(clRed, clWhite);
    EXPECT_EQ(a.width(), 64);
    lines.GetBitmap(clRed, clWhite);
    EXPECT_EQ(lines.Count(), 1);
    lines.GetBitmap(clWhite, clRed);
    EXPECT_EQ(lines.Count(), 2);

    QImage image(20, 1, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        DrawDotLine(p, 3, 0, clWhite, clBlue, 6);
    }
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(4, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(6, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(7, 0), qRgb(0, 0, 0));
}

} // namespace
} // namespace quillon
