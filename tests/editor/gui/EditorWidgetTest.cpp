#include "EditorWidget.h"

#include "Cp932.h"
#include "EditorClipboard.h"
#include "EditorPopupMenu.h"
#include "KeyMacro.h"
#include "StreamUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace quillon {
namespace {

class EditorWidget : public ::testing::Test {
protected:
    EditorWidget() {
        widget.resize(400, 200);
        widget.show();
        widget.activateWindow();
        widget.setFocus();
        QApplication::processEvents();
    }

    TEditor& Editor() { return widget.Editor(); }
    void Commit(const QString& Text) {
        QInputMethodEvent event;
        event.setCommitString(Text);
        QApplication::sendEvent(&widget, &event);
    }
    void Key(Qt::Key K, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) { QTest::keyClick(&widget, K, Modifiers); }

    TEditorWidget widget;
};

TEST_F(EditorWidget, InputMethodCommitIsTypedOnce) {
    Commit(QString::fromUtf8("あいう"));
    EXPECT_EQ(Editor().Lines().Text(), Utf8ToCp932("あいう"));
    EXPECT_EQ(Editor().Col(), 6);
    // Keys typed afterwards are not swallowed.
    QTest::keyClicks(&widget, "ab");
    EXPECT_EQ(Editor().Lines().Text(), Utf8ToCp932("あいう") + "ab");
}

TEST_F(EditorWidget, PreeditTextIsDrawnByTheWidgetAndNotTyped) {
    QInputMethodEvent event(QString::fromUtf8("かな"), {});
    QApplication::sendEvent(&widget, &event);
    EXPECT_EQ(widget.PreeditText(), QString::fromUtf8("かな"));
    EXPECT_EQ(Editor().Lines().Text(), "");
    // The input method is told where the caret is.
    const QRect rect = widget.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    int x = 0, y = 0;
    Editor().GetCaretPoint(x, y);
    EXPECT_EQ(rect.topLeft(), QPoint(x, y) + widget.viewport()->pos());
}

TEST_F(EditorWidget, CharactersOutsideCp932BecomeQuestionMarksAndAreReported) {
    int reported = 0;
    widget.OnCharactersReplaced = [&](int count) { reported += count; };
    Commit(QString::fromUtf8("a😀ü"));
    EXPECT_EQ(Editor().Lines().Text(), "a??");
    EXPECT_EQ(reported, 2);
    // Typed keys and pasted text from other programs go the same way.
    QApplication::clipboard()->setText(QString::fromUtf8("€"));
    Editor().Perform(WM_PASTE);
    EXPECT_EQ(reported, 3);
}

TEST_F(EditorWidget, TypedKeysBecomeCharactersAndNavigationKeys) {
    QTest::keyClicks(&widget, "abc");
    Key(Qt::Key_Left);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Editor().Lines().Text(), "a\r\n\tc");
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_TRUE(Editor().IsSelected());
}

// A key with Alt held types nothing; with Ctrl held it types its control character, of which only
// Ctrl+H (Back Space) and Ctrl+M (Enter) act: Alt+Enter and Ctrl+Enter once split a data line.
TEST_F(EditorWidget, KeysWithAltOrCtrlTypeWhatTheKeyboardGives) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier,
                                ctrlShift = ctrl | Qt::ShiftModifier;
    const struct {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        const char* Text; // after the key, the caret standing before "c" of "abc"
    } cases[] = {
        {Qt::Key_Return, none, "ab\r\nc"},
        {Qt::Key_Enter, none, "ab\r\nc"},
        {Qt::Key_X, none, "abxc"},
        {Qt::Key_Return, alt, "abc"},
        {Qt::Key_Enter, alt, "abc"},
        {Qt::Key_Backspace, alt, "abc"},
        {Qt::Key_X, alt, "abc"},
        {Qt::Key_H, alt, "abc"},
        {Qt::Key_Return, ctrl, "abc"},
        {Qt::Key_Enter, ctrl, "abc"},
        {Qt::Key_Return, ctrlShift, "abc"},
        {Qt::Key_Backspace, ctrl, "abc"},
        {Qt::Key_Tab, ctrl, "abc"},
        {Qt::Key_X, ctrl, "abc"},
        {Qt::Key_X, ctrlShift, "abc"},
        {Qt::Key_I, ctrl, "abc"},
        {Qt::Key_H, ctrl, "ac"},
        {Qt::Key_H, ctrlShift, "ac"},
        {Qt::Key_M, ctrl, "ab\r\nc"},
        {Qt::Key_M, ctrlShift, "\r\nabc"},
    };
    for (const auto& [key, modifiers, text] : cases) {
        SCOPED_TRACE(QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString());
        Editor().Lines().SetText("abc");
        Editor().SetRowCol(0, 2);
        Key(key, modifiers);
        EXPECT_EQ(Editor().Lines().Text(), text);
    }
}

