#include "EditorWidget.h"

#include "Cp932.h"
#include "EditorClipboard.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quillon {
namespace {

// A widget whose drag loop is played by the test: Hand gets the drag and answers its drop action.
class TDragWidget : public TEditorWidget {
public:
    std::function<Qt::DropAction(QDrag& Drag, Qt::DropActions Actions)> Hand;

protected:
    Qt::DropAction ExecDrag(QDrag& Drag, Qt::DropActions Actions) override { return Hand(Drag, Actions); }
};

class EditorWidgetDnd : public ::testing::Test {
protected:
    EditorWidgetDnd() {
        widget.resize(400, 200);
        widget.show();
        widget.activateWindow();
        widget.setFocus();
        QApplication::processEvents();
        widget.OnCharactersReplaced = [this](int Count) { replaced += Count; };
    }

    TOleDndEditor& Editor() { return dynamic_cast<TOleDndEditor&>(widget.Editor()); }
    std::string Text() { return Editor().Lines().Text(); }
    std::pair<int, int> Caret() { return {Editor().Row(), Editor().Col()}; }
    int UndoSteps() { return static_cast<int>(Editor().ScreenStrings().UndoObj().UndoList().size()); }
    // The viewport point at the left edge of a cell.
    QPoint At(int Row, int Col) {
        TEditor& e = Editor();
        return {e.TextLeft() + (Col - e.TopCol()) * e.CharWidth() + 1,
                e.TextTop() + (Row - e.TopRow()) * e.RowHeight() + 2};
    }

    // Qt's drag events as the window system delivers them to the viewport; each answers whether the
    // widget accepted it, and the drop action of the last.
    bool Enter(const QMimeData& Data, QPoint P, Qt::KeyboardModifiers Keys = {}) {
        QDragEnterEvent e(P, Qt::CopyAction | Qt::MoveAction, &Data, Qt::LeftButton, Keys);
        QApplication::sendEvent(widget.viewport(), &e);
        action = e.dropAction();
        return e.isAccepted();
    }
    bool Move(const QMimeData& Data, QPoint P, Qt::KeyboardModifiers Keys = {}) {
        QDragMoveEvent e(P, Qt::CopyAction | Qt::MoveAction, &Data, Qt::LeftButton, Keys);
        QApplication::sendEvent(widget.viewport(), &e);
        action = e.dropAction();
        return e.isAccepted();
    }
    bool Drop(const QMimeData& Data, QPoint P, Qt::KeyboardModifiers Keys = {}) {
        QDropEvent e(P, Qt::CopyAction | Qt::MoveAction, &Data, Qt::NoButton, Keys);
        QApplication::sendEvent(widget.viewport(), &e);
        action = e.dropAction();
        return e.isAccepted();
    }
    void Leave() {
        QDragLeaveEvent e;
        QApplication::sendEvent(widget.viewport(), &e);
    }
    // A whole drag from outside: enter and move at P, drop there.
    bool DragIn(const QMimeData& Data, QPoint P, Qt::KeyboardModifiers Keys = {}) {
        return Enter(Data, P, Keys) && Move(Data, P, Keys) && Drop(Data, P, Keys);
    }

