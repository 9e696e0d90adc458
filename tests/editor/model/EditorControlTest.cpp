#include "EditorControl.h"
#include "Cp932.h"
#include "EditorPopupMenu.h"
#include "EditorTestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace quillon {
namespace {

class EditorControl : public ::testing::Test {
protected:
    void SetUp() override { E.SetHost(&Host); }

    void SetText(std::string_view S) {
        E.Lines().SetText(S);
        E.SetRowCol(0, 0);
    }
    std::string Text() const { return E.Lines().Text(); }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < E.RowCount(); ++i)
            rows.push_back(E.GetRowString(i) + "/" + std::to_string(E.GetRowAttribute(i)));
        return rows;
    }
    std::pair<int, int> Caret() const { return {E.Row(), E.Col()}; }
    // Holds Shift and Ctrl as asked while the message is dispatched.
    TLResult Send(TMessage Msg, TWParam W, TLParam L = 0, bool Shift = false, bool Ctrl = false) {
        if (Shift) Host.Keys.insert(VK_SHIFT);
        if (Ctrl) Host.Keys.insert(VK_CONTROL);
        const TLResult r = E.Perform(Msg, W, L);
        Host.Keys.erase(VK_SHIFT);
        Host.Keys.erase(VK_CONTROL);
        return r;
    }
    void Key(int Vk, bool Shift = false, bool Ctrl = false) {
        Send(WM_KEYDOWN, static_cast<TWParam>(Vk), 0, Shift, Ctrl);
        Send(WM_KEYUP, static_cast<TWParam>(Vk));
    }
    void Char(int Code, bool Shift = false) { Send(WM_CHAR, static_cast<TWParam>(Code), 0, Shift); }
    // Each byte as the system sends it: a double-byte character as two WM_CHAR messages.
    void Type(std::string_view S) {
        for (std::size_t i = 0; i < S.size(); ++i) {
            const int c = static_cast<unsigned char>(S[i]);
            if (IsLeadByte(S[i]) && i + 1 < S.size()) Host.Queue.push_back(static_cast<unsigned char>(S[++i]));
            Char(c);
            Host.Queue.clear();
        }
    }
    int UndoSteps() { return static_cast<int>(E.ScreenStrings().UndoObj().UndoList().size()); }
    // The client point of a row and column.
    TLParam Point(int Row, int Col, int Dx = 1) const {
        return MakeLParam(E.TextLeft() + (Col - E.TopCol()) * E.CharWidth() + Dx,
                          E.TextTop() + (Row - E.TopRow()) * E.RowHeight() + 2);
    }

    TTestHost Host;
    TEditor E;
};

// ---- Construction, properties and text offsets

TEST_F(EditorControl, DefaultsAndClampedProperties) {
    TEditor plain;
    EXPECT_EQ(plain.Width(), 185);
    EXPECT_EQ(plain.Height(), 89);
    EXPECT_TRUE(plain.WantReturns());
    EXPECT_TRUE(plain.WantTabs());
    EXPECT_EQ(&plain.ActiveColourerRef(), &plain.View().Colourer());
    plain.SetUndoListMax(10);
    EXPECT_EQ(plain.UndoListMax(), 64);
    plain.SetUndoListMax(100);
    EXPECT_EQ(plain.UndoListMax(), 100);
    EXPECT_EQ(E.Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS);
    E.SetWantTabs(false);
    E.SetWantReturns(false);
    EXPECT_EQ(E.Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(EditorControl, ReserveWordsGoToTheViewColourer) {
    TStringList words;
    words.Add("begin");
    E.SetReserveWordList(words);
    EXPECT_EQ(E.View().Colourer().ReserveWordList().Count(), 1);
}

TEST_F(EditorControl, FontChangeScrollsBackToTheLeft) {
    SetText(std::string(300, 'a'));
    E.Perform(WM_SETFOCUS);
    E.SetCol(200);
    ASSERT_GT(E.TopCol(), 0);
    Host.AveCharWidth = 10;
    E.FontChanged();
    EXPECT_EQ(E.TopCol(), 0);
    EXPECT_EQ(E.Col(), 0);
    EXPECT_EQ(E.CharWidth(), 10);
}

TEST_F(EditorControl, OffsetsOfTwoLines) {
    SetText("ab\r\ncd");
    E.SetRowCol(1, 1);
    EXPECT_EQ(E.SelStart(), 5);
    // The selection from row 0 index 1 to row 1 index 0 (inclusive): "b", CR LF, "c".
    E.SetRowCol(0, 1);
    E.StartSelection();
    E.SetRowCol(1, 1);
    E.ExtendSelection();
    EXPECT_EQ(E.SelStr(), (TSelection{0, 1, 1, 0}));
    EXPECT_EQ(E.SelLength(), 4);
    EXPECT_EQ(E.SelText(), "b\r\nc");
    EXPECT_EQ(E.GetTextLength(), 6);
    // A box over columns 1 to 2: every line ends with CR LF, the last one too.
    E.SetSelectionMode(1);
    E.SetRowCol(0, 1);
    E.StartSelection();
    E.SetRowCol(1, 2);
    E.ExtendSelection();
    EXPECT_EQ(E.SelText(), "b\r\nd\r\n");
    EXPECT_EQ(E.SelLength(), 6);
}

TEST_F(EditorControl, SelStartOnEmptyAndShortTexts) {
    EXPECT_EQ(E.SelStart(), 0);
    EXPECT_EQ(E.SelLength(), 0);
    SetText("0123456789");
    E.SetSelStart(100);
    EXPECT_EQ(Caret(), std::make_pair(0, 10));
    SetText("ab\r\ncd\r\n");
    E.SetSelStart(100);
    EXPECT_EQ(Caret(), std::make_pair(2, 0));
    E.SetSelStart(4);
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
}

TEST_F(EditorControl, ColumnConversions) {
    E.Caret().SetTabSpaceCount(4);
    SetText("\tab\x82\xa0x");
    EXPECT_EQ(E.ClassString(0), "233311451");
    EXPECT_EQ(TEditor::ColToIndexStart("233311451", 2), 2); // a tab fill moves right to its end
    EXPECT_EQ(TEditor::ColToIndexStart("233311451", 8), 6); // a second half moves right
    EXPECT_EQ(TEditor::ColToIndexEnd("233311451", 3), 1);   // a tab fill moves left to the tab
    EXPECT_EQ(TEditor::ColToIndexEnd("233311451", 7), 5);   // a first half moves right
    EXPECT_EQ(E.ExpandTabs("a\tb"), "a   b");
    EXPECT_EQ(E.IndentOf(""), -1);
    EXPECT_EQ(E.IndentOf("\x81\x40 \tx"), 4);
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    // With word wrap a tab's fill stops at the wrap column.
    EXPECT_EQ(E.DisplayWidth(std::string(18, 'a') + "\t"), 20);
}

// ---- Keys and typed characters

TEST_F(EditorControl, EnterOnEmptyText) {
    Char(VK_RETURN);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"/0"}));
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    EXPECT_TRUE(E.Modified());
    EXPECT_TRUE(Host.Logged("invalidate"));
}

struct TKeyCase {
    const char* Name;
    const char* Text;
    int Row, Col;
    int Code; // WM_CHAR code, or -VK for a WM_KEYDOWN
    bool Shift;
    std::vector<std::string> Rows;
    int CaretRow, CaretCol;
    // GoogleTest names a case by its name instead of printing its bytes, padding included.
    friend void PrintTo(const TKeyCase& C, std::ostream* Os) { *Os << C.Name; }
};

