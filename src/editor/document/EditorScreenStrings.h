#pragma once
// The row store of one document: the display rows that every attached editor shows.
//
// A logical line of the text is one row or, with word wrap, several consecutive rows of which all but
// the last have row attribute 1 (raWrapped). The last row of the text has attribute 2 when no line
// break follows it. The text of rows is read by one convention everywhere: a row with attribute 0 is
// followed by CR LF, any other row by nothing.
//
// Every change of the text passes through UpdateRows: it re-wraps the touched logical lines (from the
// first row whose cut reads into the change, at least the row above it, since text may flow back into
// it, until a new row starts where an old row started: the cut of a row depends only on the text from
// its start, so the rows from there are kept),
// records one undo step, marks the written rows modified, carries the rows' marks by position,
// recomputes the colouring states below the change (lazy colouring, RowStates.h) and tells every
// attached editor. A change inside one row that cannot re-wrap anything (word wrap off, no line
// break) may take ReplaceInRow instead, which does the same for the row's changed bytes alone.
//
// Word wrap in steps. Switching word wrap on, or changing the wrap options with it on, cuts at once
// only the rows that the editors show: from the top of the text through each editor's caret row and
// three screens below its top row (the screen and the two that colouring looks ahead). The rest of
// the text stays as it was and is cut in idle steps (RewrapStep, a few hundred kilobytes each), as
// the colouring states are computed after a load. The cut rows are a prefix:
//   rows 0 .. RewrapFrom - 1 are the rows that a cut of the whole text gives, and row RewrapFrom
//   starts where a row of that cut starts; the rows from RewrapFrom on hold the rest of the text,
//   the rest of RewrapFrom's logical line and then whole lines, not cut yet (old rows).
// The cut of a row depends only on the text from its start, so cutting the waiting rows from
// RewrapFrom on gives the rows of the whole cut, and rows keep their numbers while later rows are
// cut: the numbers that the editors hold (caret, top row, selection) stay right as long as they lie
// in the prefix. A step cuts whole lines, and a long line a run of its rows at a time: the run's
// rows as far as their cut can read, its uncut rest a row that waits (a step costs what it cuts).
// An edit in a long line need not wait for its whole rest either: UpdateRows re-wraps until the rows
// fall as before, and when they do not once the edit's text is cut and the rows its colouring walk
// and its editor's screens reach are (RowsCutByEdit), the rest of the line is left to wait from the
// next row start; the waiting rows below an edit keep waiting, moved with it. So a keystroke in a
// line of megabytes cuts a few screens of rows, not the rest of the line. The rule that keeps the
// partly cut store sound: nothing outside the store holds or derives the number of a waiting row,
// since the cut renumbers it. So
//   - every change of the rows that reaches a waiting row or the end of the text, undo and redo,
//     ReplaceRows and DeleteRows, resetting the colouring states of every row and computing them in
//     idle time first cut the rest (FinishRewrap), and so do the editor's readers of the row count
//     and of a waiting row (TEditor::RowCount, TEditor::HasRow), TEditorStrings' writes and its row
//     of a line (LineToRow): whatever a user or a program does beyond the cut rows sees the whole
//     cut, as without the steps;
//   - a paint first cuts the rows it shows (CutRowsShownBy), so the caret and the view stay in the
//     prefix, and no colouring state below the prefix is computed (a cut leaves every row from its
//     new rows on not computed, as the prefix rule of RowStates.h wants);
//   - switching word wrap off joins every logical line, cut or not.
// Only the painter, the scroll bars (which grow as the steps go), edits above the waiting rows and
// the idle work see the partly cut store. The marks of a line's old rows go to its new rows by
// position, as the cut of the whole text hands them on; colouring states and modified bits are not
// carried, as before. An edit's undo step holds the rows above the one left waiting, whose text goes
// on as the rest of the line.
//
// Invariants:
//   FMarkCounts[m] == the number of rows that carry mark m (so GetUsedMarks is exact);
//   the update record is valid (Updated) only from the end of a change to the end of its bracket;
//   no row from RewrapFrom on has a computed colouring state.
// The store is shared by its editors (std::shared_ptr); an editor that detaches does not free it.
#include "EditorUndo.h"
#include "EditorWrap.h"
#include "RowAttrStrings.h"
#include "RowStates.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TColourer;
class TEditorScreenStrings;