TEST_F(EditorWidget, BoxCopyAndPasteThroughTheSystemClipboardKeepTheBytes) {
    const std::string text = "ab" + Utf8ToCp932("①あ") + "cd\r\nxy" + Utf8ToCp932("ｱｲｳ") + "z\r\n";
    Editor().Lines().SetText(text);
    Editor().SetSelectionMode(1);
    Editor().SetRowCol(0, 2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    for (int i = 0; i < 4; ++i) Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(Editor().IsSelected());
    Editor().Perform(WM_COPY);
    const std::string box = Utf8ToCp932("①あ") + "\r\n" + Utf8ToCp932("ｱｲｳ") + "z\r\n";
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(BoxMimeType));
    EXPECT_EQ(data->data(Cp932MimeType), QByteArray(box.data(), qsizetype(box.size())));
    // Cut the box out, then paste it back at the same place: the text is restored byte for byte.
    Editor().Perform(WM_CLEAR);
    EXPECT_EQ(Editor().Lines().Text(), "abcd\r\nxy\r\n");
    Editor().SetRowCol(0, 2);
    Editor().Perform(WM_PASTE);
    EXPECT_EQ(Editor().Lines().Text(), text);
}

// Columns (of the whole image) that hold a dark pixel in rows Top..Bottom-1.
std::vector<int> InkColumns(const QImage& Image, int Left, int Right, int Top, int Bottom) {
    std::vector<int> columns;
    for (int x = Left; x < Right; ++x)
        for (int y = Top; y < Bottom; ++y)
            if (qGray(Image.pixel(x, y)) < 128) {
                columns.push_back(x);
                break;
            }
    return columns;
}

TEST_F(EditorWidget, RenderedGlyphsTakeTwoCellsAndTheCaretIsWhereTheModelSays) {
    Commit(QString::fromUtf8("あい漢"));
    const int cw = Editor().CharWidth(), top = Editor().TextTop(), left = Editor().TextLeft();
    const int bottom = top + Editor().FontHeight();
    ASSERT_TRUE(widget.CaretVisible());
    const QImage image = widget.Render();
    // Each glyph's ink lies within its own two cells and reaches into the second.
    for (int c = 0; c < 3; ++c) {
        const int x = left + 2 * c * cw;
        const std::vector<int> ink = InkColumns(image, x, x + 2 * cw, top, bottom);
        ASSERT_FALSE(ink.empty()) << c;
        EXPECT_GE(ink.back(), x + cw) << c;
    }
    // The caret stands after the third character: a 2-pixel block, drawn inverted on white.
    int x = 0, y = 0;
    Editor().GetCaretPoint(x, y);
    EXPECT_EQ(x, left + 6 * cw);
    EXPECT_EQ(widget.CaretRect(), QRect(x, y, 2, Editor().FontHeight()));
    EXPECT_EQ(image.pixel(x, y + 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(x + 1, y + 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(x + 2, y + 2), qRgb(255, 255, 255));
    // Nothing of the glyphs lies between the text and the caret.
    EXPECT_TRUE(InkColumns(image, left + 6 * cw - 0, x, top, bottom).empty());
}

// After a load only the first screens are coloured; the event loop's idle time colours the rest, and
// typing meanwhile is not held up by it.
TEST_F(EditorWidget, IdleTimeColoursTheWholeText) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "row (" + std::to_string(i) + ")\r\n";
    Editor().Lines().SetText(text);
    TEditorScreenStrings& rows = Editor().ScreenStrings();
    EXPECT_LT(rows.FirstNotComputed(0), 1000);
    QTest::keyClicks(&widget, "ab");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows.FirstNotComputed(0) == rows.Count(); }, 20000));
    EXPECT_EQ(Editor().Lines()[0], "abrow (0)");
}

