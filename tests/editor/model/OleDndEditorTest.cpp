#include "OleDndEditor.h"

#include "EditorTestHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {
namespace {

// The window's drag and drop: DoDragDrop runs Loop, which plays the part of the user's hand.
class TTestDragHost : public TDragDropHost {
public:
    TDropTarget* Target = nullptr;
    int Registered = 0, Revoked = 0, Focus = 0, Drags = 0, OkEffects = 0;
    std::function<void(TDataObject& Data)> Loop;

    void RegisterDragDrop(TDropTarget& T) override { Target = &T, ++Registered; }
    void RevokeDragDrop() override { Target = nullptr, ++Revoked; }
    int DoDragDrop(TDataObject& Data, int Ok) override {
        ++Drags;
        OkEffects = Ok;
        if (Loop) Loop(Data);
        return DROPEFFECT_NONE;
    }
    void SetFocus() override { ++Focus; }
};

// Data from another window.
class TForeignData : public TDataObject {
public:
    std::string Text;
    std::vector<std::string> Files;
    bool QueryGetData(int Format) const override {
        return (Format == CF_TEXT && !Text.empty()) || (Format == CF_HDROP && !Files.empty());
    }

protected:
    bool RenderData(int Format, TStgMedium& Medium) const override {
        Medium.Text = Format == CF_TEXT ? Text : "";
        if (Format == CF_HDROP) Medium.Files = Files;
        return true;
    }
};

class OleDndEditor : public ::testing::Test {
protected:
    OleDndEditor() {
        E.SetHost(&Host);
        E.SetDragDropHost(&Drag);
        E.Caret().SetSelDragMode(dmManual);
    }
    ~OleDndEditor() override { E.SetDragDropHost(nullptr); }

    void SetText(std::string_view S) {
        E.Lines().SetText(S);
        E.SetRowCol(0, 0);
    }
    void Select(int Start, int Length) {
        E.SetSelStart(Start);
        E.SetSelLength(Length);
    }
    std::string Text() const { return E.Lines().Text(); }
    std::pair<int, int> Caret() const { return {E.Row(), E.Col()}; }
    int UndoSteps() { return static_cast<int>(E.ScreenStrings().UndoObj().UndoList().size()); }
    // The client point at the left edge of a cell (Dx pixels into it).
    TPoint At(int Row, int Col, int Dx = 1) const {
        return {E.TextLeft() + (Col - E.TopCol()) * E.CharWidth() + Dx,
                E.TextTop() + (Row - E.TopRow()) * E.RowHeight() + 2};
    }
    // A press of the left button at a cell, with the drag that it may start.
    void Press(int Row, int Col, TWParam Keys = 0) {
        const TPoint p = At(Row, Col, 2);
        Host.Keys.insert(VK_LBUTTON);
        E.Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, MakeLParam(p.X, p.Y));
        Host.Keys.erase(VK_LBUTTON);
    }
    // The drag enters, moves over each point and drops at the last; answers the drop's effect.
    int DropAt(TDataObject& Data, std::vector<TPoint> Points, int Keys = 0) {
        int effect = 0;
        Drag.Target->DragEnter(Data, Keys, Points.front(), effect);
        for (const TPoint& p : Points) Drag.Target->DragOver(Keys, p, effect);
        Effects.push_back(effect);
        Drag.Target->Drop(Keys, Points.back(), effect);
        return effect;
    }
    // Drags the selection from a cell in it and drops it at a cell.
    void DragSelection(int FromCol, int ToRow, int ToCol, int Keys = 0) {
        Drag.Loop = [=, this](TDataObject& d) { DropAt(d, {At(ToRow, ToCol)}, Keys); };
        Press(0, FromCol);
    }

    TTestHost Host;
    TTestDragHost Drag;
    TOleDndEditor E;
    std::vector<int> Effects; // the effect of each drag over the editor before its drop
};

TEST_F(OleDndEditor, RegistersATargetForFilesThenTextWhileItHasAWindow) {
    EXPECT_EQ(Drag.Registered, 1);
    ASSERT_EQ(Drag.Target, E.DropTarget());
    EXPECT_EQ(E.DropTarget()->Formats(), (std::vector<int>{CF_HDROP, CF_TEXT}));
    E.SetDragDropHost(nullptr);
    EXPECT_EQ(Drag.Revoked, 1);
    EXPECT_EQ(E.DropTarget(), nullptr);
    E.SetDragDropHost(&Drag);
    EXPECT_EQ(Drag.Registered, 2);
}