// What the row store and the logical-line view need of an editor attached to the store.
class TAttachedEditor {
public:
    virtual ~TAttachedEditor() = default;

    virtual TEditorScreenStrings& ScreenStrings() = 0;
    // True while the editor is being loaded or destroyed: the store then rebuilds nothing.
    virtual bool Loading() const = 0;
    virtual bool Focused() const = 0;

    virtual int Row() const = 0;
    virtual void SetRow(int Value) = 0;
    virtual int Col() const = 0;
    virtual void SetCol(int Value) = 0;
    virtual int TopRow() const = 0;
    virtual void SetTopRow(int Value) = 0;
    // Moves the caret to the text offset Offset counted from the start of FirstRow.
    virtual void SetCaretToLineOffset(int FirstRow, int Offset) = 0;
    virtual void CaretBeginUpdate() = 0;
    virtual void CaretEndUpdate() = 0;
    virtual void CancelSelection() = 0;

    // The store changed; its update record tells which rows.
    virtual void DoChange() = 0;
    // Metrics, scroll bars and a full repaint after the rows were rebuilt.
    virtual void Refresh() = 0;
    // The colouring state of Row changed: it has to be repainted.
    virtual void InvalidateRow(int Row) = 0;
    // A group of logical-line changes begins or ends (the editor holds its caret and underline).
    virtual void LinesUpdateBegun() = 0;
    virtual void LinesUpdateEnded() = 0;

    // Delimiters and tab stops of the class string; the wrap fields are the store's.
    virtual TColumnLayout ColumnLayout() const = 0;
    // The colourer whose parser computes row states, or null.
    virtual TColourer* ActiveColourer() = 0;
    // Rows that colouring looks ahead of a change: two screen heights.
    virtual int StateLookAhead() const = 0;
    // Whether resetting the colouring states computes every row instead of the first screens.
    virtual bool InitBracketsFull() const = 0;
    // Rows were left not computed or not cut: the editor should run its idle work (RewrapStep, then
    // ComputeRowStates) until none is left.
    virtual void IdleWorkPending() {}
};

// The last change, for the editors' DoChange.
struct TUpdateInfo {
    int UpdateRow = 0;     // first row
    int OldRowCount = 0;   // rows replaced
    int NewRowCount = 0;   // rows written in their place
    int StateRowCount = 0; // rows whose colouring state changed
    bool Updated = false;  // the record is valid
};

class TEditorScreenStrings : public TRowAttributeStringList, public TLongRowStore {
public:
    TEditorScreenStrings();
    ~TEditorScreenStrings() override;

    void AttachEditor(TAttachedEditor* Editor);
    void DetachEditor(TAttachedEditor* Editor);
    const std::vector<TAttachedEditor*>& Editors() const { return FEditors; }
    TAttachedEditor* FirstEditor() const { return FEditors.empty() ? nullptr : FEditors.front(); }
    // The first attached editor with the focus, else the first editor.
    TAttachedEditor* ActiveEditor() const;

    const TUpdateInfo& UpdateInfo() const { return FUpdateInfo; }
    void SetUpdateInfo(int Row, int OldCount, int StateCount, int NewCount);

    // The marks (0-15) present on some row, and the marks of one row (keeping the counts).
    std::uint16_t GetUsedMarks() const;
    void SetRowMarks(int Index, std::uint16_t Value);

    TEditorUndoObj& UndoObj() const { return *FUndoObj; }
    virtual void Undo();
    virtual void Redo();

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TEditorWrapOption& WrapOption() const { return *FWrapOption; }

