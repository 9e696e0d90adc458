// The extended editor on the widget: the marks it adds to each painted row reach the screen.
#include "EditorEx.h"
#include "EditorWidget.h"
#include "QtEditorUtils.h"
#include "WidgetEvents.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <functional>

namespace quillon {
namespace {

class EditorWidgetEx : public ::testing::Test {
protected:
    EditorWidgetEx() : widget(MakeEditor()) {
        widget.resize(400, 200);
        widget.show();
        QApplication::processEvents();
    }
    static std::unique_ptr<TEditor> MakeEditor() {
        auto editor = std::make_unique<TEditorEx>();
        ex = editor.get();
        return editor;
    }

    // How many pixels of the rendered client area have Color, in the rectangle of columns
    // [FirstCol, EndCol) of the first row (or the whole area).
    int Pixels(TColor Color, int FirstCol = -1, int EndCol = -1) {
        const QImage image = widget.Render();
        const QRgb rgb = QColorOf(Color).rgb();
        const int cw = ex->CharWidth();
        const int left = FirstCol < 0 ? 0 : ex->TextLeft() + FirstCol * cw;
        const int right = EndCol < 0 ? image.width() : ex->TextLeft() + EndCol * cw;
        const int top = FirstCol < 0 ? 0 : ex->TextTop();
        const int bottom = FirstCol < 0 ? image.height() : ex->TextTop() + ex->RowHeight();
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += image.pixel(x, y) == rgb;
        return n;
    }

    static inline TEditorEx* ex = nullptr;
    TEditorWidget widget;
};

TEST_F(EditorWidgetEx, WidgetHoldsTheEditorItWasGiven) {
    EXPECT_EQ(&widget.Editor(), ex);
    EXPECT_EQ(ex->Host(), &widget);
}

TEST_F(EditorWidgetEx, FindMarksAppearUnderTheMatchesOnly) {
    ex->Lines().SetText("abc xyz abc");
    ex->SetFindString("abc");
    ex->ExMarks().FindMark().SetColor(clRed);
    EXPECT_EQ(Pixels(clRed), 0) << "an invisible mark is not drawn";
    ex->ExMarks().FindMark().SetVisible(true);
    EXPECT_GT(Pixels(clRed, 0, 3), 0);
    EXPECT_EQ(Pixels(clRed, 4, 7), 0) << "xyz is no match";
    EXPECT_GT(Pixels(clRed, 8, 11), 0);
    // A match goes on being marked after the find string changes; the old one is not.
    ex->SetFindString("xyz");
    EXPECT_EQ(Pixels(clRed, 0, 3), 0);
    EXPECT_GT(Pixels(clRed, 4, 7), 0);
}

TEST_F(EditorWidgetEx, VisibleMarksOfBlanksAppearWhereTheBlanksAre) {
    struct Case {
        const char* Name;
        std::function<TEditorMark&()> Mark;
        std::string Text;
        int Col; // the blank's first column
    };
    const Case cases[] = {
        {"space", [] { return std::ref(ex->ExMarks().SpaceMark()); }, "ab cd", 2},
        {"tab", [] { return std::ref(ex->ExMarks().TabMark()); }, "ab\tcd", 2},
        {"full-width space", [] { return std::ref(ex->ExMarks().DBSpaceMark()); },
         "ab\x81\x40"
         "cd",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ex->Lines().SetText(c.Text);
        c.Mark().SetColor(clBlue);
        c.Mark().SetVisible(true);
        EXPECT_GT(Pixels(clBlue, c.Col, c.Col + 1), 0);
        EXPECT_EQ(Pixels(clBlue, 0, c.Col), 0) << "no mark over the letters";
        c.Mark().SetVisible(false);
        EXPECT_EQ(Pixels(clBlue), 0);
    }
}

// The double click arrives while the button is down again; the editor must still see it.
TEST_F(EditorWidgetEx, DoubleClickSelectsTheWordUnderTheMouse) {
    ex->Lines().SetText("abc defg hi");
    const QPoint p(ex->TextLeft() + 5 * ex->CharWidth() + 1, ex->TextTop() + 2);
    int clicks = 0;
    ex->OnDblClick = [&clicks](TEditor&) { ++clicks; };
    DoubleClick(widget.viewport(), p);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ex->SelText(), "defg");
}

} // namespace
} // namespace quillon
