// The edit windows' editor control on the editor widget, with its hint window on the screen.
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "QtHintWindow.h"
#include "WidgetEvents.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace quillon {
namespace {

class EditorExVantorWidget : public ::testing::Test {
protected:
    EditorExVantorWidget() : widget(MakeEditor()), hints(*widget.viewport()) {
        widget.resize(400, 200);
        widget.show();
        widget.setFocus();
        QApplication::processEvents();
        QTest::keyClicks(&widget, "abcdef ghij");
        QTest::keyClick(&widget, Qt::Key_Return);
        QTest::keyClicks(&widget, "klmnop qrst");
    }
    ~EditorExVantorWidget() override { E->HintWindow().SetScreen(nullptr); }
    std::unique_ptr<TEditor> MakeEditor() {
        auto editor = std::make_unique<TEditorExVantor>();
        E = editor.get();
        return editor;
    }
    QPoint Cell(int Row, int Col) const {
        return {E->TextLeft() + Col * E->CharWidth() + 1, E->TextTop() + Row * E->RowHeight() + 2};
    }
    void Send(QEvent::Type Type, QPoint P, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) {
        QMouseEvent event(Type, P, widget.viewport()->mapToGlobal(P), Qt::LeftButton, Buttons, Modifiers);
        QApplication::sendEvent(widget.viewport(), &event);
    }

    TEditorExVantor* E = nullptr;
    TEditorWidget widget;
    TQtHintWindow hints;
};

TEST_F(EditorExVantorWidget, AltDragSelectsABoxThenStreamModeReturns) {
    Send(QEvent::MouseButtonPress, Cell(0, 1), Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(E->SelectionMode(), 1);
    Send(QEvent::MouseMove, Cell(1, 3), Qt::LeftButton, Qt::AltModifier);
    Send(QEvent::MouseButtonRelease, Cell(1, 3), Qt::NoButton, Qt::AltModifier);
    EXPECT_EQ(E->SelText(), "bc\r\nlm\r\n");
    QTest::keyClick(&widget, Qt::Key_Right); // the caret moves: the box goes
    EXPECT_FALSE(E->IsSelected());
    EXPECT_EQ(E->SelectionMode(), 0);
}

TEST_F(EditorExVantorWidget, DoubleClickSelectsAWord) {
    DoubleClick(widget.viewport(), Cell(0, 8));
    EXPECT_EQ(E->SelText(), "ghij");
}

TEST_F(EditorExVantorWidget, HintOpensOneRowBelowTheCaretAndCloses) {
    E->HintWindow().SetScreen(&hints);
    E->SetRowCol(0, 2);
    E->ShowHintAtCaret(Utf8ToCp932("ヒント\r\n二行目"));
    QLabel* window = hints.Window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->text(), QString::fromUtf8("ヒント\n二行目"));
    int x = 0, y = 0;
    E->GetCaretPoint(x, y);
    EXPECT_EQ(window->geometry().topLeft(), widget.viewport()->mapToGlobal(QPoint(x, y + E->RowHeight())));
    EXPECT_GT(window->height(), 2 * window->fontMetrics().height()) << "two lines";
    E->HideHint();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(EditorExVantorWidget, FindMarksOfTheExtendedEditorAreDrawn) {
    E->SetFindString("ghij");
    E->ExMarks().FindMark().SetColor(clRed);
    E->ExMarks().FindMark().SetVisible(true);
    const QImage image = widget.Render();
    const int y = E->TextTop() + E->FontHeight() - 1;
    EXPECT_EQ(image.pixel(Cell(0, 8).x(), y), QColor(Qt::red).rgb());
    EXPECT_NE(image.pixel(Cell(0, 2).x(), y), QColor(Qt::red).rgb());
}

} // namespace
} // namespace quillon