    // Cancels the editors' selections, clears the undo history and every row.
    void Clear() override;

    int LogicalLineStart(int Row) const;
    int LogicalLineEnd(int Row) const; // -1 for a negative row
    // The text of Count rows from Row (Count -1: to the end of the logical line), each row with
    // attribute 0 followed by CR LF. Attr is the attribute of the last row read, RowCount the rows
    // read; 3 and 0 when Row is outside the rows.
    void GetRowsText(int Row, int Count, int& Attr, int& RowCount, std::string& Text) const;
    std::string GetRowsText(int Row, int Count) const;
    // Appends CR LF to S when Row exists and has attribute 0.
    void AddLineBreak(int Row, std::string& S) const;

    // Chunks of whole logical lines, as the searches read the text: a search needs no more of the
    // text than a chunk while what it seeks stays inside a line, and reads a long text a chunk at a
    // time wherever it starts.
    //
    // The first row of a logical line that begins in a chunk, and the offset of its text there.
    struct TLineStart {
        int Row = 0;
        std::size_t Offset = 0;
    };
    // Appends the rows from Row up to End (exclusive), each followed by its line break, to Text, and
    // stops early once Text holds Size bytes and the last row appended ends its logical line. Every
    // appended row that begins a logical line goes to Lines. Answers the row after the last appended.
    int AppendLines(int Row, int End, std::size_t Size, std::string& Text, std::vector<TLineStart>& Lines) const;
    // The first row of the whole logical lines right above row Row (a line's first row) that hold
    // Size bytes or more with their line breaks; fewer only at the top of the text.
    int LinesAbove(int Row, std::size_t Size) const;

    // The rows of Text, every line cut by the word wrap; every line's last row has attribute 0.
    virtual void WrapText(std::string_view Text, TRowAttributeStringList& Dest) const;
    // The rows WrapText makes of the single line S.
    virtual int WrappedRowCount(std::string_view S) const;
    // The delimiters and tab stops of the first editor with the store's wrap settings.
    TColumnLayout Layout() const;

    // Replaces OldCount rows from Row by NewRows; marks stay with positions. When they replace every
    // row, the store takes NewRows' rows over instead of copying them, and NewRows is left empty.
    void ReplaceRows(int Row, int OldCount, TRowAttributeStringList& NewRows);
    // Removes Count rows from Row and answers the union of their marks (now on no row).
    std::uint16_t DeleteRows(int Row, int Count);
    // Replaces Count rows from Row by Text, re-wrapping the touched logical lines from RecutStart(Row),
    // as one undo step (the rest of a long line may be left waiting: see the top of this file).
    // Appending (Row = the row count) needs a last row that ends with a line break.
    void UpdateRows(int Row, int Count, std::string_view Text);
    // Whether ReplaceInRows can make these changes: word wrap is off (so no row is re-wrapped), they
    // come in order of row, at most one in a row, each changes something and its bytes lie inside
    // its row, no text holds a line break, and every row stays (the text's last row is not emptied).
    bool CanReplaceInRows(const std::vector<TRowSplice>& Splices) const;
    // Makes Splices as one undo step that holds only the replaced bytes: the cost follows the
    // changes, not the rows' length (typing in a long line, replacing in every line). Does nothing
    // unless CanReplaceInRows.
    void ReplaceInRows(const std::vector<TRowSplice>& Splices);
    // ReplaceInRows of one change: Length bytes at byte Index of Row by Text.
    bool CanReplaceInRow(int Row, int Index, int Length, std::string_view Text) const;
    void ReplaceInRow(int Row, int Index, int Length, std::string_view Text);

    // Colouring-state propagation from Index (RowStates.h); answers the rows whose state changed.
    int UpdateRowStates(int Index, bool Invalidate);
    // The state a paint of row Index shows: its own, computed first when it lies within two screens
    // below the computed rows; farther below, a provisional one (RowStates.h).
    TRowAttributeData PaintRowState(int Index);
    void ResetRowStates();
    // Idle work: computes the states of at most MaxRows more rows below the computed ones; answers
    // whether rows are still left. An editor hears of left-over rows through IdleWorkPending.
    bool ComputeRowStates(int MaxRows);
    void RowStateChanged(int Index) override;
    TLongRowScans& LongRowScans() const override { return FLongRowScans; }

