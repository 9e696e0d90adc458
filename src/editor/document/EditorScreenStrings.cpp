#include "EditorScreenStrings.h"

#include "Colourer.h"
#include "EditorUndo.h"
#include "RowStates.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

namespace quillon {
namespace {

// Calls F for every line of Text: lines end at CR, LF or CR LF; a final line break makes no empty
// line, and an empty text is one empty line.
template <class F> void ForEachLine(std::string_view Text, F f) {
    std::size_t pos = 0;
    do {
        std::size_t end = pos;
        while (end < Text.size() && Text[end] != '\r' && Text[end] != '\n') ++end;
        f(Text.substr(pos, end - pos));
        if (end == Text.size()) return;
        pos = end + (Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n' ? 2 : 1);
    } while (pos < Text.size());
}

constexpr std::uint32_t kMarksMask = 0xFFFF0000u;
// ReplaceRows writes at most this many rows in place.
constexpr int kRowsWrittenInPlace = 8;
// A waiting line is cut in runs of its rows of at least this much text.
constexpr std::size_t kRunBytes = 64 * 1024;

} // namespace

TEditorScreenStrings::TEditorScreenStrings()
    : FUndoObj(std::make_unique<TEditorUndoObj>(*this)), FWrapOption(std::make_unique<TEditorWrapOption>()) {
    FWrapOption->OnChange = [this](TPersistent*) { WrapOptionChanged(); };
    OnChange = [this](TRowStringList&) { NotifyEditors(); };
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

// Editors

void TEditorScreenStrings::AttachEditor(TAttachedEditor* Editor) { FEditors.push_back(Editor); }

void TEditorScreenStrings::DetachEditor(TAttachedEditor* Editor) { std::erase(FEditors, Editor); }

TAttachedEditor* TEditorScreenStrings::ActiveEditor() const {
    auto it = std::find_if(FEditors.begin(), FEditors.end(), [](TAttachedEditor* e) { return e->Focused(); });
    return it != FEditors.end() ? *it : FirstEditor();
}

void TEditorScreenStrings::NotifyEditors() {
    for (TAttachedEditor* e : FEditors) e->DoChange();
}

void TEditorScreenStrings::ClampEditorRows() {
    const int count = Count();
    const int limit = count > 0 && RowAttribute(count - 1) == raEndOfText ? count - 1 : count;
    for (TAttachedEditor* e : FEditors) {
        if (e->Row() > count - 1) e->SetRow(limit);
        if (e->TopRow() > count - 1) e->SetTopRow(limit);
    }
}

void TEditorScreenStrings::RepaintEditors() {
    for (TAttachedEditor* e : FEditors) e->Refresh();
}

void TEditorScreenStrings::RefreshEditors() {
    RepaintEditors();
    ClampEditorRows();
    for (TAttachedEditor* e : FEditors) e->SetCol(0);
}

void TEditorScreenStrings::SetUpdateInfo(int Row, int OldCount, int StateCount, int NewCount) {
    FUpdateInfo = {Row, OldCount, NewCount, StateCount, true};
}

void TEditorScreenStrings::SetUpdateState(bool Updating) {
    ++FVersion;
    TRowAttributeStringList::SetUpdateState(Updating);
    if (Updating) return;
    FUpdateInfo = {};
    ClampEditorRows();
}

void TEditorScreenStrings::Changing() {
    ++FVersion;
    // A cut changes only waiting rows, where no state is computed: what lies above them stays.
    FComputedTo = FCutting ? std::min(FComputedTo, FRewrapFrom) : 0;
    if (!FCutting || FProvisional.Reaches(FRewrapFrom)) FProvisional.Drop(*this);
    if (!FSplicing) FLongRowScans.Clear();
    TRowAttributeStringList::Changing();
}

// Marks

std::uint16_t TEditorScreenStrings::GetUsedMarks() const {
    std::uint16_t used = 0;
    for (int m = 0; m < 16; ++m)
        if (FMarkCounts[static_cast<std::size_t>(m)] > 0) used |= static_cast<std::uint16_t>(1u << m);
    return used;
}

void TEditorScreenStrings::AdjustMarkCounts(std::uint16_t Marks, int Delta) {
    for (unsigned m = Marks; m != 0; m &= m - 1) FMarkCounts[static_cast<std::size_t>(std::countr_zero(m))] += Delta;
}

void TEditorScreenStrings::SetRowMarks(int Index, std::uint16_t Value) {
    AdjustMarkCounts(RowMarks(Index), -1);
    TRowAttributeStringList::SetRowMarks(Index, Value);
    AdjustMarkCounts(Value, 1);
}

void TEditorScreenStrings::HandDeletedMarks(int Row, std::uint16_t Marks, bool MarkModified) {
    if (Count() == 0) return;
    int r = std::min(Row, Count() - 1);
    SetRowMarks(r, RowMarks(r) | Marks);
    if (MarkModified) SetRowModified(r, true);
}

// Undo and wrap switches

void TEditorScreenStrings::Undo() {
    FinishRewrap();
    FUndoObj->Undo();
}

void TEditorScreenStrings::Redo() {
    FinishRewrap();
    FUndoObj->Redo();
}

void TEditorScreenStrings::SetWordWrap(bool Value) {
    if (FWordWrap == Value) return;
    FWordWrap = Value;
    if (FirstEditor() && FirstEditor()->Loading()) return;
    FUndoObj->Clear();
    if (FWordWrap)
        BeginRewrap();
    else
        UnwrapAll();
    ResetRowStates();
    RefreshEditors();
    ColouringLeftOver();
}

void TEditorScreenStrings::WrapOptionChanged() {
    if ((FirstEditor() && FirstEditor()->Loading()) || !FWordWrap) return;
    FUndoObj->Clear();
    BeginRewrap();
    ResetRowStates();
    RefreshEditors();
    ColouringLeftOver();
}

void TEditorScreenStrings::Clear() {
    for (TAttachedEditor* e : FEditors) e->CancelSelection();
    FUndoObj->Clear();
    SetUpdateInfo(0, Count(), 0, 0);
    TRowAttributeStringList::Clear();
    FRewrapFrom = kNoneWaiting;
    FUpdateInfo = {};
    for (TAttachedEditor* e : FEditors) {
        e->SetRow(0);
        e->SetCol(0);
    }
    FMarkCounts.fill(0);
}

// Reading rows

int TEditorScreenStrings::LogicalLineStart(int Row) const {
    while (Row > 0 && Row - 1 < Count() && RowAttribute(Row - 1) == raWrapped) --Row;
    return Row;
}

int TEditorScreenStrings::LogicalLineEnd(int Row) const {
    if (Row < 0) return -1;
    while (Row < Count() - 1 && RowAttribute(Row) == raWrapped) ++Row;
    return Row;
}

void TEditorScreenStrings::GetRowsText(int Row, int Count, int& Attr, int& RowCount, std::string& Text) const {
    Text.clear();
    const int last = Row < 0 || Row >= this->Count() ? Row - 1
                     : Count == -1                   ? LogicalLineEnd(Row)
                                                     : std::min(Row + Count, this->Count()) - 1;
    RowCount = std::max(last - Row + 1, 0);
    if (RowCount == 0) {
        Attr = 3;
        return;
    }
    std::size_t size = 0;
    for (int r = Row; r <= last; ++r) size += Get(r).size() + 2;
    Text.reserve(size);
    for (int r = Row; r <= last; ++r) {
        Text += Get(r);
        AddLineBreak(r, Text);
    }
    Attr = RowAttribute(last);
}

std::string TEditorScreenStrings::GetRowsText(int Row, int Count) const {
    int attr = 0, rows = 0;
    std::string text;
    GetRowsText(Row, Count, attr, rows, text);
    return text;
}

void TEditorScreenStrings::AddLineBreak(int Row, std::string& S) const {
    if (Row >= 0 && Row < Count() && RowAttribute(Row) == raLineBreak) S += "\r\n";
}

int TEditorScreenStrings::AppendLines(int Row, int End, std::size_t Size, std::string& Text,
                                      std::vector<TLineStart>& Lines) const {
    End = std::min(End, Count());
    bool lineStart = Row == 0 || RowAttribute(Row - 1) != raWrapped;
    for (; Row < End; ++Row) {
        if (lineStart) Lines.push_back({Row, Text.size()});
        Text += Get(Row);
        const int attr = RowAttribute(Row);
        if (attr == raLineBreak) Text += "\r\n";
        lineStart = attr != raWrapped;
        if (lineStart && Text.size() >= Size) return Row + 1;
    }
    return Row;
}

int TEditorScreenStrings::LinesAbove(int Row, std::size_t Size) const {
    std::size_t size = 0;
    while (Row > 0 && (size < Size || RowAttribute(Row - 1) == raWrapped)) {
        --Row;
        size += Get(Row).size() + (RowAttribute(Row) == raLineBreak ? 2 : 0);
    }
    return Row;
}

std::vector<std::uint32_t> TEditorScreenStrings::FlagsOf(int Row, int Count) const {
    std::vector<std::uint32_t> flags;
    for (int r = Row; r < Row + Count; ++r) flags.push_back(r >= 0 && r < this->Count() ? RowFlags(r) : 0);
    return flags;
}

void TEditorScreenStrings::PutFlags(int Row, const std::vector<std::uint32_t>& Flags) {
    for (std::size_t i = 0; i < Flags.size() && Row + static_cast<int>(i) < Count(); ++i)
        SetRowFlags(Row + static_cast<int>(i), Flags[i]);
}

// Wrapping

TColumnLayout TEditorScreenStrings::Layout() const {
    TColumnLayout layout = FirstEditor() ? FirstEditor()->ColumnLayout() : TColumnLayout{};
    layout.WordWrap = FWordWrap;
    layout.WrapByte = FWrapOption->WrapByte();
    return layout;
}

void TEditorScreenStrings::WrapText(std::string_view Text, TRowAttributeStringList& Dest) const {
    Dest.BeginUpdate();
    Dest.Clear();
    const TColumnLayout layout = Layout();
    std::vector<TWrappedRow> rows;
    ForEachLine(Text, [&](std::string_view line) {
        if (!FWordWrap) {
            Dest.Add(std::string(line));
            return;
        }
        rows.clear();
        WrapLine(line, *FWrapOption, layout, rows);
        for (const TWrappedRow& row : rows) Dest.SetRowAttribute(Dest.Add(std::string(row.Text)), row.Attribute);
    });
    Dest.EndUpdate();
}

int TEditorScreenStrings::WrappedRowCount(std::string_view S) const {
    if (!FWordWrap) return 1;
    std::vector<TWrappedRow> rows;
    WrapLine(S, *FWrapOption, Layout(), rows);
    return static_cast<int>(rows.size());
}

// Changing rows

std::uint16_t TEditorScreenStrings::DeleteRows(int Row, int Count) {
    FinishRewrap();
    return DeleteCutRows(Row, Count);
}

std::uint16_t TEditorScreenStrings::DeleteCutRows(int Row, int Count) {
    if (Row < 0 || Row >= this->Count() || Count <= 0) return 0;
    Count = std::min(Count, this->Count() - Row);
    std::uint16_t marks = 0;
    for (int r = Row; r < Row + Count; ++r) {
        marks |= RowMarks(r);
        AdjustMarkCounts(RowMarks(r), -1);
    }
    Erase(Row, Count);
    return marks;
}

void TEditorScreenStrings::ReplaceRows(int Row, int OldCount, TRowAttributeStringList& NewRows) {
    FinishRewrap();
    ReplaceCutRows(Row, OldCount, NewRows);
}

void TEditorScreenStrings::ReplaceCutRows(int Row, int OldCount, TRowAttributeStringList& NewRows) {
    const int n = NewRows.Count();
    std::vector<std::uint16_t> marks(static_cast<std::size_t>(n), 0);
    auto marksOf = [&](int i) -> std::uint16_t& { return marks[static_cast<std::size_t>(i)]; };
    if (n <= OldCount) {
        // The first rows of the range go; their marks join the first new row.
        const int gone = OldCount - n;
        for (int i = 0; i < n; ++i) marksOf(i) = RowMarks(Row + gone + i);
        for (int r = Row; r < Row + gone && n > 0; ++r) marksOf(0) |= RowMarks(r);
    } else if (OldCount > 0) {
        // Marks keep their distance from the end of the range; the first row's go to the first new
        // row when the caret is inside its line, else to the row that now holds the old first row.
        const int extra = n - OldCount;
        for (int j = 1; j < OldCount; ++j) marksOf(j + extra) = RowMarks(Row + j);
        TAttachedEditor* active = ActiveEditor();
        marksOf(active && active->Col() != 0 ? 0 : extra) = RowMarks(Row);
    }
    BeginUpdate();
    for (int r = Row; r < Row + OldCount; ++r) AdjustMarkCounts(RowMarks(r), -1);
    // A few rows that both have are written in place, the rest inserted or removed at the end; more
    // are removed and inserted whole, since writing a row in place moves the rest of its block.
    const int common = std::min(n, OldCount) <= kRowsWrittenInPlace ? std::min(n, OldCount) : 0;
    for (int i = 0; i < common; ++i) CopyRow(Row + i, NewRows, i);
    Erase(Row + common, OldCount - common);
    if (Count() == 0)
        TakeRows(NewRows);
    else
        InsertRows(Row + common, NewRows, common, n - common);
    for (int i = 0; i < n; ++i) {
        SetTokenState(Row + i, (TokenState(Row + i) & ~kMarksMask) | static_cast<std::uint32_t>(marksOf(i)) << 16);
        AdjustMarkCounts(marksOf(i), 1);
    }
    EndUpdate();
}

int TEditorScreenStrings::RecutStart(int Row) const {
    const std::size_t reach = static_cast<std::size_t>(TRowCutter::LookAhead(FWrapOption->WrapByte()));
    int first = Row;
    for (std::size_t distance = 0; first > 0 && RowAttribute(first - 1) == raWrapped; --first) {
        distance += Get(first - 1).size();
        if (first < Row && distance >= reach) break;
    }
    return first;
}

int TEditorScreenStrings::RowsCutByEdit() const {
    // The colouring walk after a change reaches two screens below its first row, which no waiting
    // row may be; the editor that shows the change cuts through three screens below its top row.
    int rows = 2;
    for (const TAttachedEditor* e : FEditors) rows = std::max(rows, e->StateLookAhead() * 3 / 2 + 2);
    return rows;
}

TEditorScreenStrings::TRewrap TEditorScreenStrings::WrapUntilResync(std::string_view Head, int Next, int First,
                                                                    int MinRows, TRowAttributeStringList& Dest) const {
    Dest.BeginUpdate();
    Dest.Clear();
    // The rows of Head's whole lines; its last line (empty when Head ends with a line break) goes on
    // with the rows from Next.
    const std::size_t lastLine = Head.find_last_of("\r\n") + 1;
    if (lastLine > 0) WrapText(Head.substr(0, lastLine), Dest);
    const bool tail = Next < Count();
    TRewrap result{Next - 1, false};
    if (!FWordWrap) {
        // Every row is a line of its own: the next one is taken in whole.
        if (lastLine < Head.size() || tail) {
            std::string line(Head.substr(lastLine));
            if (tail) line += Get(Next);
            Dest.Add(line);
        }
        result.Last = tail ? Next : Next - 1;
        Dest.EndUpdate();
        return result;
    }
    if (lastLine == Head.size() && lastLine > 0 && !tail) {
        Dest.EndUpdate();
        return result;
    }
    // The old rows are read only as far as the cutting looks ahead; starts[i] is where row Next + i
    // begins in the line.
    std::string line(Head.substr(lastLine));
    std::vector<std::size_t> starts;
    const std::size_t lookAhead = static_cast<std::size_t>(TRowCutter::LookAhead(FWrapOption->WrapByte()));
    bool lineEnded = !tail;
    auto read = [&](std::size_t Offset) {
        while (!lineEnded && line.size() - Offset < lookAhead) {
            starts.push_back(line.size());
            line += Get(result.Last + 1);
            ++result.Last;
            lineEnded = result.Last == Count() - 1 || RowAttribute(result.Last) != raWrapped;
        }
    };
    TRowCutter cutter(*FWrapOption, Layout());
    std::size_t next = 0; // the first old row not yet passed, as an index of starts
    for (std::size_t offset = 0;;) {
        read(offset);
        while (next < starts.size() && starts[next] < offset) ++next;
        // From a row that starts where an old row starts, the cutting repeats the old rows.
        const int old = Next + static_cast<int>(next);
        if (next < starts.size() && starts[next] == offset && Dest.Count() > 0 && old > First) {
            Dest.EndUpdate();
            return {old - 1, true};
        }
        // The rest of a long line waits, from a row start of the new cut.
        if (!lineEnded && offset >= Head.size() - lastLine && Dest.Count() >= MinRows) {
            Dest.SetRowAttribute(Dest.Add(std::string_view(line).substr(offset)), raWrapped);
            Dest.EndUpdate();
            return {result.Last, true, Dest.Count() - 1};
        }
        const TWrappedRow row = cutter.Cut(std::string_view(line).substr(offset));
        Dest.SetRowAttribute(Dest.Add(std::string(row.Text)), row.Attribute);
        if (row.Attribute == 0) break;
        offset += row.Text.size();
        if (offset == line.size() && lineEnded && FWrapOption->FollowRetMark()) {
            Dest.SetRowAttribute(Dest.Count() - 1, 0);
            break;
        }
    }
    Dest.EndUpdate();
    return result;
}

void TEditorScreenStrings::UpdateRows(int Row, int Count, std::string_view Text) {
    // A change above the waiting rows leaves them waiting; one that reaches them, or the end of the
    // text, sees the whole cut.
    if (Row + Count + 1 >= RewrapFrom()) FinishRewrap();
    if (Row < 0 || Count < 0 || Row + Count > this->Count() || (Count == 0 && Text.empty())) return;
    // An empty last row holds no text: it only ends a line that fills the row above it. It goes with
    // that row, so that the new rows end as a fresh load of the new text ends them.
    const int lastRow = this->Count() - 1;
    if (Row + Count == lastRow && Get(lastRow).empty() && RowAttribute(lastRow) == raEndOfText) ++Count;
    const int first = RecutStart(Row);
    const int lastOld = Row + Count - 1;
    const bool endsLine = lastOld < 0 || lastOld >= this->Count() - 1 || RowAttribute(lastOld) != raWrapped;
    int rows = 0;
    BeginUpdate();
    if (Row == first && endsLine && Text.empty() && Count > 0) {
        // Whole rows removed: replaying the record inserts them again.
        TUndoData& undo = FUndoObj->NewUndoData();
        undo.Row = Row;
        GetRowsText(Row, Count, undo.Attribute, rows, undo.Text);
        undo.RowCount = 0;
        undo.Flags = FlagsOf(Row, Count);
        HandDeletedMarks(Row, DeleteCutRows(Row, Count), true);
        if (FRewrapFrom != kNoneWaiting) SetRewrapFrom(FRewrapFrom - Count);
        SetUpdateInfo(first, Count, UpdateRowStates(Row, true), 0);
        EndUpdate();
        return;
    }
    // The new text goes on with the rest of the last replaced row's logical line, or with the next
    // logical line when that row ends its line; the rows are re-wrapped until they fall as before.
    // Text is copied only when it flows back into the row above.
    std::string joined;
    std::string_view head = Text;
    if (first < Row) {
        joined = GetRowsText(first, Row - first);
        joined += Text;
        head = joined;
    }
    TRowAttributeStringList newRows;
    const TRewrap rewrap = WrapUntilResync(head, lastOld + 1, first, RowsCutByEdit(), newRows);
    const int last = rewrap.Last;
    const int n = newRows.Count();
    if (!rewrap.Resynced) {
        // The new last row ends as the old one did; at the end of the text, as the new text does.
        const bool endsText = last == this->Count() - 1;
        const bool lineBreak = last > lastOld ? RowAttribute(last) == raLineBreak
                                              : !head.empty() && (head.back() == '\n' || head.back() == '\r');
        newRows.SetRowAttribute(n - 1, !endsText ? RowAttribute(last) : lineBreak ? raLineBreak : raEndOfText);
    }
    const int oldCount = last - first + 1;
    TUndoData& undo = FUndoObj->NewUndoData();
    undo.Row = first;
    GetRowsText(first, oldCount, undo.Attribute, rows, undo.Text);
    undo.RowCount = n;
    undo.Flags = FlagsOf(first, oldCount);
    if (rewrap.Waiting >= 0) {
        // The row that waits ends where a later cut puts it: the step holds the rows above it, and
        // its text, the end of the old rows, goes on after them as the rest of the line does.
        undo.Text.resize(undo.Text.size() - newRows.Get(rewrap.Waiting).size());
        undo.RowCount = rewrap.Waiting;
    }

    // Rows after the replaced ones keep their modified bits; the rest are modified.
    const int kept = std::min(last - lastOld, n - 1);
    for (int j = 0; j < kept; ++j) newRows.SetRowModified(n - 1 - j, RowModified(last - j));
    for (int i = 0; i < n - kept; ++i) newRows.SetRowModified(i, true);

    ReplaceCutRows(first, oldCount, newRows);
    // Waiting rows that the re-wrap passed are cut now; those below it moved with it.
    if (FRewrapFrom != kNoneWaiting) SetRewrapFrom(FRewrapFrom > last ? FRewrapFrom + n - oldCount : first + n);
    if (rewrap.Waiting >= 0) WaitFrom(first + rewrap.Waiting);
    SetUpdateInfo(first, oldCount, UpdateRowStates(first, true), n);
    EndUpdate();
}

bool TEditorScreenStrings::CanReplaceInRows(const std::vector<TRowSplice>& Splices) const {
    if (FWordWrap || Splices.empty()) return false;
    for (std::size_t k = 0; k < Splices.size(); ++k) {
        const TRowSplice& s = Splices[k];
        if (s.Row < 0 || s.Row >= Count() || (k > 0 && s.Row <= Splices[k - 1].Row)) return false;
        const std::size_t size = Get(s.Row).size();
        if (s.Pos > size || s.Length > size - s.Pos || (s.Length == 0 && s.Text.empty()) ||
            std::any_of(s.Text.begin(), s.Text.end(), [](char c) { return c == '\r' || c == '\n'; }))
            return false;
        // The text's end makes no row: emptying the last row there takes the row away (UpdateRows).
        if (s.Text.empty() && s.Length == size && RowAttribute(s.Row) == raEndOfText) return false;
    }
    return true;
}

void TEditorScreenStrings::ReplaceInRows(const std::vector<TRowSplice>& Splices) {
    FinishRewrap();
    if (!CanReplaceInRows(Splices)) return;
    FSplicing = true;
    BeginUpdate();
    ReplaceInRows(Splices, FUndoObj->NewUndoData());
    EndUpdate();
    FSplicing = false;
}

bool TEditorScreenStrings::CanReplaceInRow(int Row, int Index, int Length, std::string_view Text) const {
    return Index >= 0 && Length >= 0 &&
           CanReplaceInRows({{Row, static_cast<std::size_t>(Index), static_cast<std::size_t>(Length), Text}});
}

void TEditorScreenStrings::ReplaceInRow(int Row, int Index, int Length, std::string_view Text) {
    if (!CanReplaceInRow(Row, Index, Length, Text)) return;
    ReplaceInRows({{Row, static_cast<std::size_t>(Index), static_cast<std::size_t>(Length), Text}});
}

void TEditorScreenStrings::ReplaceInRows(const std::vector<TRowSplice>& Splices, TUndoData& Inverse) {
    const int first = Splices.front().Row, rows = Splices.back().Row - first + 1;
    Inverse.Row = first;
    Inverse.RowCount = rows;
    Inverse.Attribute = RowAttribute(first);
    Inverse.Splices.clear();
    Inverse.Splices.reserve(Splices.size());
    Inverse.Flags.clear();
    Inverse.Text.clear();
    for (const TRowSplice& s : Splices) {
        Inverse.Splices.push_back({s.Row, static_cast<int>(s.Pos), static_cast<int>(s.Text.size()),
                                   static_cast<int>(s.Length), RowFlags(s.Row)});
        Inverse.Text += Get(s.Row).substr(s.Pos, s.Length);
    }
    SpliceRows(Splices);
    for (const TRowSplice& s : Splices) {
        FLongRowScans.Changed(s.Row, static_cast<int>(s.Pos), static_cast<int>(s.Length),
                              static_cast<int>(s.Text.size()));
        SetRowModified(s.Row, true);
    }
    // The rows' own states stay; the states below the first follow from its new text. Those below
    // the second changed row on are computed again, later for most: every row from the first on is
    // painted again.
    const bool several = Splices.size() > 1;
    if (several && Splices[1].Row + 1 < Count()) MarkNotComputed(Splices[1].Row + 1);
    const int changed = first + 1 < Count() ? UpdateRowStates(first + 1, true) : 0;
    SetUpdateInfo(first, rows, several ? Count() - first : changed, rows);
}

// Colouring states

int TEditorScreenStrings::UpdateRowStates(int Index, bool Invalidate) {
    TAttachedEditor* editor = FirstEditor();
    TColourer* colourer = editor ? editor->ActiveColourer() : nullptr;
    if (!colourer) return 0;
    // An edit looks no further up for a computed row than it looks ahead; a paint must have its state.
    const int lookAhead = editor->StateLookAhead();
    const int changed = quillon::UpdateRowStates(*this, *colourer, Index, lookAhead, Invalidate,
                                                 Invalidate ? std::max(lookAhead, 1) : std::numeric_limits<int>::max());
    FProvisional.Confirm(*this);
    ColouringLeftOver();
    return changed;
}

TRowAttributeData TEditorScreenStrings::PaintRowState(int Index) {
    if (BracketIndex(Index) == biNotComputed && !FProvisional.Find(Index)) {
        TAttachedEditor* editor = FirstEditor();
        TColourer* colourer = editor ? editor->ActiveColourer() : nullptr;
        const int screen = editor ? std::max(editor->StateLookAhead() / 2, 1) : 1;
        // By the prefix invariant one row tells whether the computed rows reach two screens above.
        const int above = Index - 2 * screen - 1;
        if (above < 0 || BracketIndex(above) != biNotComputed)
            UpdateRowStates(Index, false);
        else if (colourer)
            FProvisional.Compute(*this, *colourer, Index, screen);
    }
    const TRowAttributeData* provisional = FProvisional.Find(Index);
    return provisional ? *provisional : GetRowAttributeData(Index);
}

void TEditorScreenStrings::ResetRowStates() {
    FProvisional.Drop(*this);
    FLongRowScans.Clear();
    TAttachedEditor* editor = FirstEditor();
    TColourer* colourer = editor && !editor->Loading() ? editor->ActiveColourer() : nullptr;
    if (!colourer) return;
    // The first two screens, and two below the top row when it lies within them; a deeper top row is
    // painted from provisional states until the idle work gets there.
    const int lookAhead = editor->StateLookAhead();
    const int top = editor->TopRow() <= lookAhead ? editor->TopRow() : 0;
    if (editor->InitBracketsFull()) FinishRewrap();
    const int last = editor->InitBracketsFull() ? Count() - 1 : std::min(Count() - 1, top + lookAhead);
    // No state below the cut rows: a cut would leave it standing below rows not computed.
    quillon::ResetRowStates(*this, *colourer, std::min(last, RewrapFrom() - 1));
    ColouringLeftOver();
}

void TEditorScreenStrings::ColouringLeftOver() {
    FComputedTo = 0;
    // The computed rows are a prefix: the last row tells whether any row is left.
    if (Count() == 0 || (BracketIndex(Count() - 1) != biNotComputed && !RewrapPending())) return;
    for (TAttachedEditor* e : FEditors) e->IdleWorkPending();
}

bool TEditorScreenStrings::ComputeRowStates(int MaxRows) {
    // States are computed over cut rows only (the idle work cuts them first).
    FinishRewrap();
    TAttachedEditor* editor = FirstEditor();
    TColourer* colourer = editor && !editor->Loading() ? editor->ActiveColourer() : nullptr;
    if (!colourer) return false;
    FComputedTo = quillon::ComputeRowStates(*this, *colourer, FComputedTo, MaxRows);
    FProvisional.Confirm(*this);
    return FComputedTo < Count();
}

void TEditorScreenStrings::RowStateChanged(int Index) {
    for (TAttachedEditor* e : FEditors) e->InvalidateRow(Index);
}

// Whole-text rebuilds

template <class Rows>
void TEditorScreenStrings::AppendWrappedLine(std::string_view Line, const TColumnLayout& Layout,
                                             std::vector<TWrappedRow>& Pieces, Rows& Dest) const {
    // A line takes at least a column a byte.
    if (Line.size() < static_cast<std::size_t>(FWrapOption->WrapByte()) &&
        DisplayWidth(Line, Layout) < FWrapOption->WrapByte()) {
        Dest.Add(Line);
        return;
    }
    Pieces.clear();
    WrapLine(Line, *FWrapOption, Layout, Pieces);
    for (const TWrappedRow& piece : Pieces) Dest.SetRowAttribute(Dest.Add(piece.Text), piece.Attribute);
}

template <class F, class Rows>
void TEditorScreenStrings::AppendLineRows(int First, int Last, std::string& Joined, F Build, Rows& Dest) const {
    std::string_view line = Get(First);
    if (Last > First) {
        Joined.clear();
        for (int r = First; r <= Last; ++r) Joined += Get(r);
        line = Joined;
    }
    const int from = Dest.Count();
    Build(line, Dest);
    const int made = Dest.Count() - from;
    for (int r = First; r <= Last; ++r) {
        const int to = from + std::min(r - First, made - 1);
        if (const std::uint16_t marks = RowMarks(r))
            Dest.SetRowMarks(to, static_cast<std::uint16_t>(Dest.RowMarks(to) | marks));
    }
}

int TEditorScreenStrings::LineRunEnd(int First, std::size_t Bytes) const {
    int last = First;
    for (std::size_t bytes = Get(First).size(); bytes < Bytes && last < Count() - 1 && RowAttribute(last) == raWrapped;
         bytes += Get(last).size())
        ++last;
    return last;
}

void TEditorScreenStrings::AppendRunRows(std::string_view Run, TRowCutter& Cutter, int WrapByte, TCutRows& Dest) {
    // A cut reads at most LookAhead bytes, and a row that holds that many is wrapped: the rows cut
    // here are those of the whole line.
    const std::size_t reach = static_cast<std::size_t>(TRowCutter::LookAhead(WrapByte));
    std::size_t offset = 0;
    while (Run.size() - offset > reach) {
        const std::string_view row = Cutter.Cut(Run.substr(offset)).Text;
        Dest.SetRowAttribute(Dest.Add(row), raWrapped);
        offset += row.size();
    }
    Dest.SetRowAttribute(Dest.Add(Run.substr(offset)), raWrapped);
}

void TEditorScreenStrings::UnwrapAll() {
    if ((FirstEditor() && FirstEditor()->Loading()) || Count() == 0) return;
    for (TAttachedEditor* e : FEditors) e->CancelSelection();
    TChangeEvent onChange = std::move(OnChange);
    OnChange = nullptr;
    BeginUpdate();
    const int lastAttr = RowAttribute(Count() - 1);
    TRowAttributeStringList rows;
    rows.SetCapacity(Count());
    std::string joined;
    for (int first = 0; first < Count();) {
        const int last = LogicalLineEnd(first);
        AppendLineRows(
            first, last, joined, [](std::string_view line, TRowAttributeStringList& Dest) { Dest.Add(line); }, rows);
        first = last + 1;
    }
    FMarkCounts.fill(0);
    for (int r = 0; r < rows.Count(); ++r) AdjustMarkCounts(rows.RowMarks(r), 1);
    TakeRows(rows);
    FRewrapFrom = kNoneWaiting;
    SetRowAttribute(Count() - 1, lastAttr == raWrapped ? raEndOfText : lastAttr);
    EndUpdate();
    OnChange = std::move(onChange);
}

// Word wrap in steps

void TEditorScreenStrings::BeginRewrap() {
    if ((FirstEditor() && FirstEditor()->Loading()) || Count() == 0) return;
    for (TAttachedEditor* e : FEditors) e->CancelSelection();
    FRewrapFrom = 0;
    for (TAttachedEditor* e : FEditors) CutRowsShownBy(*e);
}

void TEditorScreenStrings::WaitFrom(int Row) {
    // The rows from Row on were computed or not as a whole (the prefix rule): the one after it tells.
    if (Row + 1 < Count() && BracketIndex(Row + 1) != biNotComputed) MarkNotComputed(Row + 1);
    SetRewrapFrom(std::min(FRewrapFrom, Row));
}

void TEditorScreenStrings::SetRewrapFrom(int Row) { FRewrapFrom = Row < Count() ? Row : kNoneWaiting; }

void TEditorScreenStrings::RewrapThrough(int Row) {
    if (Row >= RewrapFrom()) CutWaitingRows(Row, 0);
}

void TEditorScreenStrings::CutRowsShownBy(const TAttachedEditor& Editor) {
    RewrapThrough(std::max(Editor.Row(), Editor.TopRow() + Editor.StateLookAhead() * 3 / 2));
}

void TEditorScreenStrings::FinishRewrap() { CutWaitingRows(std::numeric_limits<int>::max(), 0); }

bool TEditorScreenStrings::RewrapStep(std::size_t Bytes) {
    CutWaitingRows(RewrapFrom(), Bytes);
    return RewrapPending();
}

int TEditorScreenStrings::TCutRows::Add(std::string_view Text) {
    Items.emplace_back();
    Texts.push_back(Text);
    return Count() - 1;
}

void TEditorScreenStrings::TCutRows::SetRowAttribute(int Index, int Value) {
    Items[static_cast<std::size_t>(Index)].Attribute = static_cast<std::uint8_t>(Value);
}

void TEditorScreenStrings::TCutRows::Clear() {
    Items.clear();
    Texts.clear();
    Joined.clear();
}

void TEditorScreenStrings::CutWaitingRows(int Row, std::size_t Bytes) {
    if (!RewrapPending()) return;
    const TColumnLayout layout = Layout();
    TRowCutter cutter(*FWrapOption, layout);
    // A run cuts rows of its own only when it holds more than a cut reads.
    const std::size_t minRun = 4 * static_cast<std::size_t>(TRowCutter::LookAhead(FWrapOption->WrapByte()));
    std::vector<TWrappedRow> pieces;
    TCutRows rows;
    std::string single; // never filled: a line of one row is cut in place
    std::size_t cut = 0;
    auto more = [&] { return RewrapPending() && (FRewrapFrom <= Row || cut < Bytes); };
    // The last row of a line narrower than the margin is cut into itself: it stays in place, without the
    // modified bit that no cut row keeps (its colouring state is not computed, as every waiting row's).
    // Such rows are walked in their blocks, as most rows of a text of short lines are.
    const std::size_t margin = static_cast<std::size_t>(FWrapOption->WrapByte());
    // A row without a tab is as wide as it is long.
    auto stays = [&](std::string_view text, const TRowItem& item) {
        return item.Attribute != raWrapped && text.size() < margin &&
               (text.find('\t') == std::string_view::npos || DisplayWidth(text, layout) < FWrapOption->WrapByte());
    };
    auto stay = [&](std::string_view text, TRowItem& item) {
        if (!(FRewrapFrom <= Row || cut < Bytes) || !stays(text, item)) return false;
        SetModified(item, false);
        cut += text.size();
        ++FRewrapFrom;
        return true;
    };
    FCutting = true;
    BeginUpdate();
    while (more()) {
        WalkRows(FRewrapFrom, stay);
        if (!more()) break;
        // The lines to the end of the old rows' block, those that stay included, put in place of their
        // old rows at once: no old row moves but by its own cut, save the rest of the block where the
        // cut stops and a line that reaches into the next block.
        const int from = FRewrapFrom, blockEnd = BlockEnd(from);
        int next = from; // the first old row not taken
        rows.Clear();
        bool rest = false; // the last new row is the uncut rest of a line
        auto wanted = [&] { return next < blockEnd && (from + rows.Count() <= Row || cut < Bytes); };
        // Such rows among them are taken as they are.
        auto take = [&](std::string_view text, TRowItem& item) {
            if (!wanted() || !stays(text, item)) return false;
            rows.Items.push_back(item);
            SetModified(rows.Items.back(), false);
            rows.Texts.push_back(text);
            cut += text.size();
            ++next;
            return true;
        };
        while (!rest && (WalkRows(next, take), wanted())) {
            // A long line is cut a run of its rows at a time: the bytes a step has left, or a run
            // of kRunBytes for the rows asked for.
            const int last = LineRunEnd(next, cut < Bytes ? std::max(Bytes - cut, minRun) : kRunBytes);
            rest = last < Count() - 1 && RowAttribute(last) == raWrapped;
            AppendLineRows(
                next, last, last > next ? rows.Joined.emplace_back() : single,
                [&](std::string_view line, TCutRows& Dest) {
                    if (rest)
                        AppendRunRows(line, cutter, FWrapOption->WrapByte(), Dest);
                    else
                        AppendWrappedLine(line, layout, pieces, Dest);
                    cut += line.size();
                },
                rows);
            // The line's last row ends as its old last row did.
            const int endAttr = RowAttribute(last);
            if (!rest) rows.SetRowAttribute(rows.Count() - 1, endAttr == raWrapped ? raEndOfText : endAttr);
            next = last + 1;
        }
        for (int r = from; r < next; ++r) AdjustMarkCounts(RowMarks(r), -1);
        for (const TRowItem& item : rows.Items) AdjustMarkCounts(item.Marks, 1);
        ReplaceItems(from, next - from, rows.Items.data(), rows.Texts.data(), rows.Count());
        FRewrapFrom = from + rows.Count() - (rest ? 1 : 0);
        // The new rows are not computed, so no row after them may be.
        if (FRewrapFrom < Count() && BracketIndex(FRewrapFrom) != biNotComputed) MarkNotComputed(FRewrapFrom);
    }
    if (FRewrapFrom >= Count()) FRewrapFrom = kNoneWaiting;
    EndUpdate();
    FCutting = false;
}

void TEditorScreenStrings::LoadText(std::string_view Text) {
    const bool wrap = FWordWrap && !(FirstEditor() && FirstEditor()->Loading());
    const TColumnLayout layout = Layout();
    std::vector<TWrappedRow> pieces;
    TRowAttributeStringList rows;
    // The next CR and the next LF are each found by one memchr over the bytes after the last one.
    std::size_t cr = Text.find('\r'), lf = Text.find('\n');
    for (std::size_t pos = 0; pos < Text.size();) {
        if (cr < pos) cr = Text.find('\r', pos);
        if (lf < pos) lf = Text.find('\n', pos);
        const std::size_t end = std::min({cr, lf, Text.size()});
        const std::string_view line = Text.substr(pos, end - pos);
        if (wrap)
            AppendWrappedLine(line, layout, pieces, rows);
        else
            rows.Add(line);
        if (end == Text.size()) rows.SetRowAttribute(rows.Count() - 1, raEndOfText);
        pos = end + (end + 1 < Text.size() && Text[end] == '\r' && Text[end + 1] == '\n' ? 2 : 1);
    }
    FMarkCounts.fill(0);
    TakeRows(rows);
    FRewrapFrom = kNoneWaiting;
}

} // namespace quillon