class EditorKeys : public EditorControl, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(EditorKeys, Edit) {
    const TKeyCase& c = GetParam();
    SetText(c.Text);
    E.SetRowCol(c.Row, c.Col);
    const int steps = UndoSteps();
    Host.Log.clear();
    if (c.Code < 0)
        Key(-c.Code, c.Shift);
    else
        Char(c.Code, c.Shift);
    EXPECT_EQ(Rows(), c.Rows);
    EXPECT_EQ(Caret(), std::make_pair(c.CaretRow, c.CaretCol));
    EXPECT_TRUE(Host.Logged("invalidate")); // the changed rows are repainted
    // Every command is one undo step, and undoing it gives the text back.
    EXPECT_EQ(UndoSteps(), steps + 1);
    E.Undo();
    EXPECT_EQ(Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditorKeys,
    ::testing::Values(
        TKeyCase{"BackSpaceJoinsRows", "ab\r\ncd", 1, 0, VK_BACK, false, {"abcd/2"}, 0, 2},
        TKeyCase{"BackSpaceOnRowAfterLast", "ab\r\n", 1, 0, VK_BACK, false, {"ab/2"}, 0, 2},
        TKeyCase{"BackSpaceDeletesDoubleByte", "a\x82\xa0", 0, 3, VK_BACK, false, {"a/2"}, 0, 1},
        TKeyCase{"UnIndentToLineAbove", "    a\r\n        b", 1, 8, VK_BACK, false, {"    a/0", "    b/2"}, 1, 4},
        TKeyCase{"EnterSplitsWithAutoIndent", "  abcd", 0, 4, VK_RETURN, false, {"  ab/0", "  cd/2"}, 1, 2},
        TKeyCase{"ShiftEnterInsertsIndentedLineAbove", "    abc", 0, 7, VK_RETURN, true, {"    /0", "    abc/2"}, 0, 4},
        TKeyCase{"DeleteJoinsRows", "ab\r\ncd", 0, 2, -VK_DELETE, false, {"abcd/2"}, 0, 2},
        TKeyCase{"DeleteLastLineBreak", "ab\r\n", 0, 2, -VK_DELETE, false, {"ab/2"}, 0, 2},
        TKeyCase{"DeletePadsBeforeJoining", "ab\r\ncd", 0, 4, -VK_DELETE, false, {"ab  cd/2"}, 0, 4},
        TKeyCase{"DeleteDoubleByte", "\x82\xa0z", 0, 0, -VK_DELETE, false, {"z/2"}, 0, 0},
        TKeyCase{"TypeBeyondRowEndPads", "abcde", 0, 12, 'x', false, {"abcde       x/2"}, 0, 13}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditorControl, TypingInALongRowRecordsOnlyTheBytesItChanges) {
    const std::string text = std::string(100000, 'a') + "\r\nb";
    SetText(text);
    E.SetRowCol(0, 10);
    Char('x');
    Char(VK_BACK);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), std::string(99999, 'a') + "\r\nb");
    EXPECT_EQ(Caret(), std::make_pair(0, 10));
    ASSERT_EQ(UndoSteps(), 3);
    for (const TUndoData& record : E.ScreenStrings().UndoObj().UndoList()) EXPECT_LE(record.Text.size(), 1u);
    for (int i = 0; i < 3; ++i) E.Undo();
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(Caret(), std::make_pair(0, 10));
    E.Redo();
    EXPECT_EQ(Text(), std::string(10, 'a') + "x" + std::string(99990, 'a') + "\r\nb");
}

TEST_F(EditorControl, BackSpaceAtWrappedContinuation) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText("abcdefghijklmnopqrstuvwxy");
    ASSERT_EQ(Rows(), (std::vector<std::string>{"abcdefghijklmnopqrst/1", "uvwxy/2"}));
    E.SetRowCol(1, 0);
    Char(VK_BACK);
    EXPECT_EQ(Text(), "abcdefghijklmnopqrsuvwxy");
    EXPECT_EQ(Caret(), std::make_pair(0, 19));
}

TEST_F(EditorControl, EnterIndentOptions) {
    // TabIndent writes the indent as tabs and blanks.
    E.Caret().SetTabIndent(true);
    E.Caret().SetTabSpaceCount(4);
    SetText("      x");
    E.SetRowCol(0, 7);
    Char(VK_RETURN);
    EXPECT_EQ(Text(), "      x\r\n\t  ");
    // PrevSpaceIndent takes the indent of the last line above that is not empty.
    E.Caret().SetTabIndent(false);
    E.Caret().SetPrevSpaceIndent(true);
    SetText("   a\r\n\r\n");
    E.SetRowCol(1, 0);
    Char(VK_RETURN);
    EXPECT_EQ(Text(), "   a\r\n\r\n   \r\n");
    EXPECT_EQ(Caret(), std::make_pair(2, 3));
    // Without AutoIndent nothing is indented; left of the indent the caret column is taken.
    SetText("    y");
    E.SetRowCol(0, 2);
    Char(VK_RETURN);
    EXPECT_EQ(Text(), "  \r\n    y");
    E.Caret().SetAutoIndent(false);
    SetText("    z");
    E.SetRowCol(0, 5);
    Char(VK_RETURN);
    EXPECT_EQ(Text(), "    z\r\n");
}

TEST_F(EditorControl, TabFillsToTheStopAndTheWrapColumn) {
    E.Caret().SetSoftTab(true);
    SetText("abcde");
    E.SetRowCol(0, 5);
    Char(VK_TAB);
    EXPECT_EQ(Text(), "abcde   ");
    EXPECT_EQ(E.Col(), 8);
    // With word wrap at 20, a tab at column 18 fills only to the wrap column.
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(18, 'a'));
    E.SetRowCol(0, 18);
    Char(VK_TAB);
    EXPECT_EQ(Text(), std::string(18, 'a') + "  ");
    // Without SoftTab a tab character is typed; Ctrl+Tab does nothing.
    E.Caret().SetSoftTab(false);
    SetText("x");
    E.SetRowCol(0, 1);
    Send(WM_CHAR, VK_TAB, 0, false, true);
    EXPECT_EQ(Text(), "x");
    Char(VK_TAB);
    EXPECT_EQ(Text(), "x\t");
}

TEST_F(EditorControl, LeadBytePairsWithTheQueuedTrailByte) {
    Type("a\x82\xa0");
    EXPECT_EQ(Text(), "a\x82\xa0");
    EXPECT_EQ(E.Col(), 3);
    Char(0x82); // a lead byte without its trail byte is dropped
    EXPECT_EQ(Text(), "a\x82\xa0");
}

TEST_F(EditorControl, CompositionResultIsTypedOnce) {
    Host.Composition = "\x82\xa0\x82\xa2";
    E.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    EXPECT_EQ(Text(), "\x82\xa0\x82\xa2");
    const int steps = UndoSteps();
    Type("\x82\xa0\x82\xa2"); // the character messages of the same result
    EXPECT_EQ(Text(), "\x82\xa0\x82\xa2");
    EXPECT_EQ(UndoSteps(), steps);
    Type("a");
    EXPECT_EQ(Text(), "\x82\xa0\x82\xa2"
                      "a");
}

TEST_F(EditorControl, ReadOnlyBlocksEditingButNotNavigation) {
    SetText("abc");
    E.Perform(EM_SETREADONLY, 1);
    Type("x");
    Char(VK_BACK);
    Key(VK_DELETE);
    E.Perform(WM_SETTEXT, 0, reinterpret_cast<TLParam>("zz"));
    EXPECT_EQ(Text(), "abc");
    Key(VK_END);
    EXPECT_EQ(E.Col(), 3);
}

TEST_F(EditorControl, NavigationKeys) {
    SetText("one two\r\nthree\r\nfour");
    Key(VK_END, false, true);
    EXPECT_EQ(Caret(), std::make_pair(2, 4));
    Key(VK_HOME, false, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
    Key(VK_RIGHT, false, true); // to the next word start
    EXPECT_EQ(Caret(), std::make_pair(0, 4));
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 7));
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    Key(VK_LEFT, false, true); // back over the line break stops at the end of the row above
    EXPECT_EQ(Caret(), std::make_pair(0, 7));
    Key(VK_LEFT, false, true);
    EXPECT_EQ(Caret(), std::make_pair(0, 4));
    // Shift extends a selection from the caret; a key without Shift cancels it.
    Key(VK_END, true);
    EXPECT_EQ(E.SelText(), "two");
    Key(VK_DOWN);
    EXPECT_FALSE(E.IsSelected());
}

TEST_F(EditorControl, RepeatingKeys) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "row row\r\n";
    SetText(text);
    E.Perform(WM_SETFOCUS);
    const int last = E.RowsPerPage() - 1;
    E.SetRowCol(last, 0);
    // A repeating Down on the last visible row moves CaretVerticalAc rows.
    E.Perform(WM_KEYDOWN, VK_DOWN, KF_REPEAT_BIT);
    EXPECT_EQ(E.Row(), last + E.Speed().CaretVerticalAc());
    // While a key repeats the input-method window waits; the key's release moves it.
    Host.Ime[0] = Host.Ime[1] = -1;
    E.Perform(WM_KEYDOWN, VK_RIGHT, KF_REPEAT_BIT);
    EXPECT_EQ(Host.Ime[0], -1);
    E.Perform(WM_KEYUP, VK_RIGHT);
    EXPECT_EQ(Host.Ime[0], Host.Caret[0]);
    EXPECT_EQ(Host.Ime[1], Host.Caret[1]);
    E.Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Host.Ime[1], Host.Caret[1]);
}

