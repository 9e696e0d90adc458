// TEditor: the selection (stream, box and hit forms) and the clipboard.
#include "EditorControl.h"

#include "EditorControlUtils.h"

#include <algorithm>

namespace quillon {

// ---- Selection

int TEditor::SelStart() const {
    if (RowCount() == 0) return 0;
    if (IsSelectedOrHit()) return RowOffset(FSelStr.StartRow) + FSelStr.Start;
    return RowOffset(FRow) + StringIndex(FRow, FCol);
}

void TEditor::BoxRange(int ARow, int& From, int& To) const {
    const std::string cls = ClassString(ARow);
    const int len = static_cast<int>(GetRowString(ARow).size());
    From = std::min(len, ColToIndexStart(cls, FSelDraw.Start + 1) - 1);
    To = std::clamp(ColToIndexEnd(cls, FSelDraw.End), From, len);
}

int TEditor::SelLength() const {
    if (!IsSelected()) return 0;
    if (FSelStr.StartRow == FSelStr.EndRow) return std::max(0, FSelStr.End - FSelStr.Start + 1);
    int n = 0;
    if (FSelectionMode == 1) {
        for (int r = FSelStr.StartRow; r <= FSelStr.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            n += to - from + 2;
        }
        return n;
    }
    n = static_cast<int>(GetRowString(FSelStr.StartRow).size()) - FSelStr.Start;
    for (int r = FSelStr.StartRow + 1; r < FSelStr.EndRow; ++r) n += static_cast<int>(GetRowString(r).size());
    n += FSelStr.End + 1;
    for (int r = FSelStr.StartRow; r < FSelStr.EndRow; ++r)
        if (GetRowAttribute(r) == raLineBreak) n += 2;
    return n;
}

std::string TEditor::SelText() const {
    if (!IsSelected()) return {};
    const TSelection& s = FSelStr;
    auto piece = [this](int r, int from, int to) { // bytes from..to-1 of row r, clamped
        const std::string t = GetRowString(r);
        from = std::clamp(from, 0, static_cast<int>(t.size()));
        to = std::clamp(to, from, static_cast<int>(t.size()));
        return t.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    };
    if (s.StartRow == s.EndRow) return piece(s.StartRow, s.Start, s.End + 1);
    std::string text;
    if (FSelectionMode == 1) {
        for (int r = s.StartRow; r <= s.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            text += piece(r, from, to) + "\r\n";
        }
        return text;
    }
    text = piece(s.StartRow, s.Start, INT32_MAX);
    for (int r = s.StartRow + 1; r <= s.EndRow; ++r) {
        if (GetRowAttribute(r - 1) != raWrapped) text += "\r\n";
        text += r == s.EndRow ? piece(r, 0, s.End + 1) : GetRowString(r);
    }
    return text;
}

void TEditor::SetSelStart(int Value) {
    CancelSelection();
    if (RowCount() == 0) return;
    if (Value < 1) {
        SetRowCol(0, 0);
        return;
    }
    int row = 0, rest = 0;
    OffsetToRow(Value, row, rest);
    if (row >= RowCount()) {
        SetRow(RowCount());
        SetRowCol(FRow, RowDisplayLength(FRow));
        return;
    }
    const std::string s = GetRowString(row);
    SetRowCol(row,
              std::min(DisplayWidth(std::string_view(s).substr(0, static_cast<std::size_t>(rest))), DisplayWidth(s)));
}

void TEditor::CaretToSelStart() {
    const std::string s = GetRowString(FSelStr.StartRow);
    SetRowCol(FSelStr.StartRow,
              DisplayWidth(std::string_view(s).substr(
                  0, static_cast<std::size_t>(std::clamp(FSelStr.Start, 0, static_cast<int>(s.size()))))));
}

void TEditor::SetSelLength(int Value) {
    if (RowCount() == 0) return;
    SetSelectionMode(0);
    {
        TFlagScope batch(FCaretBatch);
        if (Value < 1) {
            if (IsSelectedOrHit()) {
                CaretToSelStart();
                CancelSelection();
            }
        } else {
            if (IsSelectedOrHit()) CaretToSelStart();
            StartSelection();
            int row = 0, rest = 0;
            WalkRows(FRow, StringIndex(FRow, FCol) + Value, row, rest);
            if (row >= RowCount()) {
                SetRow(RowCount());
                SetCol(RowDisplayLength(FRow));
            } else {
                const std::string s = GetRowString(row);
                SetRow(row);
                SetCol(std::min(DisplayWidth(std::string_view(s).substr(
                                    0, static_cast<std::size_t>(std::min<int>(rest, static_cast<int>(s.size()))))),
                                DisplayWidth(s)));
            }
        }
    }
    UpdateCaret();
    if (Value >= 1) ExtendSelection();
}

void TEditor::SetHitSelLength(int Value) {
    switch (FHitStyle) {
    case hsSelect: SetSelLength(Value); break;
    case hsDraw: {
        TFlagScope hit(FHitFlag);
        SetSelLength(Value);
        break;
    }
    case hsCaret:
        if (Value <= 0) {
            SetSelLength(Value);
            break;
        }
        {
            TFlagScope hit(FHitFlag);
            SetSelLength(Value);
        }
        // The caret stands at the hit's start, where the searches go on from, with the focus or
        // without; only a caret that shows is widened over the hit.
        CaretToSelStart();
        if (HasCaret()) {
            const int endCol = FSelDraw.EndRow > FSelDraw.StartRow ? RowDisplayLength(FSelDraw.StartRow) : FSelDraw.End;
            HideEditorCaret();
            FHost->DestroyCaret();
            FHost->CreateCaret(std::max(2, (endCol - FSelDraw.Start) * FCharWidth), FFontHeight);
            FHitCaret = true;
            ShowEditorCaret();
        }
        break;
    }
    FHitLength = Value;
}

void TEditor::StartSelection() {
    CancelSelection();
    if (RowCount() == 0) return;
    FSelState = ssAnchored;
    FAnchorRow = FRow;
    FAnchorIndex = StringIndex(FRow, FCol);
    FAnchorCol = FSelectionMode == 0 ? std::min(FCol, RowDisplayLength(FRow)) : FCol;
    FSelDraw = {FRow, FRow, FAnchorCol, FAnchorCol};
    FSelStr = {FRow, FRow, FAnchorIndex, FAnchorIndex - 1};
    FSelPainted = FSelDraw;
}

void TEditor::ExtendSelection() {
    if (FSelState == ssAnchored)
        ActivateSelection();
    else if (FSelState == ssSelected)
        UpdateSelection();
}

void TEditor::ActivateSelection() {
    if (FSelState != ssAnchored) return;
    InvalidateUnderline();
    FSelState = FHitFlag ? ssHit : ssSelected;
    UpdateSelection();
}

void TEditor::UpdateSelection() {
    if (!IsSelectedOrHit()) return;
    const int i = StringIndex(FRow, FCol);
    FSelStr.StartRow = std::min(FAnchorRow, FRow);
    FSelStr.EndRow = std::max(FAnchorRow, FRow);
    const bool caretAfter = FRow > FAnchorRow || (FRow == FAnchorRow && i > FAnchorIndex);
    FSelStr.Start = caretAfter ? FAnchorIndex : i;
    FSelStr.End = (caretAfter ? i : FAnchorIndex) - 1;

    FSelDraw.StartRow = FSelStr.StartRow;
    FSelDraw.EndRow = FSelStr.EndRow;
    const int anchorLen = RowDisplayLength(FAnchorRow), caretLen = RowDisplayLength(FRow);
    if (FSelectionMode == 1) {
        FSelDraw.Start = std::min(FAnchorCol, FCol);
        FSelDraw.End = std::max(FAnchorCol, FCol);
    } else if (FRow == FAnchorRow) {
        FSelDraw.Start = std::min(std::min(FAnchorCol, FCol), caretLen);
        FSelDraw.End = std::min(std::max(FAnchorCol, FCol), caretLen);
    } else if (FAnchorRow < FRow) {
        FSelDraw.Start = std::min(FAnchorCol, anchorLen);
        FSelDraw.End = std::min(FCol, caretLen);
    } else {
        FSelDraw.Start = std::min(FCol, caretLen);
        FSelDraw.End = std::min(FAnchorCol, anchorLen);
    }
    if (FSelState == ssSelected || FHitStyle == hsDraw) SelectionRepaint(FSelPainted, FSelDraw);
    FSelPainted = FSelDraw;
    DoSelectionChange(true);
}

void TEditor::SelectionRepaint(const TSelection& Old, const TSelection& New) {
    if (Old == New || !FHost) return;
    // Rows whose selected part differs: between the old and the new end rows and start rows.
    if (Old.StartRow == New.StartRow && Old.Start == New.Start && FSelectionMode == 0) {
        InvalidateRows(std::min(Old.EndRow, New.EndRow), std::max(Old.EndRow, New.EndRow));
    } else if (Old.EndRow == New.EndRow && Old.End == New.End && FSelectionMode == 0) {
        InvalidateRows(std::min(Old.StartRow, New.StartRow), std::max(Old.StartRow, New.StartRow));
    } else {
        InvalidateRows(std::min(Old.StartRow, New.StartRow), std::max(Old.EndRow, New.EndRow));
    }
    FHost->UpdateWindow();
}

void TEditor::CancelSelection() {
    if (FSelState == ssAnchored) FSelState = ssNoSelection;
    if (!IsSelectedOrHit()) return;
    FSelState = ssNoSelection;
    FHitLength = 0;
    if (FHitCaret) UpdateCaret();
    if (FHost && !(FSelDraw.StartRow == FSelDraw.EndRow && FSelDraw.Start == FSelDraw.End)) {
        const int from = std::max(FSelDraw.StartRow - 1, FTopRow),
                  to = std::min(FSelDraw.EndRow, FTopRow + FRowsPerPage);
        if (from <= to)
            FHost->Invalidate({TextLeft(), TextTop() + (from - FTopRow) * RowHeight(), ClientWidth(),
                               TextTop() + (to - FTopRow + 1) * RowHeight()});
        FHost->UpdateWindow();
    }
    InvalidateUnderline();
    FKeepColValid = false;
    DoSelectionChange(false);
}

void TEditor::HitToSelection() {
    if (!IsHitSelected()) return;
    if (FHitStyle == hsCaret) {
        const std::string s = GetRowString(FSelStr.EndRow);
        SetRowCol(FSelStr.EndRow,
                  DisplayWidth(std::string_view(s).substr(
                      0, static_cast<std::size_t>(std::clamp(FSelStr.End + 1, 0, static_cast<int>(s.size()))))));
    }
    FSelState = ssSelected;
}

void TEditor::SetSelectionMode(int Value) {
    if (FMouseState == msDragging || Value == FSelectionMode) return;
    FSelectionMode = Value;
    if (IsSelected()) {
        if (Value == 1 && FHost) FHost->SetCursor(FCaret->Cursors().DefaultCursor());
        UpdateSelection();
        InvalidateAll();
    }
    DoSelectionModeChange();
}

bool TEditor::IsInSelection(int ARow, int ACol) const {
    if (!IsSelected() || ARow < FSelDraw.StartRow || ARow > FSelDraw.EndRow) return false;
    if (FSelectionMode == 1) return ACol >= FSelDraw.Start && ACol < FSelDraw.End;
    if (ARow == FSelDraw.StartRow && ACol < FSelDraw.Start) return false;
    if (ARow == FSelDraw.EndRow && ACol >= FSelDraw.End) return false;
    return true;
}

bool TEditor::CanSelDrag() const { return !FReadOnly && IsSelected() && FSelectionMode == 0 && FCaret->SelMove(); }

void TEditor::RowsWithoutSelection(std::vector<TCutRow>& List) const {
    List.clear();
    if (!IsSelected()) return;
    if (FSelectionMode == 1) {
        for (int r = FSelStr.StartRow; r <= FSelStr.EndRow; ++r) {
            int from = 0, to = 0;
            BoxRange(r, from, to);
            std::string t = GetRowString(r);
            t.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
            List.push_back({t, GetRowAttribute(r), from + 1});
        }
        return;
    }
    std::string t = GetRowString(FSelStr.StartRow).substr(0, static_cast<std::size_t>(FSelStr.Start));
    const std::string end = GetRowString(FSelStr.EndRow);
    if (FSelStr.EndRow < RowCount() && FSelStr.End + 1 < static_cast<int>(end.size()))
        t += end.substr(static_cast<std::size_t>(FSelStr.End + 1));
    List.push_back({t, GetRowAttribute(FSelStr.EndRow), FSelStr.Start + 1});
}

void TEditor::DeleteSelection() {
    if (!IsSelected()) return;
    std::vector<TCutRow> rows;
    RowsWithoutSelection(rows);
    const TSelection sel = FSelStr;
    const int ref = ReferenceRow(sel.StartRow);
    const int offset = RowsStep(ref, sel.StartRow) + rows.front().CutPos - 1;
    CancelSelection();
    ReplaceRows(sel.StartRow, sel.EndRow, BuildText(rows), ref, offset);
}

void TEditor::SelectAll() {
    CaretBeginUpdate();
    SetSelStart(0);
    SetSelLength(GetTextLength());
    CaretEndUpdate();
}

void TEditor::CopyToClipboard() {
    if (IsSelected() && FHost) FHost->SetClipboardText(SelText(), FSelectionMode == 1);
}

void TEditor::CutToClipboard() {
    if (!IsSelected()) return;
    CopyToClipboard();
    DeleteSelection();
}

void TEditor::PasteFromClipboard() {
    if (!FHost || !FHost->ClipboardHasText()) return;
    const std::string text = FHost->ClipboardText();
    if (FHost->ClipboardHasBox())
        SetSelTextBox(text);
    else
        SetSelTextBuf(text);
}

void TEditor::SetCursorState(int State) {
    if (State == FCursorState) return;
    FCursorState = State;
    if (!FHost || !FCaret->AutoCursor()) return;
    const TEditorCursors& c = FCaret->Cursors();
    switch (State) {
    case csrDefault: FHost->SetCursor(c.DefaultCursor()); break;
    case csrLeftMargin: FHost->SetCursor(c.LeftMarginCursor()); break;
    case csrTopMargin: FHost->SetCursor(c.TopMarginCursor()); break;
    case csrInSelection: FHost->SetCursor(c.InSelCursor()); break;
    case csrDragMove: FHost->ShowCursorNow(c.DragSelCursor()); break;
    case csrDragCopy: FHost->ShowCursorNow(c.DragSelCopyCursor()); break;
    default: break;
    }
}

} // namespace quillon
