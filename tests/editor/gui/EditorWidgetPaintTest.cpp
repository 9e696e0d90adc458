// The window shows what the editor paints: after edits, scrolls and partial repaints, the pixels on
// the screen equal a fresh rendering of the whole client area (the caret's block aside, which blinks).
#include "EditorWidget.h"

#include "ScreenPixels.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <random>
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

// Random edits, caret moves, selections, row marks and scrolls, a few at a time with no paint
// between them, in several looks (gutters, ruler, word wrap): after each batch the screen shows what
// the editor paints. Every invalidation the editor forgets, and every scroll that moves pixels
// somewhere no repaint follows, leaves a difference.
TEST_F(EditorWidgetPaint, RandomEditsAndScrollsShowWhatTheEditorPaints) {
    constexpr int Numbers = 1, Ruler = 2, Wrap = 4, LineNumbers = 8; // the looks, combined
    for (int look : {0, Numbers | Ruler, Wrap, Numbers | Ruler | Wrap | LineNumbers}) {
        SCOPED_TRACE(look);
        TEditor& e = Editor();
        e.SetWordWrap(look & Wrap);
        e.Ruler().SetVisible(look & Ruler);
        e.Leftbar().SetVisible(look & (Numbers | LineNumbers));
        e.Leftbar().SetShowNumber(true);
        e.Leftbar().SetShowNumberMode(look & LineNumbers ? nmLine : nmRow);
        e.Marks().Underline().SetVisible(true);
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "line " + std::to_string(i) + " abc" + std::string(i % 7 * 9, 'z') + "\r\n";
        e.Lines().SetText(text);
        std::mt19937 random(7);
        for (int batch = 0; batch < 250; ++batch) {
            for (int n = 1 + random() % 4; n > 0; --n) {
                switch (random() % 16) {
                case 0: e.Perform(WM_KEYDOWN, VK_DOWN); break;
                case 1: e.Perform(WM_KEYDOWN, VK_UP); break;
                case 2: e.Perform(WM_KEYDOWN, VK_NEXT); break;
                case 3: e.Perform(WM_KEYDOWN, VK_PRIOR); break;
                case 4: e.Perform(WM_CHAR, 13); break;
                case 5: e.Perform(WM_CHAR, 'x'); break;
                case 6: e.Perform(WM_CHAR, 8); break;
                case 7: e.Perform(WM_VSCROLL, random() % 2); break;
                case 8: e.Perform(WM_KEYDOWN, VK_DELETE); break;
                case 9: e.Perform(WM_HSCROLL, random() % 4); break;
                case 10: e.Perform(WM_KEYDOWN, VK_END); break;
                case 11: e.Perform(WM_KEYDOWN, VK_HOME); break;
                case 12:
                    e.SetSelStart(static_cast<int>(random() % 3000));
                    e.SetSelLength(static_cast<int>(random() % 300));
                    break;
                case 13:
                    for (char c : std::string("abcdefghijklmnop")) e.Perform(WM_CHAR, c);
                    break;
                case 14: {
                    const int row = static_cast<int>(random() % 60);
                    e.SetRowMark(row, static_cast<int>(random() % 16));
                    break;
                }
                case 15: e.SetSelLength(0); break;
                }
            }
            ASSERT_EQ(Stale(), QRect()) << "batch " << batch;
        }
    }
}

} // namespace
} // namespace quillon