TEST_F(EditorControl, NextLineMovesOverRowEnds) {
    E.Caret().SetFreeCaret(false);
    SetText("ab\r\ncd");
    E.SetRowCol(0, 2);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
    E.Caret().SetNextLine(true);
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
}

TEST_F(EditorControl, PageKeysKeepTheCaretDistance) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    SetText(text);
    const int page = (E.RowsPerPage() - 1) / 2 * 2;
    E.SetRowCol(2, 0);
    Key(VK_NEXT);
    EXPECT_EQ(E.TopRow(), page);
    EXPECT_EQ(E.Row(), page + 2);
    Key(VK_PRIOR);
    EXPECT_EQ(E.TopRow(), 0);
    Key(VK_PRIOR);
    EXPECT_EQ(E.Row(), 0);
}

// ---- Caret

TEST_F(EditorControl, KeepCaretAndFreeRow) {
    E.Caret().SetFreeCaret(false);
    SetText(std::string(30, 'a') + "\r\nbbbbb\r\n" + std::string(40, 'c'));
    struct {
        bool KeepCaret, FreeRow;
        int Middle, Last;
    } cases[] = {{true, false, 5, 20}, {false, false, 5, 5}, {false, true, 20, 20}};
    for (const auto& c : cases) {
        E.Caret().SetKeepCaret(c.KeepCaret);
        E.Caret().SetFreeRow(c.FreeRow);
        E.SetRowCol(0, 20);
        Key(VK_DOWN);
        EXPECT_EQ(E.Col(), c.Middle) << c.KeepCaret << c.FreeRow;
        Key(VK_DOWN);
        EXPECT_EQ(E.Col(), c.Last) << c.KeepCaret << c.FreeRow;
    }
    // With FreeRow a mouse click beyond the row's end puts the caret at the end.
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 20));
    Host.Keys.erase(VK_LBUTTON);
    E.Perform(WM_LBUTTONUP, 0, Point(1, 20));
    EXPECT_EQ(Caret(), std::make_pair(1, 5));
}

TEST_F(EditorControl, HorizontalMovesOverDoubleBytesAndTabs) {
    SetText("\x82\xa0x\r\nab\tc");
    Key(VK_RIGHT);
    EXPECT_EQ(E.Col(), 2);
    Key(VK_LEFT);
    EXPECT_EQ(E.Col(), 0);
    E.SetRowCol(1, 2);
    Key(VK_RIGHT);
    EXPECT_EQ(E.Col(), 8);
    Key(VK_LEFT);
    EXPECT_EQ(E.Col(), 2);
    E.Caret().SetInTab(true);
    Key(VK_RIGHT);
    EXPECT_EQ(E.Col(), 3);
    // SetRowCol steps back off a second half and out of a tab fill.
    E.Caret().SetInTab(false);
    E.SetRowCol(0, 1);
    EXPECT_EQ(E.Col(), 0);
    E.SetRowCol(1, 5);
    EXPECT_EQ(E.Col(), 2);
}

TEST_F(EditorControl, CaretOnWrappedRows) {
    E.Caret().SetFreeCaret(false);
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText(std::string(25, 'a'));
    ASSERT_EQ(E.GetRowAttribute(0), raWrapped);
    // The caret cannot stand behind the last character of a wrapped row.
    Key(VK_END);
    EXPECT_EQ(Caret(), std::make_pair(0, 19));
    Key(VK_RIGHT);
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    Key(VK_LEFT);
    EXPECT_EQ(Caret(), std::make_pair(0, 20 - 1));
    Key(VK_END, false, true);
    EXPECT_EQ(Caret(), std::make_pair(1, 5));
}

TEST_F(EditorControl, ColumnLimits) {
    SetText("abc");
    E.SetCol(5000);
    EXPECT_EQ(E.Col(), 1000);
    SetText(std::string(999, 'a') + "\x82\xa0");
    E.SetRowCol(0, 1001);
    EXPECT_EQ(E.Col(), 1001);
    E.SetCol(-4);
    EXPECT_EQ(E.Col(), 0);
}

TEST_F(EditorControl, ScrollingAndTheCaret) {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "row\r\n";
    SetText(text);
    E.SetScrollBars(ssBoth);
    E.SetTopRow(-3);
    EXPECT_EQ(E.TopRow(), 0);
    E.SetTopCol(5000);
    EXPECT_EQ(E.TopCol(), 1000 - E.ColsPerPage() / 2);
    E.SetTopCol(0);
    Host.Log.clear();
    E.Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(E.TopRow(), 1);
    EXPECT_EQ(Host.VPos, 1);
    EXPECT_TRUE(Host.Logged("scroll 0 -16"));
    EXPECT_EQ(E.Row(), 0);
    // With LockScroll the caret moves with the view, by the scroll actually applied.
    E.Caret().SetLockScroll(true);
    E.SetRowCol(5, 0);
    E.Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(E.Row(), 6);
    E.Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(E.TopRow(), E.RowCount());
    const int row = E.Row();
    E.Perform(WM_VSCROLL, SB_PAGEDOWN); // nothing left to scroll: the caret stays
    EXPECT_EQ(E.Row(), row);
    E.Perform(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(E.TopRow(), 0);
    E.Perform(WM_HSCROLL, MakeLParam(SB_THUMBTRACK, 7));
    EXPECT_EQ(E.TopCol(), 7);
}

TEST_F(EditorControl, CaretShapesAndNestedHiding) {
    SetText("\x82\xa0");
    E.Perform(WM_SETFOCUS);
    EXPECT_EQ(Host.CaretSize[0], 2);
    EXPECT_EQ(Host.CaretSize[1], 16);
    E.SetOverWrite(true);
    EXPECT_EQ(Host.CaretSize[0], 16); // a block over both halves
    E.SetOverWrite(false);
    E.Caret().SetStyle(csBrief);
    EXPECT_EQ(Host.CaretSize[1], 2);
    EXPECT_EQ(Host.Caret[1], E.TextTop() + 16 - 2); // under the character
    ASSERT_TRUE(E.CaretShown());
    E.CaretBeginUpdate();
    E.CaretBeginUpdate();
    EXPECT_FALSE(E.CaretShown());
    E.CaretEndUpdate();
    EXPECT_FALSE(E.CaretShown());
    E.CaretEndUpdate();
    EXPECT_TRUE(E.CaretShown());
    E.Perform(WM_KILLFOCUS);
    EXPECT_EQ(Host.Log.back(), "destroycaret");
}

// ---- Editing commands

TEST_F(EditorControl, OverwriteOntoFirstHalfLeavesABlank) {
    SetText("\x82\xa0z");
    E.SetOverWrite(true);
    Type("a");
    EXPECT_EQ(Text(), "a z");
    EXPECT_EQ(E.Col(), 1);
    Char(VK_RETURN); // overwrite Enter only moves
    EXPECT_EQ(Text(), "a z");
}

TEST_F(EditorControl, OverwriteRunsOnIntoTheWrappedRow) {
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    SetText("abcdefghijklmnopqrstuvwxy");
    E.SetOverWrite(true);
    E.SetRowCol(0, 18);
    const int steps = UndoSteps();
    E.TypeText("1234");
    EXPECT_EQ(Text(), "abcdefghijklmnopqr1234wxy");
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(Caret(), std::make_pair(1, 2));
}

TEST_F(EditorControl, BoxPasteAtTheLastRowAddsPaddedRows) {
    SetText("hello");
    E.SetRowCol(0, 5);
    const int steps = UndoSteps();
    E.SetSelTextBox("x\r\ny\r\nz");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"hellox/0", "     y/0", "     z/0"}));
    EXPECT_EQ(Caret(), std::make_pair(2, 6));
    EXPECT_EQ(UndoSteps(), steps + 1);
    E.Undo();
    EXPECT_EQ(Text(), "hello");
}