// Switching word wrap on cuts the rows on the screen at once and paints them as the whole cut does;
// the event loop's idle time cuts the rest, and the scroll bar grows with it.
TEST_F(EditorWidget, AWrapSwitchPaintsAtOnceAndIdleTimeWrapsTheRest) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += std::string(static_cast<std::size_t>(i % 150), 'a') + " row\r\n";
    Editor().SetScrollBars(ssVertical);
    widget.clearFocus(); // the blinking caret would make the two pictures depend on the time between them
    ASSERT_FALSE(widget.hasFocus());
    Editor().Lines().SetText(text);
    Editor().SetWordWrap(true);
    TEditorScreenStrings& rows = Editor().ScreenStrings();
    ASSERT_TRUE(rows.RewrapPending());
    const QImage first = widget.Render();
    EXPECT_TRUE(rows.RewrapPending()) << "a paint cuts only the rows it shows";
    QScrollBar* bar = widget.verticalScrollBar();
    const int barBefore = bar->maximum();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rows.RewrapPending(); }, 20000));
    EXPECT_EQ(widget.Render(), first);
    const int barAfter = bar->maximum();
    EXPECT_GT(barAfter, barBefore);
    Editor().UpdateScrollBars();
    EXPECT_EQ(bar->maximum(), barAfter) << "the bar grew with the steps";
    EXPECT_EQ(Editor().Lines().Text(), text);
    TEditor whole;
    whole.WrapOption().SetWrapByte(Editor().WrapOption().WrapByte());
    whole.SetWordWrap(true);
    whole.Lines().SetText(text);
    EXPECT_EQ(Editor().RowCount(), whole.RowCount());
}

TEST_F(EditorWidget, ScrollBarsDriveTheTopRow) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "row " + std::to_string(i) + "\r\n";
    Editor().Lines().SetText(text);
    Editor().SetScrollBars(ssBoth);
    QApplication::processEvents();
    QScrollBar* bar = widget.verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Editor().TopRow(), 1);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Editor().TopRow(), 1 + Editor().RowsPerPage());
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Editor().TopRow(), 0);
    QWheelEvent wheel(QPointF(50, 50), widget.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget.viewport(), &wheel);
    EXPECT_EQ(Editor().TopRow(), 3);
}

TEST_F(EditorWidget, MouseClickPutsTheCaret) {
    Editor().Lines().SetText("hello world\r\nsecond");
    const int cw = Editor().CharWidth();
    const QPoint p(Editor().TextLeft() + 4 * cw + 1, Editor().TextTop() + Editor().RowHeight() + 2);
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(Editor().Row(), 1);
    EXPECT_EQ(Editor().Col(), 4);
}

TEST_F(EditorWidget, CursorShowsTheRegionUnderTheMouse) {
    Editor().Lines().SetText("abc\r\ndef");
    Editor().Leftbar().SetVisible(true);
    QTest::mouseMove(widget.viewport(), QPoint(2, Editor().TextTop() + 2));
    EXPECT_EQ(widget.viewport()->cursor().shape(), Qt::BitmapCursor); // the drawn right arrow
    QTest::mouseMove(widget.viewport(), QPoint(Editor().TextLeft() + 20, Editor().TextTop() + 2));
    EXPECT_EQ(widget.viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(EditorWidget, CaretBlinksWhileFocusedAndGoesWithTheFocus) {
    ASSERT_TRUE(widget.hasFocus());
    EXPECT_TRUE(widget.CaretVisible());
    const QRect caret = widget.CaretRect();
    const QImage on = widget.Render();
    const QPoint p = caret.topLeft() + QPoint(0, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return widget.Render().pixel(p) != on.pixel(p); }, 5000));
    widget.clearFocus();
    EXPECT_FALSE(widget.CaretVisible());
    EXPECT_EQ(widget.Render().pixel(p), qRgb(255, 255, 255));
}