    TDragWidget widget;
    Qt::DropAction action = Qt::IgnoreAction;
    int replaced = 0;
};

TEST_F(EditorWidgetDnd, ForeignTextIsInsertedAtTheDropPositionAsOneUndoStep) {
    Editor().Lines().SetText("abc\r\nxyz");
    const int steps = UndoSteps();
    QMimeData data;
    data.setText(QString::fromUtf8("あ-"));
    ASSERT_TRUE(Enter(data, At(0, 0)));
    ASSERT_TRUE(Move(data, At(1, 1)));
    EXPECT_EQ(Caret(), std::make_pair(1, 1)); // the caret shows the drop position
    EXPECT_EQ(action, Qt::CopyAction);
    ASSERT_TRUE(Drop(data, At(1, 1)));
    EXPECT_EQ(action, Qt::CopyAction); // never a move: the source keeps its text
    EXPECT_EQ(Text(), "abc\r\nx" + Utf8ToCp932("あ-") + "yz");
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    EXPECT_EQ(UndoSteps(), steps + 1);
    Editor().Undo();
    EXPECT_EQ(Text(), "abc\r\nxyz");
    EXPECT_EQ(replaced, 0);
}

TEST_F(EditorWidgetDnd, Cp932BytesAreTakenAsTheyAreAndOtherTextIsConverted) {
    // Our own type wins over the Unicode text: the bytes are kept even where Unicode would change them.
    const std::string bytes = "\x81\x60\x87\x40"; // a wave dash and a NEC circled digit one
    QMimeData own;
    own.setText("wrong");
    own.setData(Cp932MimeType, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    ASSERT_TRUE(DragIn(own, At(0, 0)));
    EXPECT_EQ(Text(), bytes);
    // Characters that CP932 lacks become "?" and are reported.
    QMimeData foreign;
    foreign.setText(QString::fromUtf8("a😀ü"));
    ASSERT_TRUE(DragIn(foreign, At(0, 0)));
    EXPECT_EQ(Text(), "a??" + bytes);
    EXPECT_EQ(replaced, 2);
}

TEST_F(EditorWidgetDnd, DroppedFilesAreReportedBeforeTextAndNeverTyped) {
    Editor().Lines().SetText("abc");
    std::vector<std::string> files;
    TPoint point;
    Editor().OnDropFiles = [&](TEditor&, const std::vector<std::string>& f, int, TPoint p) { files = f, point = p; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/リスト one.txt"), QUrl("https://example.invalid/x"),
                  QUrl::fromLocalFile("/tmp/two.txt")});
    data.setText("/tmp/リスト one.txt");
    ASSERT_TRUE(DragIn(data, At(0, 2)));
    EXPECT_EQ(files, (std::vector<std::string>{"/tmp/リスト one.txt", "/tmp/two.txt"}));
    EXPECT_EQ(point, (TPoint{At(0, 2).x(), At(0, 2).y()}));
    EXPECT_EQ(Text(), "abc");
    // A name that is not UTF-8 (日 in CP932) keeps its bytes.
    QMimeData cp932;
    cp932.setUrls({QUrl("file:///tmp/%93%FA.lst")});
    ASSERT_TRUE(DragIn(cp932, At(0, 1)));
    EXPECT_EQ(files, std::vector<std::string>{"/tmp/\x93\xFA.lst"});
}

TEST_F(EditorWidgetDnd, ADragOfNeitherTextNorLocalFilesIsRefused) {
    QMimeData data;
    data.setData("image/png", "png");
    EXPECT_FALSE(Enter(data, At(0, 0)));
    EXPECT_FALSE(Drop(data, At(0, 0)));
    EXPECT_EQ(Text(), "");
    // A link to no local file is dropped as its text.
    QMimeData link;
    link.setUrls({QUrl("https://example.invalid/x")});
    EXPECT_TRUE(DragIn(link, At(0, 0)));
    EXPECT_EQ(Text(), "https://example.invalid/x");
}

TEST_F(EditorWidgetDnd, AWidgetOfAnEditorWithoutDragAndDropTakesNoDrops) {
    TEditorWidget plain(std::make_unique<TEditor>());
    QMimeData data;
    data.setText("x");
    QDragEnterEvent e(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(plain.viewport(), &e);
    EXPECT_FALSE(e.isAccepted());
    EXPECT_FALSE(plain.acceptDrops());
    EXPECT_TRUE(widget.acceptDrops());
}

TEST_F(EditorWidgetDnd, AReadOnlyEditorOffersNoDropForTextAndChangesNothing) {
    Editor().Lines().SetText("abc");
    Editor().SetReadOnly(true);
    QMimeData data;
    data.setText("x");
    EXPECT_TRUE(Enter(data, At(0, 1))); // taken, so that its leave restores the caret
    EXPECT_FALSE(Move(data, At(0, 1)));
    Drop(data, At(0, 1));
    EXPECT_EQ(Text(), "abc");
}

TEST_F(EditorWidgetDnd, ALeavingDragPutsTheCaretBack) {
    Editor().Lines().SetText("abc\r\nxyz");
    Editor().SetRowCol(0, 2);
    QMimeData data;
    data.setText("x");
    ASSERT_TRUE(Enter(data, At(1, 1)));
    EXPECT_EQ(Caret(), std::make_pair(1, 1));
    Leave();
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
    EXPECT_TRUE(widget.CaretVisible());
}

TEST_F(EditorWidgetDnd, ADragRestingNearTheBottomKeepsScrolling) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    Editor().Lines().SetText(text);
    QMimeData data;
    data.setText("x");
    const QPoint bottom(At(0, 0).x(), widget.viewport()->height() - 2);
    ASSERT_TRUE(Enter(data, bottom));
    Move(data, bottom);
    const int top = Editor().TopRow();
    EXPECT_GT(top, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Editor().TopRow() > top + 1; }, 5000)); // the drag rests
    Leave();
    const int rested = Editor().TopRow();
    EXPECT_FALSE(widget.DragRepeating()); // gone: nothing reports it again
    QCoreApplication::processEvents();
    EXPECT_EQ(Editor().TopRow(), rested);
}