    // Word wrap in steps (see the top of this file). The first row not cut yet; the row count when
    // every row is cut.
    int RewrapFrom() const { return std::min(FRewrapFrom, Count()); }
    bool RewrapPending() const { return FRewrapFrom < Count(); }
    // Cuts the waiting rows until rows 0..Row are cut.
    void RewrapThrough(int Row);
    // Cuts the rows that Editor shows: through its caret row and three screens below its top row (the
    // screen and the two that colouring looks ahead of it).
    void CutRowsShownBy(const TAttachedEditor& Editor);
    void FinishRewrap();
    // Idle work: cuts waiting rows for about Bytes of text; answers whether rows still wait.
    bool RewrapStep(std::size_t Bytes);

    void UnwrapAll();
    // Replaces every row by the rows of Text without an undo record: lines end at CR, LF or CR LF,
    // the end of the text makes no row, and the last row has attribute 2 unless Text ends with a line
    // break; with word wrap each line is cut by WrapLine (EditorWrap.h). Rows are written once, in order.
    void LoadText(std::string_view Text);
    // Every editor recomputes its metrics and scroll bars and repaints its whole window.
    void RepaintEditors();
    // Repaints every editor, clamps their rows and sets their columns to 0.
    void RefreshEditors();

    // Grows with every change of the rows; views keep derived indices against it.
    std::uint64_t Version() const { return FVersion; }

protected:
    void SetUpdateState(bool Updating) override;
    void Changing() override;

private:
    friend class TEditorUndoObj;

    void NotifyEditors();
    // Tells the editors when rows are left not computed or not cut.
    void ColouringLeftOver();
    void WrapOptionChanged();
    // Every row waits for the cut; the rows the editors show are cut at once (word wrap switched on
    // or its options changed).
    void BeginRewrap();
    // Cuts waiting rows until rows 0..Row are cut and at least Bytes of text were cut.
    void CutWaitingRows(int Row, std::size_t Bytes);
    // New rows of waiting lines before they replace their old rows at once (ReplaceItems): their
    // records and their texts, which lie in the old rows or, for a line of several old rows, in Joined.
    struct TCutRows {
        std::vector<TRowItem> Items;
        std::vector<std::string_view> Texts;
        std::deque<std::string> Joined;