// A box pasted over a selection: the selection goes first, then the box goes in at its start. A
// box leaves a row per selected row, each taking the box's line at its cut; a stream selection over
// rows leaves one row, and the box's further lines go into the rows after it.
TEST_F(EditorControl, BoxPasteReplacesTheSelection) {
    struct Case {
        std::string text;
        int mode;
        std::pair<int, int> anchor, caret;
        std::string box, pasted;
        std::pair<int, int> caretAfter;
    };
    const Case cases[] = {
        {"abc\r\ndef\r\nghi\r\n", 0, {0, 1}, {1, 3}, "X\r\nY\r\n", "aX\r\ngYhi\r\n", {1, 2}},
        {"abc\r\ndef\r\nghi\r\n", 0, {2, 1}, {0, 2}, "X\r\n", "abXhi\r\n", {0, 3}},
        {"abc\r\ndef", 0, {0, 1}, {1, 2}, "X\r\nY\r\nZ\r\n", "aXf\r\n Y\r\n Z\r\n", {2, 2}},
        {"abcd\r\nefgh\r\nijkl", 1, {0, 1}, {1, 3}, "X\r\n", "aXd\r\neh\r\nijkl", {0, 2}},
        {"abcd\r\nefgh\r\nijkl", 1, {0, 1}, {1, 3}, "X\r\nY\r\nZ\r\n", "aXd\r\neYh\r\niZjkl\r\n", {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " <- " + c.box);
        SetText(c.text);
        E.SetSelectionMode(c.mode);
        E.SetRowCol(c.anchor.first, c.anchor.second);
        E.StartSelection();
        E.SetRowCol(c.caret.first, c.caret.second);
        E.ExtendSelection();
        Host.SetClipboardText(c.box, true);
        const int steps = UndoSteps();
        E.PasteFromClipboard();
        EXPECT_EQ(Text(), c.pasted);
        EXPECT_EQ(Caret(), c.caretAfter);
        EXPECT_EQ(UndoSteps(), steps + 1);
        E.Undo();
        EXPECT_EQ(Text(), c.text);
    }
}

TEST_F(EditorControl, StreamPasteOfWholeLinesGoesBeforeTheRow) {
    SetText("a\r\nb");
    E.SetRowCol(1, 0);
    E.SetSelTextBuf("x\r\ny\r\n");
    EXPECT_EQ(Text(), "a\r\nx\r\ny\r\nb");
    EXPECT_EQ(Caret(), std::make_pair(3, 0));
    E.SetSelStart(0);
    E.SetSelLength(1);
    E.SetSelTextBuf("AB");
    EXPECT_EQ(Text(), "AB\r\nx\r\ny\r\nb");
}

TEST_F(EditorControl, TypingReplacesABoxInEveryRow) {
    SetText("abcd\r\nefgh");
    E.SetSelectionMode(1);
    E.SetRowCol(0, 1);
    E.StartSelection();
    E.SetRowCol(1, 3);
    E.ExtendSelection();
    EXPECT_EQ(E.SelText(), "bc\r\nfg\r\n");
    Type("X");
    EXPECT_EQ(Text(), "aXd\r\neh");
}

TEST_F(EditorControl, SearchForwardAndBackward) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "abcdefgh\r\n";
    text += "needle\r\n";
    SetText(text);
    EXPECT_TRUE(E.SearchText("needle", stDown));
    EXPECT_EQ(Caret(), std::make_pair(2000, 6));
    EXPECT_EQ(E.SelText(), "needle");
    EXPECT_EQ(E.SelStr().StartRow, 2000);
    EXPECT_FALSE(E.SearchText("needle", stDown));
    EXPECT_EQ(E.SelText(), "needle"); // a failed search changes nothing
    E.SetRowCol(2001, 0);
    EXPECT_TRUE(E.SearchText("cd", 0)); // backwards from the row after the final line break
    EXPECT_EQ(E.SelStr().StartRow, 1999);
    EXPECT_EQ(E.SelStr().Start, 2);
}

// The editor searches in chunks of TEditor::kSearchChunkSize bytes; it finds what a search of the
// whole text finds, wherever a match lies against a chunk's edges: a phrase over three rows after
// rows that fill about a chunk (also in full width, found by its half-width pattern) and a 50-byte
// phrase in one long line wrapped at 20 columns, at every offset around a chunk's size, with each
// option, forwards from the top and backwards from the end and from just after a chunk's size.
TEST_F(EditorControl, ChunkedSearchFindsWhatTheWholeTextSearchFinds) {
    const int chunk = static_cast<int>(TEditor::kSearchChunkSize);
    const std::vector<TSearchOptions> optionSets = {0,
                                                    stMatchCase,
                                                    stWholeWord,
                                                    stWidthFold,
                                                    stSkipLineBreaks,
                                                    stSkipBlanks,
                                                    stSkipLineBreaks | stSkipBlanks | stWholeWord};
    // The pattern for a phrase under the options: what a skip option passes over is left out.
    auto patternOf = [](std::string phrase, TSearchOptions options) {
        std::erase_if(phrase, [&](char c) {
            return ((options & stSkipLineBreaks) && (c == '\r' || c == '\n')) || ((options & stSkipBlanks) && c == ' ');
        });
        return phrase;
    };
    // Searches the pattern (the phrase's own by default) under every option set.
    auto check = [&](const std::string& phrase, const std::string& where,
                     const std::vector<TSearchOptions>& options = {}, const std::string& plain = {}) {
        const std::string whole = Text();
        // Forwards from the top, backwards from the end and from just after a chunk's size.
        const std::pair<bool, int> searches[] = {{true, 0},
                                                 {false, static_cast<int>(whole.size())},
                                                 {false, std::min(chunk + 60, static_cast<int>(whole.size()))}};
        for (TSearchOptions option : options.empty() ? optionSets : options)
            for (const auto& [down, caret] : searches) {
                const std::string pattern = plain.empty() ? patternOf(phrase, option) : plain;
                const TSearchOptions word = option | (down ? stDown : 0);
                E.SetSelStart(caret); // the caret keeps off a double-byte character's second byte
                TSearchInfo want{E.SelStart(), 0};
                const bool found = quillon::SearchText(whole, want, pattern, word);
                ASSERT_EQ(E.SearchText(pattern, word), found) << where << " options " << word;
                if (!found) continue;
                ASSERT_EQ(E.SelStart(), want.Start) << where << " options " << word;
                ASSERT_EQ(E.SelLength(), want.Length) << where << " options " << word;
            }
    };
    // The phrase after filler rows that bring it across a chunk's edge at every offset.
    auto afterRows = [&](const std::string& phrase, const std::vector<TSearchOptions>& options = {},
                         const std::string& plain = {}) {
        for (int filler = chunk / 10 - 7; filler <= chunk / 10 + 3; ++filler)
            for (int pad = 0; pad < 10; ++pad) {
                std::string text = std::string(pad, 'x') + "\r\n";
                for (int i = 0; i < filler; ++i) text += "abcdefgh\r\n";
                SetText(text + phrase + "\r\nabcdefgh\r\n");
                ASSERT_NO_FATAL_FAILURE(
                    check(phrase, std::to_string(filler) + " rows, pad " + std::to_string(pad), options, plain));
            }
    };
    ASSERT_NO_FATAL_FAILURE(afterRows("ijk\r\nlmn op\r\nqrs"));
    // The same in full width, found by its half-width pattern: a match of twice its pattern's bytes.
    const std::string plain = "IJKLMNOPQRSTUVWX";
    std::string wide;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i == 6 || i == 12) wide += "\r\n";
        wide += {'\x82', static_cast<char>(0x60 + (plain[i] - 'A'))};
    }
    ASSERT_NO_FATAL_FAILURE(
        afterRows(wide, {stWidthFold | stSkipLineBreaks, stWidthFold | stSkipLineBreaks | stWholeWord}, plain));
    E.SetWordWrap(true);
    E.WrapOption().SetWrapByte(20);
    const std::string phrase = "The quick brown fox jumps over the lazy dog 012345";
    ASSERT_EQ(phrase.size(), 50u);
    for (int at = chunk - 70; at <= chunk + 10; ++at) {
        std::string line;
        while (static_cast<int>(line.size()) < at) line += "abcdefgh ";
        line.resize(static_cast<std::size_t>(at));
        SetText(line + phrase + " abcdefgh\r\n");
        ASSERT_NO_FATAL_FAILURE(check(phrase, "long line, phrase at " + std::to_string(at)));
    }
}