TEST_F(OleDndEditor, DraggingTheSelectionElsewhereMovesItAsOneUndoStep) {
    SetText("abc def");
    Select(0, 3);
    const int steps = UndoSteps();
    DragSelection(1, 0, 7);
    EXPECT_EQ(Drag.OkEffects, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(Effects, (std::vector<int>{DROPEFFECT_MOVE}));
    EXPECT_EQ(Text(), " defabc");
    EXPECT_EQ(Caret(), std::make_pair(0, 7));
    EXPECT_FALSE(E.IsSelected());
    EXPECT_FALSE(E.Dragging());
    EXPECT_EQ(E.MouseState(), msIdle);
    EXPECT_EQ(UndoSteps(), steps + 1);
    E.Undo();
    EXPECT_EQ(Text(), "abc def");
}

TEST_F(OleDndEditor, CtrlAtTheDropCopiesTheSelection) {
    SetText("abc def\r\nxyz");
    Select(4, 3);
    const int steps = UndoSteps();
    DragSelection(5, 1, 1, MK_CONTROL);
    EXPECT_EQ(Effects, (std::vector<int>{DROPEFFECT_COPY}));
    EXPECT_EQ(Text(), "abc def\r\nxdefyz");
    EXPECT_EQ(Caret(), std::make_pair(1, 4));
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(OleDndEditor, DroppingTheSelectionOnItselfChangesNoTextAndRemovesTheSelection) {
    SetText("abc def");
    Select(4, 3);
    const int steps = UndoSteps();
    DragSelection(4, 0, 5);
    EXPECT_EQ(Text(), "abc def");
    EXPECT_EQ(UndoSteps(), steps);
    EXPECT_FALSE(E.IsSelected());
    EXPECT_EQ(Caret(), std::make_pair(0, 5));
}

TEST_F(OleDndEditor, ADragToAnotherWindowLeavesTheTextAndPutsTheCaretBack) {
    SetText("abc def");
    Select(0, 3); // the caret stands at the selection's end
    Drag.Loop = [](TDataObject& d) {
        TStgMedium m;
        ASSERT_TRUE(d.GetData(CF_TEXT, m));
        EXPECT_EQ(m.Text, "abc");
    };
    Press(0, 1);
    EXPECT_EQ(Drag.Drags, 1);
    EXPECT_EQ(Text(), "abc def");
    EXPECT_EQ(Caret(), std::make_pair(0, 3));
    EXPECT_TRUE(E.IsSelected());
    EXPECT_FALSE(E.Dragging());
}

TEST_F(OleDndEditor, ADragOutAndBackThatIsCancelledRestoresTheCaret) {
    SetText("abc def\r\nxyz");
    Select(0, 3);
    Drag.Loop = [this](TDataObject& d) {
        int effect = 0;
        Drag.Target->DragEnter(d, 0, At(1, 2), effect);
        EXPECT_EQ(Caret(), std::make_pair(1, 2)); // the caret shows the drop position
        EXPECT_EQ(Drag.Focus, 1);
        Drag.Target->DragLeave(); // Escape
    };
    Press(0, 1);
    EXPECT_EQ(Caret(), std::make_pair(0, 3));
    EXPECT_EQ(Text(), "abc def\r\nxyz");
}

TEST_F(OleDndEditor, ForeignTextIsInsertedAtTheDropPosition) {
    struct Case {
        int SelStart, SelLength; // the selection before the drop
        int Row, Col;            // the drop position
        const char* Expected;
        std::pair<int, int> Caret;
    };
    const Case cases[] = {
        {0, 0, 0, 2, "ab--c\r\nxyz", {0, 4}},
        {0, 2, 1, 1, "abc\r\nx--yz", {1, 3}}, // the selection goes
        {5, 2, 1, 1, "abc\r\nx--yz", {1, 3}}, // dropped on the selection: inserted at the caret
        // Below the text: on its last row, past the row's end as the caret may go.
        {0, 0, 5, 9, "abc\r\nxyz      --", {1, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Expected);
        SetText("abc\r\nxyz");
        Select(c.SelStart, c.SelLength);
        const int steps = UndoSteps();
        TForeignData data;
        data.Text = "--";
        EXPECT_EQ(DropAt(data, {At(0, 0), At(c.Row, c.Col)}), DROPEFFECT_COPY);
        EXPECT_EQ(Text(), c.Expected);
        EXPECT_EQ(Caret(), c.Caret);
        EXPECT_FALSE(E.IsSelected());
        EXPECT_EQ(UndoSteps(), steps + 1);
    }
    EXPECT_EQ(Effects, std::vector<int>(4, DROPEFFECT_COPY)); // never a move for a foreign drag
}

TEST_F(OleDndEditor, ADropOfFilesAndTextDeliversTheFiles) {
    std::vector<std::string> files;
    TPoint point;
    int keys = 0;
    E.OnDropFiles = [&](TEditor& Sender, const std::vector<std::string>& f, int k, TPoint p) {
        EXPECT_EQ(&Sender, &E);
        files = f, keys = k, point = p;
    };
    SetText("abc");
    TForeignData data;
    data.Text = "text";
    data.Files = {"/tmp/a.txt", "/tmp/b c.txt"};
    DropAt(data, {At(0, 1)}, MK_SHIFT);
    EXPECT_EQ(files, data.Files);
    EXPECT_EQ(keys, static_cast<int>(MK_SHIFT));
    EXPECT_EQ(point, At(0, 1));
    EXPECT_EQ(Text(), "abc");
}

TEST_F(OleDndEditor, AReadOnlyEditorRefusesTextAndChangesNothingButTakesFiles) {
    SetText("abc def");
    Select(0, 3);
    E.SetReadOnly(true);
    TForeignData text;
    text.Text = "--";
    EXPECT_EQ(DropAt(text, {At(0, 5)}), DROPEFFECT_NONE);
    EXPECT_EQ(Effects.back(), DROPEFFECT_NONE);
    EXPECT_EQ(Text(), "abc def");
    EXPECT_TRUE(E.IsSelected());
    int drops = 0;
    E.OnDropFiles = [&](TEditor&, const std::vector<std::string>&, int, TPoint) { ++drops; };
    TForeignData files;
    files.Files = {"/tmp/a"};
    EXPECT_EQ(DropAt(files, {At(0, 5)}), DROPEFFECT_COPY);
    EXPECT_EQ(drops, 1);
    // Nor does a press on the selection start a drag.
    Press(0, 1);
    EXPECT_EQ(Drag.Drags, 0);
}

TEST_F(OleDndEditor, NoDragStartsWithAutomaticDraggingOrShiftOrOutsideTheSelection) {
    SetText("abc def");
    Select(0, 3);
    E.Caret().SetSelDragMode(dmAutomatic);
    Press(0, 1);
    EXPECT_EQ(Drag.Drags, 0);
    EXPECT_EQ(E.MouseState(), msDragPending); // the editor's own dragging
    E.Perform(WM_LBUTTONUP, 0, MakeLParam(At(0, 1).X, At(0, 1).Y));
    E.Caret().SetSelDragMode(dmManual);
    Select(0, 3);
    Press(0, 5);
    EXPECT_FALSE(E.IsSelected());
    // A selection made backwards: the caret at its start, inside it. A Shift press there extends the
    // selection and starts no drag.
    E.SetRowCol(0, 7);
    E.StartSelection();
    E.SetRowCol(0, 4);
    E.ExtendSelection();
    ASSERT_TRUE(E.IsInSelection(0, 4));
    Press(0, 4, MK_SHIFT);
    EXPECT_EQ(Drag.Drags, 0);
}

TEST_F(OleDndEditor, TheViewScrollsWithTheDropPositionNearTheEdges) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\r\n";
    SetText(text);
    TForeignData data;
    data.Text = "x";
    int effect = 0;
    Drag.Target->DragEnter(data, 0, At(0, 0), effect);
    // Over the last, partly shown row: it comes into view.
    const int bottom = E.TopRow() + E.RowsPerPage();
    Drag.Target->DragOver(0, At(bottom, 0), effect);
    EXPECT_EQ(E.Row(), bottom);
    EXPECT_GT(E.TopRow(), 0);
    // Over the ruler: the row above the view.
    E.Ruler().SetVisible(true);
    const int top = E.TopRow();
    Drag.Target->DragOver(0, {E.TextLeft() + 1, E.TextTop() - 2}, effect);
    EXPECT_EQ(E.Row(), top - 1);
    EXPECT_EQ(E.TopRow(), top - 1);
    Drag.Target->DragLeave();
    EXPECT_EQ(Caret(), std::make_pair(0, 0));
}

} // namespace
} // namespace quillon