class EditorWidgetOwnDrag : public EditorWidgetDnd {
protected:
    EditorWidgetOwnDrag() {
        Editor().Caret().SetSelDragMode(dmManual);
        Editor().Lines().SetText("abc def");
        Editor().SetSelStart(0);
        Editor().SetSelLength(3);
    }
    // Presses on the selection; the drag that starts goes to the cell (Row, Col) and drops there with
    // Keys held. Answers the MIME data of the drag.
    void DragTo(int Row, int Col, Qt::KeyboardModifiers Keys = {}) {
        widget.Hand = [=, this](QDrag& drag, Qt::DropActions actions) {
            EXPECT_EQ(actions, Qt::CopyAction | Qt::MoveAction);
            const QMimeData& data = *drag.mimeData();
            dragged = data.data(Cp932MimeType).toStdString();
            draggedText = data.text();
            Enter(data, At(0, 1), Keys);
            Move(data, At(Row, Col), Keys);
            moveAction = action;
            Drop(data, At(Row, Col), Keys);
            return action;
        };
        QTest::mousePress(widget.viewport(), Qt::LeftButton, {}, At(0, 1) + QPoint(1, 0));
    }

    std::string dragged;
    QString draggedText;
    Qt::DropAction moveAction = Qt::IgnoreAction;
};

TEST_F(EditorWidgetOwnDrag, TheSelectionIsDraggedAsTextAndMovedWithinTheEditor) {
    const int steps = UndoSteps();
    DragTo(0, 7);
    EXPECT_EQ(dragged, "abc");
    EXPECT_EQ(draggedText, "abc");
    EXPECT_EQ(moveAction, Qt::MoveAction);
    EXPECT_EQ(Text(), " defabc");
    EXPECT_EQ(Caret(), std::make_pair(0, 7));
    EXPECT_EQ(UndoSteps(), steps + 1);
    // The editor takes keys again once the drag is over.
    QTest::mouseRelease(widget.viewport(), Qt::LeftButton, {}, At(0, 7));
    QTest::keyClicks(&widget, "!");
    EXPECT_EQ(Text(), " defabc!");
}

TEST_F(EditorWidgetOwnDrag, CtrlCopiesAndTheSelectionOnItselfStays) {
    DragTo(0, 5, Qt::ControlModifier);
    EXPECT_EQ(moveAction, Qt::CopyAction);
    EXPECT_EQ(Text(), "abc dabcef");
    Editor().SetSelStart(0);
    Editor().SetSelLength(3);
    DragTo(0, 2);
    EXPECT_EQ(Text(), "abc dabcef");
    EXPECT_FALSE(Editor().IsSelected());
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
}

TEST_F(EditorWidgetOwnDrag, ADragDroppedElsewhereLeavesTheTextAndTheCaret) {
    widget.Hand = [](QDrag&, Qt::DropActions) { return Qt::MoveAction; }; // another program took it
    QTest::mousePress(widget.viewport(), Qt::LeftButton, {}, At(0, 1) + QPoint(1, 0));
    EXPECT_EQ(Text(), "abc def");
    EXPECT_EQ(Caret(), std::make_pair(0, 3));
    EXPECT_TRUE(Editor().IsSelected());
}

} // namespace
} // namespace quillon
