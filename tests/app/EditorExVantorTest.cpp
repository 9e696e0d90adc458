#include "EditorExVantor.h"
#include "EditorTestHost.h"
#include "MotionColourer.h"
#include "MotionTestLines.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quillon {
namespace {

class EditorExVantor : public ::testing::Test {
protected:
    void SetUp() override {
        E.SetHost(&Host);
        E.Lines().SetText("abcdef ghij\nklmnop qrst\nuvwxyz 0123\n");
        E.SetRowCol(0, 0);
    }
    TLParam Point(int Row, int Col) const {
        return MakeLParam(E.TextLeft() + Col * E.CharWidth() + 1, E.TextTop() + Row * E.RowHeight() + 2);
    }
    // A mouse selection from one cell to another, with Alt held or not.
    void Drag(int Row1, int Col1, int Row2, int Col2, bool Alt) {
        if (Alt) Host.Keys.insert(VK_MENU);
        Host.Keys.insert(VK_LBUTTON);
        E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(Row1, Col1));
        E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(Row2, Col2));
        Host.Keys.erase(VK_LBUTTON);
        E.Perform(WM_LBUTTONUP, 0, Point(Row2, Col2));
        Host.Keys.erase(VK_MENU);
    }
    void Click(int Row, int Col) { Drag(Row, Col, Row, Col, false); }

    TTestHost Host;
    TEditorExVantor E;
};

// ---- Alt selection

TEST_F(EditorExVantor, AltDragSelectsABoxAndStreamModeReturnsWithTheNextSelectionChange) {
    ASSERT_EQ(E.SelectionMode(), 0);
    Drag(0, 1, 2, 3, true);
    EXPECT_EQ(E.SelectionMode(), 1);
    EXPECT_TRUE(E.IsSelected());
    EXPECT_EQ(E.SelText(), "bc\r\nlm\r\nvw\r\n") << "a box of two columns over three rows";
    EXPECT_EQ(E.AltSelection(), asRestorePending);
    Click(1, 0); // cancels the box: the first selection change after the release
    EXPECT_EQ(E.SelectionMode(), 0);
    EXPECT_EQ(E.AltSelection(), asNone);
    Drag(0, 1, 2, 3, false);
    EXPECT_EQ(E.SelText(), "bcdef ghij\r\nklmnop qrst\r\nuvw");
}

TEST_F(EditorExVantor, AltDragInBoxModeLeavesBoxModeOn) {
    E.SetSelectionMode(1);
    Drag(0, 1, 1, 3, true);
    EXPECT_EQ(E.SavedSelectionMode(), 1);
    Click(2, 0);
    EXPECT_EQ(E.SelectionMode(), 1);
    EXPECT_EQ(E.AltSelection(), asNone);
}

TEST_F(EditorExVantor, DragWithoutAltKeepsTheMode) {
    Drag(0, 1, 1, 3, false);
    EXPECT_EQ(E.SelectionMode(), 0);
    EXPECT_EQ(E.AltSelection(), asNone);
}

TEST_F(EditorExVantor, ModeChangedAfterTheReleaseIsNotUndone) {
    Drag(0, 1, 1, 3, true);
    E.SetSelectionMode(0); // the user's own choice cancels the pending restore
    EXPECT_EQ(E.AltSelection(), asNone);
    E.SetSelectionMode(1);
    Click(2, 0);
    EXPECT_EQ(E.SelectionMode(), 1);
}

TEST_F(EditorExVantor, ModeIsBoxWhileTheButtonIsDown) {
    Host.Keys = {VK_MENU, VK_LBUTTON};
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1));
    EXPECT_EQ(E.AltSelection(), asButtonDown);
    EXPECT_EQ(E.SelectionMode(), 1);
    EXPECT_EQ(E.SavedSelectionMode(), 0);
}

// Two Alt presses before any selection change: the second must not save the box mode that the first
// one switched to, or the stream mode would never come back.
TEST_F(EditorExVantor, SecondAltPressBeforeTheRestoreKeepsTheFirstSavedMode) {
    Host.Keys = {VK_MENU, VK_LBUTTON};
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1));
    Host.Keys.erase(VK_LBUTTON);
    E.Perform(WM_LBUTTONUP, 0, Point(0, 1)); // a click: no selection changed
    ASSERT_EQ(E.AltSelection(), asRestorePending);
    Drag(0, 1, 1, 3, true);
    EXPECT_EQ(E.SavedSelectionMode(), 0);
    Click(2, 0);
    EXPECT_EQ(E.SelectionMode(), 0);
}

// ---- The double-click flag

TEST_F(EditorExVantor, DoubleClickSelectsTheWordWithoutTheFlag) {
    E.SetRowCol(0, 9);
    E.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(0, 9));
    EXPECT_EQ(E.SelText(), "ghij");
}

TEST_F(EditorExVantor, FieldSelectedByTheWindowStandsWhenItSetsTheFlag) {
    E.OnDblClick = [this](TEditor&) {
        // The window's own field selection: here the whole row.
        E.SetSelStart(0);
        E.SetSelLength(11);
        E.SetDblClickFlag(true);
    };
    E.SetRowCol(0, 9);
    E.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(0, 9));
    EXPECT_EQ(E.SelText(), "abcdef ghij");
    EXPECT_FALSE(E.DblClickFlag()) << "the flag belongs to one double click";
    // While the flag is set, token selection from a point does nothing.
    E.SetDblClickFlag(true);
    EXPECT_FALSE(E.SelectTokenFromPos(E.TextLeft() + 1, E.TextTop() + 2));
    E.SetDblClickFlag(false);
    EXPECT_TRUE(E.SelectTokenFromPos(E.TextLeft() + 1, E.TextTop() + 2));
    EXPECT_EQ(E.SelText(), "abcdef");
}