// ---- Selection, clipboard and mouse

TEST_F(EditorControl, EmSetSel) {
    SetText("0123456789\r\nabc");
    E.Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(E.SelLength(), 15);
    E.Perform(EM_SETSEL, static_cast<TWParam>(-1), 4);
    EXPECT_FALSE(E.IsSelected());
    E.Perform(EM_SETSEL, 7, 3);
    EXPECT_EQ(E.SelStart(), 3);
    EXPECT_EQ(E.SelLength(), 4);
    std::int32_t start = 0, end = 0;
    const TLResult r = E.Perform(EM_GETSEL, reinterpret_cast<TWParam>(&start), reinterpret_cast<TLParam>(&end));
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 7);
    EXPECT_EQ(LowWord(r), 3);
    EXPECT_EQ(HighWord(r), 7);
    E.Perform(EM_REPLACESEL, 0, reinterpret_cast<TLParam>("-"));
    EXPECT_EQ(Text(), "012-789\r\nabc");
}

TEST_F(EditorControl, EmPositionsAgree) {
    E.Caret().SetTabSpaceCount(4);
    SetText("ab\r\n\tc\x82\xa0z\r\n\r\nend");
    for (int offset : {0, 1, 4, 5, 6, 8, 11, 13, 15}) {
        const TLResult pos = E.Perform(EM_POSFROMCHAR, static_cast<TWParam>(offset));
        const TLResult back = E.Perform(EM_CHARFROMPOS, 0, pos);
        EXPECT_EQ(LowWord(back), offset);
        EXPECT_EQ(HighWord(back), E.Perform(EM_LINEFROMCHAR, static_cast<TWParam>(offset)));
    }
    for (int row = 0; row < E.RowCount(); ++row) {
        const TLResult index = E.Perform(EM_LINEINDEX, static_cast<TWParam>(row));
        EXPECT_EQ(E.Perform(EM_LINEFROMCHAR, static_cast<TWParam>(index)), row);
        EXPECT_EQ(HighWord(E.Perform(EM_CHARFROMPOS, 0, E.Perform(EM_POSFROMCHAR, static_cast<TWParam>(index)))), row);
    }
    EXPECT_EQ(E.Perform(EM_LINEINDEX, 9), -1);
    EXPECT_EQ(E.Perform(EM_CHARFROMPOS, 0, MakeLParam(-1, 5)), -1);
    EXPECT_EQ(E.Perform(EM_LINELENGTH, 5), 5);
    E.SetRowCol(3, 1);
    EXPECT_EQ(E.Perform(EM_LINEINDEX, static_cast<TWParam>(-1)), 13);
}

TEST_F(EditorControl, TextMessages) {
    SetText("ab\r\ncd");
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    // A buffer without room for the NUL gets nothing.
    EXPECT_EQ(E.Perform(WM_GETTEXT, 0, reinterpret_cast<TLParam>(buffer)), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(E.Perform(WM_GETTEXT, 4, reinterpret_cast<TLParam>(buffer)), 3);
    EXPECT_STREQ(buffer, "ab\r");
    EXPECT_EQ(E.Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<TLParam>(buffer)), 6);
    EXPECT_STREQ(buffer, "ab\r\ncd");
    EXPECT_EQ(E.Perform(WM_GETTEXTLENGTH), 6);
    std::uint16_t size = 1;
    std::memcpy(buffer, &size, sizeof size);
    EXPECT_EQ(E.Perform(EM_GETLINE, 1, reinterpret_cast<TLParam>(buffer)), 1);
    EXPECT_EQ(buffer[0], 'c');
    EXPECT_EQ(E.Perform(EM_GETLINE, 2, reinterpret_cast<TLParam>(buffer)), 0);
    E.Perform(WM_SETTEXT, 0, reinterpret_cast<TLParam>("new"));
    EXPECT_EQ(Text(), "new");
    EXPECT_EQ(E.Perform(EM_GETLINECOUNT), 1);
    EXPECT_TRUE(E.Perform(EM_CANUNDO) == 0 || E.CanUndo());
    E.Perform(EM_SETMODIFY, 0);
    EXPECT_EQ(E.Perform(EM_GETMODIFY), 0);
    Type("x");
    EXPECT_EQ(E.Perform(EM_GETMODIFY), 1);
    EXPECT_EQ(E.Perform(EM_UNDO), 1);
    EXPECT_EQ(Text(), "new");
    E.Perform(EM_EMPTYUNDOBUFFER);
    EXPECT_EQ(E.Perform(EM_CANUNDO), 0);
}

TEST_F(EditorControl, BoxClipboardBytes) {
    SetText("abcdef\r\ngh");
    E.SetSelectionMode(1);
    E.SetRowCol(0, 2);
    E.StartSelection();
    E.SetRowCol(1, 4);
    E.ExtendSelection();
    E.Perform(WM_COPY);
    EXPECT_EQ(Host.Text, std::string("cd\r\n\r\n"));
    EXPECT_EQ(Host.BoxData, std::string("cd\r\n\r\n\0", 7));
    // A stream copy puts no box format beside the text.
    E.SetSelectionMode(0);
    E.SetSelStart(0);
    E.SetSelLength(3);
    E.Perform(WM_COPY);
    EXPECT_EQ(Host.Text, "abc");
    EXPECT_TRUE(Host.BoxData.empty());
    // Without a selection the clipboard is emptied.
    E.CancelSelection();
    E.Perform(WM_COPY);
    EXPECT_EQ(Host.Text, "");
}

TEST_F(EditorControl, PasteChoosesBoxOrStream) {
    SetText("ab\r\ncd");
    E.SetRowCol(0, 1);
    Host.SetClipboardText("X\r\nY\r\n", true);
    E.Perform(WM_PASTE);
    EXPECT_EQ(Text(), "aXb\r\ncYd\r\n");
    Host.SetClipboardText("Z", false);
    E.SetRowCol(0, 0);
    E.Perform(WM_PASTE);
    EXPECT_EQ(Text(), "ZaXb\r\ncYd\r\n");
    E.SetSelStart(0);
    E.SetSelLength(2);
    E.Perform(WM_CUT);
    EXPECT_EQ(Host.Text, "Za");
    EXPECT_EQ(Text(), "Xb\r\ncYd\r\n");
}

TEST_F(EditorControl, CancelSelectionWithoutAWindow) {
    TEditor hidden;
    hidden.Lines().SetText("abc\r\ndef");
    hidden.SelectAll();
    ASSERT_TRUE(hidden.IsSelected());
    hidden.Lines().Clear();
    EXPECT_FALSE(hidden.IsSelected());
    EXPECT_EQ(hidden.SelLength(), 0);
    EXPECT_EQ(hidden.SelText(), "");
}

class EditorDrag : public EditorControl {
protected:
    void SelectWord() {
        SetText("abc def");
        E.SetSelStart(0);
        E.SetSelLength(3);
    }
    void Drag(int ToCol, bool Ctrl) {
        Host.Keys.insert(VK_LBUTTON);
        E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1, 2));
        E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, ToCol));
        if (Ctrl) Host.Keys.insert(VK_CONTROL);
        E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, ToCol));
        Host.Keys.erase(VK_LBUTTON);
        E.Perform(WM_LBUTTONUP, 0, Point(0, ToCol));
        Host.Keys.erase(VK_CONTROL);
    }
};

TEST_F(EditorDrag, MoveRotatesTheLine) {
    SelectWord();
    Drag(7, false);
    EXPECT_EQ(Text(), " defabc");
    EXPECT_EQ(Caret(), std::make_pair(0, 7));
    EXPECT_FALSE(E.IsSelected());
    EXPECT_EQ(E.MouseState(), msIdle);
}

TEST_F(EditorDrag, MoveIsOneUndoStep) {
    SetText("one two\r\nthree");
    E.SetSelStart(0);
    E.SetSelLength(3);
    const int steps = UndoSteps();
    E.MoveSelection(1, 5);
    EXPECT_EQ(Text(), " two\r\nthreeone");
    EXPECT_EQ(Caret(), std::make_pair(1, 8));
    EXPECT_EQ(UndoSteps(), steps + 1);
    E.Undo();
    EXPECT_EQ(Text(), "one two\r\nthree");
    // Moving backwards: the word goes before the point.
    E.SetRowCol(1, 0);
    E.StartSelection();
    E.SetRowCol(1, 5);
    E.ExtendSelection();
    E.MoveSelection(0, 4);
    EXPECT_EQ(Text(), "one threetwo\r\n");
    EXPECT_EQ(Caret(), std::make_pair(0, 9));
}