// The action of a menu (or its submenus) with that text.
QAction* ActionOf(QMenu& Menu, const QString& Text) {
    for (QAction* action : Menu.actions()) {
        if (action->text() == Text) return action;
        if (action->menu())
            if (QAction* found = ActionOf(*action->menu(), Text)) return found;
    }
    return nullptr;
}

TEST_F(EditorWidget, ContextMenuShowsTheModelsItemsAndRunsThem) {
    Editor().Lines().SetText("abc");
    QMenu menu;
    FillPopupMenu(menu, Editor().PopupMenu());
    QAction* undo = ActionOf(menu, QString::fromUtf8("元に戻す(&U)"));
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    QAction* mark = ActionOf(menu, "3");
    ASSERT_NE(mark, nullptr);
    QAction* selectAll = ActionOf(menu, QString::fromUtf8("すべて選択(&A)"));
    ASSERT_NE(selectAll, nullptr);
    ASSERT_TRUE(selectAll->isEnabled());
    selectAll->trigger();
    EXPECT_EQ(Editor().SelLength(), 3);
    // Shown again, the menu offers copying the selection.
    QMenu again;
    FillPopupMenu(again, Editor().PopupMenu());
    EXPECT_TRUE(ActionOf(again, QString::fromUtf8("コピー(&C)"))->isEnabled());
}

// Keys, typed text and an input-method commit recorded on one window replay on another with the
// modifiers of the recording, though no key is held during the replay.
TEST_F(EditorWidget, KeyMacroRecordedOnTheWindowReplaysOnAnother) {
    TKeyMacro macro;
    macro.SetControl(&Editor());
    macro.StartRecord();
    Commit(QString::fromUtf8("日本"));
    QTest::keyClicks(&widget, "ab");
    Key(Qt::Key_Home);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    macro.EndRecord();
    ASSERT_EQ(Editor().SelText(), Utf8ToCp932("日"));

    TEditorWidget other;
    other.resize(400, 200);
    macro.SetControl(&other.Editor());
    macro.Execute();
    EXPECT_EQ(other.Editor().Lines().Text(), Utf8ToCp932("日本ab"));
    EXPECT_EQ(other.Editor().SelText(), Utf8ToCp932("日"));
    EXPECT_FALSE(other.KeyDown(VK_SHIFT));
    other.SetKeyState(VK_MENU, 0x80);
    EXPECT_TRUE(other.KeyDown(VK_MENU));
}

// A set taken from a window and given to another makes it look the same: colour, font, marks,
// wrap and gutters.
TEST_F(EditorWidget, PropertySetCarriesTheWindowsWholeLook) {
    TEditorProp set;
    set.SetColor(clTeal);
    set.Font().SetHeight(-20);
    set.Font().SetColor(clYellow);
    set.Font().SetStyle(StyleBit(fsBold));
    set.Leftbar().SetVisible(true);
    set.Ruler().SetVisible(true);
    set.Marks().RetMark().SetVisible(true);
    set.SetWordWrap(true);
    set.WrapOption().SetWrapByte(20);
    widget.AssignProp(set);
    EXPECT_EQ(widget.Color(), clTeal);
    EXPECT_EQ(widget.FontColor(), clYellow);
    EXPECT_EQ(widget.FontStyle(), StyleBit(fsBold));
    EXPECT_EQ(widget.EditorQFont().pixelSize(), 20);
    EXPECT_TRUE(Editor().WordWrap());

    TEditorProp back;
    back.SetFileExtList(set.FileExtList());
    widget.AssignToProp(back);
    EXPECT_EQ(WriteComponent(back), WriteComponent(set));

    const std::string text = "abc\tdef " + std::string(30, 'x') + "\r\n" + Utf8ToCp932("日本語");
    Editor().Lines().SetText(text);
    TEditorWidget other;
    other.resize(widget.size());
    other.Editor().Lines().SetText(text);
    other.AssignProp(back);
    other.show();
    QApplication::processEvents();
    EXPECT_EQ(other.Render(), widget.Render());
}

} // namespace
} // namespace quillon
