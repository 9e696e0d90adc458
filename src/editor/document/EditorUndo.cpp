#include "EditorUndo.h"

#include "EditorScreenStrings.h"

#include <limits>

namespace quillon {
namespace {

void TakeCaret(TUndoData& Data, const TAttachedEditor* Editor) {
    if (!Editor) return;
    Data.CaretRow = Editor->Row();
    Data.CaretCol = Editor->Col();
}

// Overwrites the change of Dest (not its caret) by that of Source.
void TakeChange(TUndoData& Dest, TUndoData&& Source) {
    Dest.Row = Source.Row;
    Dest.RowCount = Source.RowCount;
    Dest.Attribute = Source.Attribute;
    Dest.Splices = std::move(Source.Splices);
    Dest.Flags = std::move(Source.Flags);
    Dest.Text = std::move(Source.Text);
}

} // namespace

TUndoData& TEditorUndoObj::NewUndoData() {
    FUndoList.emplace_back();
    TakeCaret(FUndoList.back(), FOwner.ActiveEditor());
    if (static_cast<int>(FUndoList.size()) > FUndoListMax) FUndoList.pop_front();
    if (!FReplaying) FRedoList.clear();
    return FUndoList.back();
}

void TEditorUndoObj::AddRedoData(const TUndoData& Data) {
    FRedoList.push_back(Data);
    TakeCaret(FRedoList.back(), FOwner.ActiveEditor());
}

void TEditorUndoObj::Clear() {
    FUndoList.clear();
    FRedoList.clear();
}

TUndoData TEditorUndoObj::Replay(const TUndoData& R, bool IsUndo) {
    TEditorScreenStrings& s = FOwner;
    TUndoData inverse;
    if (!R.Splices.empty()) {
        std::vector<TRowSplice> splices;
        splices.reserve(R.Splices.size());
        std::size_t at = 0;
        for (const TUndoSplice& u : R.Splices) {
            const auto length = static_cast<std::size_t>(u.TextLength);
            splices.push_back({u.Row, static_cast<std::size_t>(u.Offset), static_cast<std::size_t>(u.Length),
                               std::string_view(R.Text).substr(at, length)});
            at += length;
        }
        s.ReplaceInRows(splices, inverse);
        for (const TUndoSplice& u : R.Splices) s.SetRowFlags(u.Row, u.Flags);
        return inverse;
    }
    inverse.Row = R.Row;
    TRowAttributeStringList rows;
    int curRows = R.RowCount;
    if (R.Attribute == raWrapped) {
        // The text goes on with the rows after it and is cut as they were cut; when these rows do not
        // start where a row of the text ends, the rest of the line is re-wrapped with it.
        const int next = R.Row + R.RowCount;
        const auto rewrap = s.WrapUntilResync(R.Text, next, R.Row, std::numeric_limits<int>::max(), rows);
        if (!rewrap.Resynced)
            rows.SetRowAttribute(rows.Count() - 1, rewrap.Last >= next ? s.RowAttribute(rewrap.Last) : R.Attribute);
        curRows = rewrap.Last - R.Row + 1;
    } else if (R.Attribute != 3) {
        s.WrapText(R.Text, rows);
        rows.SetRowAttribute(rows.Count() - 1, R.Attribute);
    }
    if (curRows > 0) s.GetRowsText(R.Row, curRows, inverse.Attribute, curRows, inverse.Text);
    inverse.Flags = s.FlagsOf(R.Row, curRows);

    if (R.Attribute != 3) {
        inverse.RowCount = rows.Count();
        s.ReplaceRows(R.Row, curRows, rows);
        s.PutFlags(R.Row, R.Flags);
    } else {
        std::uint16_t marks = s.DeleteRows(R.Row, curRows);
        if (IsUndo) s.PutFlags(R.Row, R.Flags);
        s.HandDeletedMarks(R.Row, marks, !IsUndo);
        inverse.RowCount = 0;
    }
    s.SetUpdateInfo(R.Row, curRows, s.UpdateRowStates(R.Row, true), inverse.RowCount);
    return inverse;
}

void TEditorUndoObj::Undo() {
    if (FUndoList.empty()) return;
    ReplayLast(FUndoList, [this](TUndoData& R) {
        TakeChange(R, Replay(R, true));
        AddRedoData(R);
    });
}

void TEditorUndoObj::Redo() {
    if (FRedoList.empty()) return;
    ReplayLast(FRedoList, [this](TUndoData& R) {
        TUndoData inverse = Replay(R, false);
        FReplaying = true;
        TakeChange(NewUndoData(), std::move(inverse));
        FReplaying = false;
    });
}

void TEditorUndoObj::ReplayLast(std::deque<TUndoData>& List, const std::function<void(TUndoData&)>& Apply) {
    TAttachedEditor* editor = FOwner.ActiveEditor();
    if (editor) editor->CaretBeginUpdate();
    TUndoData& r = List.back();
    FOwner.FSplicing = !r.Splices.empty();
    FOwner.BeginUpdate();
    Apply(r);
    FOwner.EndUpdate();
    FOwner.FSplicing = false;
    if (editor) {
        editor->SetRow(r.CaretRow);
        editor->SetCol(r.CaretCol);
        editor->CaretEndUpdate();
    }
    List.pop_back();
}

} // namespace quillon