        int Count() const { return static_cast<int>(Items.size()); }
        int Add(std::string_view Text);
        void SetRowAttribute(int Index, int Value);
        std::uint16_t RowMarks(int Index) const { return Items[static_cast<std::size_t>(Index)].Marks; }
        void SetRowMarks(int Index, std::uint16_t Value) { Items[static_cast<std::size_t>(Index)].Marks = Value; }
        void Clear();
    };
    // Appends to Dest (a row list or TCutRows) the rows of the logical line of rows First..Last, made of
    // its text by Build(line, Dest), with the marks of its old rows by position (those of old rows
    // beyond the new ones join the last new row). A line of several rows is joined in Joined first.
    template <class F, class Rows>
    void AppendLineRows(int First, int Last, std::string& Joined, F Build, Rows& Dest) const;
    // The last row of the run of rows from First inside its logical line that holds at least Bytes of
    // text (the line's last row when the rest of the line holds less).
    int LineRunEnd(int First, std::size_t Bytes) const;
    // Appends to Dest the rows cut from Run, a run of rows that does not end its logical line, as long
    // as a row's cut can read far enough, and then the uncut rest as a wrapped row that waits for the
    // next cut.
    static void AppendRunRows(std::string_view Run, TRowCutter& Cutter, int WrapByte, TCutRows& Dest);
    void ClampEditorRows();
    void AdjustMarkCounts(std::uint16_t Marks, int Delta);
    // Hands Marks to the row at min(Row, last row) and marks it modified (nothing when no row is left).
    void HandDeletedMarks(int Row, std::uint16_t Marks, bool MarkModified);
    // Appends the rows of one logical line to Dest as the word wrap cuts it: a line narrower than the
    // wrap margin stays one row.
    template <class Rows>
    void AppendWrappedLine(std::string_view Line, const TColumnLayout& Layout, std::vector<TWrappedRow>& Pieces,
                           Rows& Dest) const;
    // The first row that a change of the text from row Row on is cut again from: the row above Row,
    // since text may flow back into it, and every row of Row's line above that whose cut reads into
    // row Row (a cut reads at most TRowCutter::LookAhead bytes: with word break a row inside a long
    // word is cut at a third of the width after a look for the word's end a whole width ahead).
    int RecutStart(int Row) const;
    // The last old row that a re-wrap replaces, whether the rows after it are kept as they are, and
    // the new row from which the rest of the line waits for its cut (-1: none waits).
    struct TRewrap {
        int Last;
        bool Resynced;
        int Waiting = -1;
    };
    // Fills Dest with the rows of Head followed by the old rows from Next to the end of Next's logical
    // line, cut as a full re-wrap cuts them, but only up to the first new row that starts where an old
    // row from Next starts (after at least one new row, and never at First): from there the cutting
    // would repeat the old rows, which are kept. Once Head is cut and Dest holds MinRows rows, the rest
    // of a long line is left to wait: Dest's last row holds the uncut rest of the old rows read, and the
    // old rows after them are kept as waiting rows.
    TRewrap WrapUntilResync(std::string_view Head, int Next, int First, int MinRows,
                            TRowAttributeStringList& Dest) const;
    // The rows an edit cuts at least before it leaves the rest of a long line to wait: those that its
    // colouring walk and the editors' screens reach.
    int RowsCutByEdit() const;
    // ReplaceRows and DeleteRows of rows above the waiting ones, which move with them.
    void ReplaceCutRows(int Row, int OldCount, TRowAttributeStringList& NewRows);
    std::uint16_t DeleteCutRows(int Row, int Count);
    // Rows from Row on wait for their cut (those from RewrapFrom on wait already): Row starts a row of
    // the whole cut.
    void WaitFrom(int Row);
    // Rows from Row on wait (none when Row is past the last row).
    void SetRewrapFrom(int Row);
    // ReplaceInRows' change, made and recorded in Inverse (which undoes it); undo replays it too.
    // The caller's update bracket is made with FSplicing set, so that the marks of long rows stay.
    void ReplaceInRows(const std::vector<TRowSplice>& Splices, TUndoData& Inverse);
    std::vector<std::uint32_t> FlagsOf(int Row, int Count) const;
    // Puts Flags back on the rows from Row that exist.
    void PutFlags(int Row, const std::vector<std::uint32_t>& Flags);

    std::vector<TAttachedEditor*> FEditors; // attached, not owned
    TUpdateInfo FUpdateInfo;
    std::array<int, 16> FMarkCounts{}; // rows that carry each mark
    std::unique_ptr<TEditorUndoObj> FUndoObj;
    bool FWordWrap = false;
    std::unique_ptr<TEditorWrapOption> FWrapOption;
    std::uint64_t FVersion = 0;
    int FComputedTo = 0;                 // no row above it is left not computed (0 after any change)
    TProvisionalStates FProvisional;     // none of its rows is computed; void after any change
    mutable TLongRowScans FLongRowScans; // void after any change but one inside a row
    bool FSplicing = false;              // a change inside rows is being made (set around its bracket)
    static constexpr int kNoneWaiting = std::numeric_limits<int>::max();
    int FRewrapFrom = kNoneWaiting; // the first row not cut yet (RewrapFrom)
    bool FCutting = false;          // waiting rows are being cut (set around the bracket)
};

} // namespace quillon