TEST_F(EditorExVantor, FlagIsClearedEvenWhenTheDoubleClickHandlerRaises) {
    E.OnDblClick = [this](TEditor&) {
        E.SetDblClickFlag(true);
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(E.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(0, 1)), std::runtime_error);
    EXPECT_FALSE(E.DblClickFlag());
}

// A double click on the V list of a motion line, handled as the edit window does: the list field
// is selected in the simple scan, then the flag keeps the full scan from selecting one piece of it.
class MotionDoubleClick : public EditorExVantor {
protected:
    void SetUp() override {
        EditorExVantor::SetUp();
        std::string line = testlines::Motion({});
        line.replace(line.find(" 9 "), 3, " 1/2/3 ");
        E.Lines().SetText(line);
        E.SetColourer(&Colourer);
        Col = static_cast<int>(line.find("1/2/3")) + 2; // on the 2
    }
    void TearDown() override { E.SetColourer(nullptr); }
    void DoubleClick() {
        E.OnDblClick = [this](TEditor&) {
            Colourer.SetParseMode(pmSimple);
            E.SelectTokenFromCaret();
            Colourer.SetParseMode(pmFull);
            E.SetDblClickFlag(true);
        };
        E.SetRowCol(0, Col);
        E.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, Point(0, Col));
    }

    TMotionColourer Colourer{nullptr};
    int Col = 0;
};

TEST_F(MotionDoubleClick, WholeListIsSelectedWithTheFlag) {
    DoubleClick();
    EXPECT_EQ(E.SelText(), "1/2/3");
}

// ---- Hints

class TTestHintScreen : public THintScreen {
public:
    int Cursor[2] = {100, 200};
    int Origin[2] = {1000, 500}; // the client area's top left on the screen
    TRect Screen{0, 0, 1920, 1080};
    std::vector<std::string> Log;

    void CursorPos(int& X, int& Y) const override { X = Cursor[0], Y = Cursor[1]; }
    int CursorHeight() const override { return 32; }
    void ClientToScreen(int& X, int& Y) const override { X += Origin[0], Y += Origin[1]; }
    TRect ScreenRect() const override { return Screen; }
    // 8 pixels a byte and 6 of border, 18 high.
    TRect CalcHintRect(int MaxWidth, const std::string& Text) const override {
        return {0, 0, std::min(MaxWidth, static_cast<int>(Text.size()) * 8 + 6), 18};
    }
    void ShowHint(const TRect& R, const std::string& Text) override {
        Log.push_back("show " + Text + " " + std::to_string(R.Left) + " " + std::to_string(R.Top) + " " +
                      std::to_string(R.Right) + " " + std::to_string(R.Bottom));
    }
    void HideHint() override { Log.push_back("hide"); }
};

class EditorHints : public EditorExVantor {
protected:
    void SetUp() override {
        EditorExVantor::SetUp();
        E.HintWindow().SetScreen(&Screen);
    }
    void TearDown() override { E.HintWindow().SetScreen(nullptr); } // the screen goes first
    const THintWindow& Hint() const { return E.HintWindow(); }
    TTestHintScreen Screen;
};

TEST_F(EditorHints, HintAtTheCursorOpensBelowTheCursor) {
    E.ShowHintAtCursor("abc");
    EXPECT_TRUE(Hint().HandleAllocated());
    EXPECT_EQ(Hint().Caption(), "abc");
    EXPECT_EQ(Hint().BoundsRect(), (TRect{100, 232, 130, 250}));
    EXPECT_EQ(Screen.Log, std::vector<std::string>{"show abc 100 232 130 250"});
    E.HideHint();
    EXPECT_FALSE(Hint().HandleAllocated());
    E.HideHint(); // hiding a hidden hint asks nothing of the screen
    EXPECT_EQ(Screen.Log.back(), "hide");
    EXPECT_EQ(Screen.Log.size(), 2u);
}

TEST_F(EditorHints, HintAtTheCaretOpensOneRowBelowTheCaretsTop) {
    E.SetRowCol(1, 3);
    int x = 0, y = 0;
    E.GetCaretPoint(x, y);
    E.ShowHintAtCaret("ab");
    const int left = 1000 + x, top = 500 + y + E.RowHeight();
    EXPECT_EQ(Hint().BoundsRect(), (TRect{left, top, left + 22, top + 18}));
}

TEST_F(EditorHints, HintIsAtMostAsWideAsTheScreen) {
    Screen.Cursor[0] = 0;
    E.ShowHintAtCursor(std::string(500, 'x'));
    EXPECT_EQ(Hint().BoundsRect().Width(), 1920);
}

// A hint near the right or bottom edge would be cut off by the screen: it moves back inside.
TEST_F(EditorHints, HintNearTheScreensEdgesMovesBackOntoTheScreen) {
    Screen.Cursor[0] = 1900, Screen.Cursor[1] = 1070;
    E.ShowHintAtCursor("abc");
    EXPECT_EQ(Hint().BoundsRect(), (TRect{1890, 1062, 1920, 1080}));
}

TEST_F(EditorHints, WithoutAScreenNoHintIsShown) {
    E.HintWindow().SetScreen(nullptr);
    E.ShowHintAtCursor("abc");
    E.ShowHintAtCaret("abc");
    EXPECT_FALSE(Hint().HandleAllocated());
}

TEST_F(EditorHints, ShownHintIsHiddenWhenTheEditorGoes) {
    auto editor = std::make_unique<TEditorExVantor>();
    editor->HintWindow().SetScreen(&Screen);
    editor->ShowHintAtCursor("abc");
    editor.reset();
    EXPECT_EQ(Screen.Log.back(), "hide");
}

} // namespace
} // namespace quillon
