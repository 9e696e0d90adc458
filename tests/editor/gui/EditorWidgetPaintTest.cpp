// The window shows what the editor paints: after edits, scrolls and partial repaints, the pixels on
// the screen equal a fresh rendering of the whole client area (the caret's block aside, which blinks).
#include "EditorWidget.h"

#include "ScreenPixels.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

std::string Numbered(int Lines, const char* Tail) {
    std::string text;
    for (int i = 0; i < Lines; ++i) text += "line " + std::to_string(i) + Tail + "\r\n";
    return text;
}

class EditorWidgetPaint : public ::testing::Test {
protected:
    EditorWidgetPaint() {
        widget.resize(400, 300);
        widget.show();
        widget.activateWindow();
        widget.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
        QApplication::processEvents();
    }

    TEditor& Editor() { return widget.Editor(); }
    // Where the screen differs from the editor's own rendering (empty when it shows it all).
    QRect Stale() { return DifferingPixels(ShownPixels(*widget.viewport()), widget.Render(), widget.CaretRect()); }

    TEditorWidget widget;
};

// A text given whole to a shown editor is painted, whether it replaces nothing, a longer text or a
// shorter one.
TEST_F(EditorWidgetPaint, ATextSetWholeIsPainted) {
    for (const std::string& text : {Numbered(60, " abc def ghi"), Numbered(5, " other"), std::string()}) {
        Editor().Lines().SetText(text);
        EXPECT_EQ(Stale(), QRect()) << text.size();
    }
    Editor().Lines().Assign(std::vector<std::string>{"assigned", "lines"});
    EXPECT_EQ(Stale(), QRect());
}

// The rows after a joined line move up on the screen: the row they land on shows the next line,
// not the one it showed before.
TEST_F(EditorWidgetPaint, RowsBelowAJoinedLineMoveUp) {
    Editor().Lines().SetText(Numbered(60, " abc def ghi"));
    for (int row : {5, 1}) {
        Editor().SetRowCol(row, 0);
        ASSERT_EQ(Stale(), QRect());
        Editor().Perform(WM_CHAR, 8); // Backspace at the start of a line joins it to the line above
        EXPECT_EQ(Stale(), QRect()) << row;
    }
}

// A repaint whose area splits a row draws that row's text once: each part is filled and written
// only inside its own area, so no glyph is drawn twice over itself.
TEST_F(EditorWidgetPaint, ARowSplitBetweenTwoRepaintedAreasIsDrawnOnce) {
    Editor().Lines().SetText(Numbered(60, " abc def ghi"));
    ASSERT_EQ(Stale(), QRect());
    const int middle = Editor().TextTop() + 3 * Editor().RowHeight() + Editor().FontHeight() / 2;
    QRegion region(0, 0, 400, middle);
    region += QRect(10, middle, 390, 300 - middle); // a second band: Qt paints the two areas in turn
    ASSERT_EQ(region.rectCount(), 2);
    widget.viewport()->update(region);
    EXPECT_EQ(Stale(), QRect());
}

} // namespace
} // namespace quillon