TEST_F(EditorDrag, CtrlCopies) {
    SelectWord();
    Drag(7, true);
    EXPECT_EQ(Text(), "abc defabc");
    EXPECT_EQ(Caret(), std::make_pair(0, 10));
}

TEST_F(EditorDrag, DropOnTheSelectionChangesNothing) {
    SelectWord();
    const int steps = UndoSteps();
    Drag(2, false);
    EXPECT_EQ(Text(), "abc def");
    EXPECT_EQ(UndoSteps(), steps);
    EXPECT_FALSE(E.IsSelected());
}

TEST_F(EditorDrag, ClickInsideTheSelectionCancelsIt) {
    SelectWord();
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1, 2));
    EXPECT_EQ(E.MouseState(), msDragPending);
    // Keys are dropped while the mouse is busy.
    Char('x');
    Host.Keys.erase(VK_LBUTTON);
    E.Perform(WM_LBUTTONUP, 0, Point(0, 1, 2));
    EXPECT_EQ(Text(), "abc def");
    EXPECT_FALSE(E.IsSelected());
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(EditorDrag, EscapeCancelsTheDrag) {
    SelectWord();
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1, 2));
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, 6));
    ASSERT_EQ(E.MouseState(), msDragging);
    E.Perform(WM_KEYDOWN, VK_CONTROL);
    EXPECT_EQ(E.CursorState(), csrDragCopy);
    E.Perform(WM_KEYUP, VK_CONTROL);
    EXPECT_EQ(E.CursorState(), csrDragMove);
    E.Perform(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(E.MouseState(), msIdle);
    EXPECT_FALSE(E.IsSelected());
    Host.Keys.erase(VK_LBUTTON);
}

TEST_F(EditorControl, MouseSelectsAfterHalfACharacter) {
    SetText("abcdef\r\nghij");
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1, 0));
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, 1, 2)); // less than half a character
    EXPECT_FALSE(E.IsSelected());
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, 4, 0));
    EXPECT_EQ(E.SelText(), "bcd");
    Host.Keys.erase(VK_LBUTTON);
    E.Perform(WM_LBUTTONUP, 0, Point(0, 4, 0));
    // Shift+click extends it.
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Point(1, 2, 0));
    E.Perform(WM_LBUTTONUP, 0, Point(1, 2, 0));
    EXPECT_EQ(E.SelText(), "bcdef\r\ngh");
}

TEST_F(EditorControl, FontWithoutSizeDividesByNothing) {
    Host.AveCharWidth = 0;
    Host.FontHeight = 0;
    E.Perform(WM_SIZE);
    SetText("abc");
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(50, 10));
    E.Perform(WM_LBUTTONUP, 0, MakeLParam(50, 10));
    EXPECT_EQ(E.TokenKindFromPos(50, 10), 0);
    EXPECT_EQ(E.Perform(EM_CHARFROMPOS, 0, MakeLParam(50, 10)) & 0xFFFF, 3);
}

TEST_F(EditorControl, HoverCursors) {
    SetText("abc def");
    E.SetSelStart(0);
    E.SetSelLength(3);
    const TEditorCursors& c = E.Caret().Cursors();
    E.Perform(WM_MOUSEMOVE, 0, MakeLParam(2, E.TextTop() + 3));
    EXPECT_EQ(E.CursorState(), csrLeftMargin);
    EXPECT_EQ(Host.Log.back(), "cursor " + std::to_string(c.LeftMarginCursor()));
    E.Perform(WM_MOUSEMOVE, 0, MakeLParam(E.TextLeft() + 3, 0));
    EXPECT_EQ(E.CursorState(), csrTopMargin);
    E.Perform(WM_MOUSEMOVE, 0, Point(0, 1));
    EXPECT_EQ(E.CursorState(), csrInSelection);
    E.Perform(WM_MOUSEMOVE, 0, Point(0, 5));
    EXPECT_EQ(E.CursorState(), csrDefault);
    EXPECT_EQ(Host.Log.back(), "cursor " + std::to_string(c.DefaultCursor()));
}

TEST_F(EditorControl, LeftMarginSelectsWholeRows) {
    SetText("ab\r\ncd\r\nef");
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(2, E.TextTop() + E.RowHeight() + 2));
    EXPECT_EQ(E.SelText(), "cd\r\n");
    EXPECT_EQ(Caret(), std::make_pair(1, 0));
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(2, E.TextTop() + 2 * E.RowHeight() + 2));
    EXPECT_EQ(E.SelText(), "cd\r\nef");
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(2, E.TextTop() + 2));
    EXPECT_EQ(E.SelText(), "ab\r\ncd\r\n");
    Host.Keys.erase(VK_LBUTTON);
    E.Perform(WM_LBUTTONUP, 0, MakeLParam(2, E.TextTop() + 2));
}

TEST_F(EditorControl, SelectionModeIsKeptWhileDragging) {
    SetText("abc def");
    E.SetSelStart(0);
    E.SetSelLength(3);
    Host.Keys.insert(VK_LBUTTON);
    E.Perform(WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 1, 2));
    E.Perform(WM_MOUSEMOVE, MK_LBUTTON, Point(0, 6));
    E.SetSelectionMode(1);
    EXPECT_EQ(E.SelectionMode(), 0);
    E.Perform(WM_KEYDOWN, VK_ESCAPE);
    Host.Keys.erase(VK_LBUTTON);
}

// ---- Marks, tokens, menu

TEST_F(EditorControl, RowMarks) {
    SetText("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6");
    E.SetRowMark(2, 3);
    E.SetRowMark(5, 3);
    EXPECT_EQ(E.GetRowMarks(2), 0);
    EXPECT_EQ(E.GetRowMarks(5), 1 << 3);
    E.SetRowMark(1, 12);
    E.SetRowMark(4, 12);
    EXPECT_EQ(E.GetRowMarks(1), 1 << 12);
    EXPECT_EQ(E.GetRowMarks(4), 1 << 12);
    EXPECT_EQ(E.ScreenStrings().GetUsedMarks(), (1 << 3) | (1 << 12));
    E.GotoRowMark(3);
    EXPECT_EQ(E.Row(), 5);
    E.DeleteRowMark(5, 3);
    EXPECT_EQ(E.GetRowMarks(5), 0);
    // The popup menu toggles a mark on the caret row and shows the marks in use.
    E.PopupMenu().Click("MarkSet7");
    EXPECT_EQ(E.GetRowMarks(5), 1 << 7);
    E.PopupMenu().Popup();
    EXPECT_TRUE(E.PopupMenu().Find("MarkJump7")->Checked);
    EXPECT_FALSE(E.PopupMenu().Find("MarkJump3")->Checked);
    E.PopupMenu().Click("MarkSet7");
    EXPECT_EQ(E.GetRowMarks(5), 0);
}

TEST_F(EditorControl, ScrollCaretAndMarkJumps) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "row\r\n";
    SetText(text);
    E.SetRowMark(40, 2);
    E.GotoRowMark(2);
    EXPECT_EQ(E.Row(), 40);
    EXPECT_EQ(E.TopRow(), 40 - E.RowsPerPage() / 2);
    E.SetTopRow(0);
    E.Perform(EM_SCROLLCARET);
    EXPECT_EQ(E.TopRow(), 40 - E.RowsPerPage() / 3);
    EXPECT_EQ(E.Perform(EM_GETFIRSTVISIBLELINE), E.TopRow());
}

TEST_F(EditorControl, ModifiedRows) {
    SetText("a\r\nb");
    E.ClearModifiedRows();
    E.SetRowCol(1, 0);
    Type("x");
    EXPECT_FALSE(E.ScreenStrings().RowModified(0));
    EXPECT_TRUE(E.ScreenStrings().RowModified(1));
    E.ClearModifiedRows();
    EXPECT_FALSE(E.ScreenStrings().RowModified(1));
}

