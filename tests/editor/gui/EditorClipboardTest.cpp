#include "EditorClipboard.h"

#include "Cp932.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(EditorClipboard, BoxCopyKeepsEveryByte) {
    QClipboard& clipboard = *QApplication::clipboard();
    // A box of two rows; the second holds a CP932-only character (NEC row 13) and a half-width kana.
    const std::string box = Utf8ToCp932("あい\r\n") + "\x87\x40\xB1" + "\r\n";
    SetClipboardText(clipboard, box, true);
    EXPECT_TRUE(ClipboardHasText(clipboard));
    EXPECT_TRUE(ClipboardHasBox(clipboard));
    int replaced = -1;
    EXPECT_EQ(ClipboardText(clipboard, replaced), box);
    EXPECT_EQ(replaced, 0);
    // Other programs see Unicode text, and the box marker holds the bytes and a NUL.
    EXPECT_EQ(clipboard.text(), QString::fromUtf8("あい\r\n①ｱ\r\n"));
    EXPECT_EQ(clipboard.mimeData()->data(BoxMimeType), QByteArray(box.data(), qsizetype(box.size())) + '\0');
}

TEST(EditorClipboard, StreamCopyHasNoBoxMarker) {
    QClipboard& clipboard = *QApplication::clipboard();
    SetClipboardText(clipboard, "abc", false);
    EXPECT_TRUE(ClipboardHasText(clipboard));
    EXPECT_FALSE(ClipboardHasBox(clipboard));
}

TEST(EditorClipboard, OutsideTextIsConvertedAndReplacementsCounted) {
    QClipboard& clipboard = *QApplication::clipboard();
    clipboard.setText(QString::fromUtf8("a?ü😀漢"));
    int replaced = -1;
    EXPECT_EQ(ClipboardText(clipboard, replaced), "a??" + std::string("?") + Utf8ToCp932("漢"));
    EXPECT_EQ(replaced, 2);
    EXPECT_FALSE(ClipboardHasBox(clipboard));

    EXPECT_EQ(OutsideTextToCp932(QString::fromUtf8("かな?"), replaced), Utf8ToCp932("かな?"));
    EXPECT_EQ(replaced, 0);
}

} // namespace
} // namespace quillon