TEST_F(EditorControl, TokenQueries) {
    SetText("foo 123 bar");
    E.SetRowCol(0, 5);
    // Without the focus there is no system caret; the caret's row and column still answer.
    Host.HasFocus = false;
    std::string token;
    EXPECT_TRUE(E.TokenFromCaret(token));
    EXPECT_EQ(token, "123");
    EXPECT_EQ(E.TokenKindFromCaret(), tkInteger);
    EXPECT_TRUE(E.TokenFromPos(E.TextLeft() + 9 * E.CharWidth() + 1, E.TextTop() + 3, token));
    EXPECT_EQ(token, "bar");
    EXPECT_EQ(E.TokenKindFromPos(E.TextLeft() - 3, E.TextTop() + 3), 0);
    EXPECT_TRUE(E.SelectTokenFromCaret());
    EXPECT_EQ(E.SelText(), "123");
}

TEST_F(EditorControl, PopupMenuEnabling) {
    SetText("abc");
    E.PopupMenu().Popup();
    EXPECT_FALSE(E.PopupMenu().Find("Copy")->Enabled);
    EXPECT_TRUE(E.PopupMenu().Find("SelectAll")->Enabled);
    EXPECT_EQ(E.PopupMenu().Find("Redo")->ShortCut, "Ctrl+A");
    E.PopupMenu().Click("SelectAll");
    E.PopupMenu().Popup();
    EXPECT_TRUE(E.PopupMenu().Find("Copy")->Enabled);
    EXPECT_TRUE(E.PopupMenu().Find("Cut")->Enabled);
    E.SetReadOnly(true);
    E.PopupMenu().Popup();
    EXPECT_FALSE(E.PopupMenu().Find("Cut")->Enabled);
    E.PopupMenu().Click("BoxSelectionMode");
    EXPECT_EQ(E.SelectionMode(), 1);
}

TEST_F(EditorControl, ColourerAndSharedStore) {
    TEditorColourer colourer(nullptr);
    E.SetColourer(&colourer);
    EXPECT_EQ(&E.ActiveColourerRef(), &colourer);
    Host.Log.clear();
    E.SetColourer(&colourer); // the same colourer again does nothing
    EXPECT_TRUE(Host.Log.empty());
    E.SetColourer(nullptr);
    // A second editor on the same rows keeps its own caret and selection.
    TEditor other;
    other.AttachScreenStrings(&E);
    SetText("shared");
    EXPECT_EQ(other.GetRowString(0), "shared");
    other.SetRowCol(0, 6);
    other.TypeText("!");
    EXPECT_EQ(Text(), "shared!");
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

TEST_F(EditorControl, SearchHitStyles) {
    SetText("find me, find me");
    E.SetHitStyle(hsDraw);
    ASSERT_TRUE(E.SearchText("find", stDown));
    EXPECT_TRUE(E.IsHitSelected());
    EXPECT_EQ(E.SelLength(), 0); // a hit is not a selection
    EXPECT_EQ(E.HitSelLength(), 4);
    ASSERT_TRUE(E.SearchText("find", stDown));
    EXPECT_EQ(E.SelStr().Start, 9);
    E.HitToSelection();
    EXPECT_EQ(E.SelText(), "find");
    E.SetHitStyle(hsCaret);
    E.Perform(WM_SETFOCUS);
    E.SetRowCol(0, 0);
    ASSERT_TRUE(E.SearchText("me", stDown));
    EXPECT_EQ(Caret(), std::make_pair(0, 5)); // the caret stands at the hit's start, as wide as the hit
    EXPECT_EQ(Host.CaretSize[0], 2 * E.CharWidth());
}

TEST_F(EditorControl, EventsFire) {
    int changes = 0, moves = 0, tops = 0;
    std::vector<bool> selections;
    E.OnChange = [&](TEditor&) { ++changes; };
    E.OnCaretMoved = [&](TEditor&) { ++moves; };
    E.OnTopRowChange = [&](TEditor&) { ++tops; };
    E.OnSelectionChange = [&](TEditor&, bool Selected) { selections.push_back(Selected); };
    Type("ab");
    EXPECT_EQ(changes, 2);
    EXPECT_GT(moves, 0);
    Key(VK_HOME, true);
    EXPECT_FALSE(selections.empty());
    EXPECT_TRUE(selections.back());
    Key(VK_END);
    EXPECT_FALSE(selections.back());
    for (int i = 0; i < 40; ++i) Char(VK_RETURN);
    EXPECT_GT(tops, 0);
}

} // namespace
} // namespace quillon

namespace quillon {
namespace {

// The start of the character before Offset in a CR LF text (a line break counts as one character).
std::size_t PrevCharStart(const std::string& Text, std::size_t Offset) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < Offset;) {
        start = i;
        i += Text.compare(i, 2, "\r\n") == 0 || IsLeadByte(Text[i]) ? 2 : 1;
    }
    return start;
}

std::size_t CharLength(const std::string& Text, std::size_t Offset) {
    return Text.compare(Offset, 2, "\r\n") == 0 || IsLeadByte(Text[Offset]) ? 2 : 1;
}

// Random typing, Enter, Delete and Back Space at random caret positions, checked against a plain
// string splice at the caret's text offset, with and without word wrap.
TEST(EditorControlReference, EditsAgreeWithAStringSplice) {
    for (bool wrap : {false, true}) {
        TTestHost host;
        TEditor e;
        e.SetHost(&host);
        e.Caret().SetFreeCaret(false);
        e.Caret().SetAutoIndent(false);
        e.Caret().SetBackSpaceUnIndent(false);
        e.SetWordWrap(wrap);
        e.WrapOption().SetWrapByte(20);
        std::string ref;
        for (int line = 0; line < 4; ++line) ref += std::string(35, 'b') + "\x82\xa0" + "cc\r\n";
        e.Lines().SetText(ref);
        bool sawWrappedRows = false;
        unsigned seed = wrap ? 7u : 3u;
        auto next = [&seed](unsigned n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        for (int step = 0; step < 400; ++step) {
            // A caret on a character boundary.
            std::size_t off = next(static_cast<unsigned>(ref.size()) + 1);
            if (off < ref.size()) off = PrevCharStart(ref, off + 1);
            if (off > 0 && off < ref.size() && ref[off - 1] == '\r') --off;
            e.SetSelStart(static_cast<int>(off));
            ASSERT_EQ(e.SelStart(), static_cast<int>(off)) << "step " << step;
            std::size_t caret = off;
            switch (next(7)) {
            case 0:
            case 1:
            case 6: {
                const std::string s = next(3) == 0 ? "\x82\xa0" : next(2) ? "a" : " ";
                if (s.size() == 2) host.Queue.push_back(static_cast<unsigned char>(s[1]));
                e.Perform(WM_CHAR, static_cast<unsigned char>(s[0]));
                host.Queue.clear();
                ref.insert(off, s);
                caret = off + s.size();
                break;
            }
            case 2:
                e.Perform(WM_CHAR, VK_RETURN);
                ref.insert(off, "\r\n");
                caret = off + 2;
                break;
            case 3:
            case 4:
                e.Perform(WM_KEYDOWN, VK_DELETE);
                if (off < ref.size()) ref.erase(off, CharLength(ref, off));
                break;
            default:
                e.Perform(WM_CHAR, VK_BACK);
                if (off > 0) {
                    caret = PrevCharStart(ref, off);
                    ref.erase(caret, off - caret);
                }
                break;
            }
            ASSERT_EQ(e.Lines().Text(), ref) << "step " << step << " wrap " << wrap;
            ASSERT_EQ(e.SelStart(), static_cast<int>(caret)) << "step " << step << " wrap " << wrap;
            sawWrappedRows = sawWrappedRows || e.RowCount() > e.Lines().Count();
        }
        EXPECT_EQ(sawWrappedRows, wrap);
    }
}

// Random stream selections through EM_SETSEL, their text, and replacing or deleting them, against
// the same string splice.
TEST(EditorControlReference, SelectionsAgreeWithAStringSplice) {
    for (bool wrap : {false, true}) {
        TTestHost host;
        TEditor e;
        e.SetHost(&host);
        e.SetWordWrap(wrap);
        e.WrapOption().SetWrapByte(20);
        std::string ref;
        for (int line = 0; line < 6; ++line) ref += std::string(12 + 5 * line, 'd') + "\x82\xa0" + "e\r\n";
        e.Lines().SetText(ref);
        unsigned seed = wrap ? 11u : 5u;
        auto next = [&seed](unsigned n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        auto boundary = [&](std::size_t off) {
            if (off < ref.size()) off = PrevCharStart(ref, off + 1);
            if (off > 0 && off < ref.size() && ref[off - 1] == '\r') --off;
            return off;
        };
        for (int step = 0; step < 150 && !ref.empty(); ++step) {
            const std::size_t a = boundary(next(static_cast<unsigned>(ref.size()) + 1));
            const std::size_t b = boundary(next(static_cast<unsigned>(ref.size()) + 1));
            const std::size_t lo = std::min(a, b), hi = std::max(a, b);
            e.Perform(EM_SETSEL, a, static_cast<TLParam>(b));
            ASSERT_EQ(e.SelStart(), static_cast<int>(lo)) << "step " << step;
            ASSERT_EQ(e.SelLength(), static_cast<int>(hi - lo)) << "step " << step;
            if (lo == hi) continue;
            ASSERT_EQ(e.SelText(), ref.substr(lo, hi - lo)) << "step " << step;
            if (next(2)) {
                e.Perform(WM_CHAR, 'x');
                ref.replace(lo, hi - lo, "x");
                ASSERT_EQ(e.SelStart(), static_cast<int>(lo + 1)) << "step " << step;
            } else {
                e.Perform(WM_CLEAR);
                ref.erase(lo, hi - lo);
                ASSERT_EQ(e.SelStart(), static_cast<int>(lo)) << "step " << step;
            }
            ASSERT_EQ(e.Lines().Text(), ref) << "step " << step << " wrap " << wrap;
        }
    }
}

// Word wrap switched on for a text of a few hundred lines, some of many rows: the editor's screen and
// caret row are cut at once and the rest waits for idle steps (EditorScreenStrings.h). Beside it an
// editor whose switch was finished at once: at every idle step the rows shown and the caret agree,
// typing above the waiting rows leaves them waiting, and whatever reaches past the cut rows sees the
// whole cut, so it gives what it gives there.
class WrapInSteps : public ::testing::Test {
protected:
    struct TSide {
        TTestHost Host;
        TEditor E;
    };
    void Make(TSide& S) {
        S.E.SetHost(&S.Host);
        S.E.WrapOption().SetWrapByte(30);
        std::string text;
        for (int line = 0; line < 400; ++line) {
            text += std::string(static_cast<std::size_t>(line * 7 % 90), 'a') + " " + std::to_string(line);
            if (line % 50 == 7) text += Utf8ToCp932("、「あ」") + std::string(200, 'b');
            text += "\r\n";
        }
        S.E.Lines().SetText(text + "zz the last line");
        S.E.SetRowMark(380, 3);
        S.E.SetTopRow(4);
        S.E.SetRowCol(9, 2);
        S.E.SetWordWrap(true);
    }
    void ExpectAlike(const char* What) {
        SCOPED_TRACE(What);
        EXPECT_EQ(Partly.E.Row(), Whole.E.Row());
        EXPECT_EQ(Partly.E.Col(), Whole.E.Col());
        EXPECT_EQ(Partly.E.TopRow(), Whole.E.TopRow());
        EXPECT_EQ(Partly.E.SelStart(), Whole.E.SelStart());
        EXPECT_EQ(Partly.E.SelLength(), Whole.E.SelLength());
        EXPECT_EQ(Partly.E.Lines().Text(), Whole.E.Lines().Text());
    }
    std::vector<std::string> RowsOf(TEditor& E, int From, int To) {
        std::vector<std::string> rows;
        for (int r = From; r < To; ++r) rows.push_back(std::string(E.ScreenStrings().Get(r)));
        return rows;
    }

    TSide Partly, Whole;
};

TEST_F(WrapInSteps, TheScreenAndTheCaretAreRightAtEveryIdleStep) {
    Make(Partly);
    Make(Whole);
    Whole.E.ScreenStrings().FinishRewrap();
    TEditorScreenStrings& s = Partly.E.ScreenStrings();
    ASSERT_TRUE(s.RewrapPending());
    const int shown = Partly.E.TopRow() + Partly.E.RowsPerPage() + 1;
    do {
        ASSERT_GE(s.RewrapFrom(), shown);
        ASSERT_EQ(RowsOf(Partly.E, 0, shown), RowsOf(Whole.E, 0, shown));
        ASSERT_NO_FATAL_FAILURE(ExpectAlike("an idle step"));
    } while (s.RewrapStep(500));
    EXPECT_EQ(RowsOf(Partly.E, 0, s.Count()), RowsOf(Whole.E, 0, Whole.E.RowCount()));
    EXPECT_EQ(Partly.E.GetRowMarks(Partly.E.RowCount() - 30), Whole.E.GetRowMarks(Whole.E.RowCount() - 30));
}

// A keystroke above the waiting rows leaves them waiting: the caret and the rows shown are those of
// the whole cut, and so is every row once the cut is finished.
TEST_F(WrapInSteps, TypingLeavesTheWaitingRowsWaiting) {
    Make(Partly);
    Make(Whole);
    Whole.E.ScreenStrings().FinishRewrap();
    Partly.E.Perform(WM_CHAR, 'x');
    Whole.E.Perform(WM_CHAR, 'x');
    EXPECT_TRUE(Partly.E.ScreenStrings().RewrapPending());
    const int shown = Partly.E.TopRow() + Partly.E.RowsPerPage() + 1;
    ASSERT_GE(Partly.E.ScreenStrings().RewrapFrom(), shown);
    EXPECT_EQ(RowsOf(Partly.E, 0, shown), RowsOf(Whole.E, 0, shown));
    ExpectAlike("typing");
    Partly.E.ScreenStrings().FinishRewrap();
    EXPECT_EQ(RowsOf(Partly.E, 0, Partly.E.RowCount()), RowsOf(Whole.E, 0, Whole.E.RowCount()));
}

TEST_F(WrapInSteps, WhatIsDoneMeanwhileSeesTheWholeCut) {
    struct Case {
        const char* name;
        std::function<void(TSide&)> act;
    };
    auto send = [](TSide& S, TMessage Msg, TWParam W, bool Ctrl = false) {
        if (Ctrl) S.Host.Keys.insert(VK_CONTROL);
        S.E.Perform(Msg, W);
        S.Host.Keys.erase(VK_CONTROL);
    };
    const Case cases[] = {
        {"Ctrl+End", [&](TSide& S) { send(S, WM_KEYDOWN, VK_END, true); }},
        {"page down", [&](TSide& S) { send(S, WM_KEYDOWN, VK_NEXT); }},
        {"scroll bar to the bottom", [&](TSide& S) { send(S, WM_VSCROLL, SB_BOTTOM); }},
        {"select all", [](TSide& S) { S.E.SelectAll(); }},
        {"find near the end", [](TSide& S) { S.E.SearchText("zz", stDown); }},
        {"go to a line", [](TSide& S) { S.E.SetRowCol(S.E.Lines().LineToRow(390), 1); }},
        {"a text offset", [](TSide& S) { S.E.SetSelStart(S.E.GetTextLength() - 5); }},
        {"a bookmark far down", [](TSide& S) { S.E.GotoRowMark(3); }},
        {"the row count", [](TSide& S) { S.E.SetRow(S.E.RowCount() - 2); }},
        {"paste",
         [](TSide& S) {
             S.Host.SetClipboardText("pasted\r\nrows\r\n", false);
             S.E.PasteFromClipboard();
         }},
        {"typing and undo",
         [](TSide& S) {
             S.E.TypeText("typed");
             S.E.Undo();
         }},
        {"a line appended", [](TSide& S) { S.E.Lines().Add("appended"); }},
        {"word wrap off", [](TSide& S) { S.E.SetWordWrap(false); }},
    };
    for (const Case& c : cases) {
        Partly.E.SetWordWrap(false);
        Whole.E.SetWordWrap(false);
        Make(Partly);
        Make(Whole);
        Whole.E.ScreenStrings().FinishRewrap();
        ASSERT_TRUE(Partly.E.ScreenStrings().RewrapPending());
        c.act(Partly);
        c.act(Whole);
        EXPECT_FALSE(Partly.E.ScreenStrings().RewrapPending()) << c.name;
        ExpectAlike(c.name);
        EXPECT_EQ(RowsOf(Partly.E, 0, Partly.E.RowCount()), RowsOf(Whole.E, 0, Whole.E.RowCount())) << c.name;
    }
}

} // namespace
} // namespace quillon
