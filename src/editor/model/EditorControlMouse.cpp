// TEditor: mouse selection and dragging the selection.
#include "EditorControl.h"

#include "EditorControlUtils.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

// ---- Dragging the selection

std::string TEditor::TextBetween(int Row1, int Index1, int Row2, int Index2) const {
    if (Row1 == Row2) {
        const std::string s = GetRowString(Row1);
        Index1 = std::clamp(Index1, 0, static_cast<int>(s.size()));
        return s.substr(static_cast<std::size_t>(Index1),
                        static_cast<std::size_t>(std::clamp(Index2 - Index1, 0, static_cast<int>(s.size()) - Index1)));
    }
    const std::string first = GetRowString(Row1);
    std::string text = first.substr(static_cast<std::size_t>(std::min<int>(Index1, static_cast<int>(first.size()))));
    FStore->AddLineBreak(Row1, text);
    for (int r = Row1 + 1; r < Row2; ++r) text += RowText(r);
    const std::string last = GetRowString(Row2);
    return text + last.substr(0, static_cast<std::size_t>(std::clamp(Index2, 0, static_cast<int>(last.size()))));
}

void TEditor::MoveSelection(int ARow, int ACol) {
    if (!CanSelDrag() || IsInSelection(ARow, ACol)) {
        CancelSelection();
        return;
    }
    const TSelection sel = FSelStr;
    const std::string moved = SelText();
    const std::string pointRow = GetRowString(ARow);
    const int pi = CaretStringIndex(ARow, ACol);
    const int len = static_cast<int>(pointRow.size());
    const std::string pad = Blanks(pi - len);
    const int p = std::min(pi, len);
    CancelSelection();
    const bool before = ARow < sel.StartRow || (ARow == sel.StartRow && pi <= sel.Start);
    std::string text;
    int first = 0, last = 0, offset = 0, ref = 0;
    if (before) {
        first = ARow;
        last = sel.EndRow;
        ref = ReferenceRow(first);
        text = pointRow.substr(0, static_cast<std::size_t>(p)) + pad + moved;
        offset = RowsStep(ref, first) + static_cast<int>(text.size());
        text += TextBetween(ARow, p, sel.StartRow, sel.Start);
        const std::string end = GetRowString(last);
        if (sel.End + 1 < static_cast<int>(end.size())) text += end.substr(static_cast<std::size_t>(sel.End + 1));
    } else {
        first = sel.StartRow;
        last = ARow;
        ref = ReferenceRow(first);
        text = GetRowString(first).substr(0, static_cast<std::size_t>(sel.Start));
        text += TextBetween(sel.EndRow, sel.End + 1, ARow, p) + pad + moved;
        offset = RowsStep(ref, first) + static_cast<int>(text.size());
        text += pointRow.substr(static_cast<std::size_t>(p));
    }
    FStore->AddLineBreak(last, text);
    ReplaceRows(first, last, text, ref, offset);
}

void TEditor::DropSelection(int ARow, int ACol) {
    if (!CanSelDrag() || IsInSelection(ARow, ACol)) {
        CancelSelection();
        return;
    }
    const std::string text = SelText();
    CancelSelection();
    SetRowCol(ARow, ACol);
    SetSelTextBuf(text);
}

void TEditor::CancelDrag(bool Escape) {
    FMouseState = msIdle;
    if (Escape && FCaret->AutoCursor() && FHost) {
        FCursorState = csrDefault;
        FHost->ShowCursorNow(FCaret->Cursors().DefaultCursor());
    } else {
        SetCursorState(csrDefault);
    }
    CancelSelection();
}

void TEditor::Drop(int X, int Y) {
    FMouseState = msIdle;
    SetCursorState(csrDefault);
    const bool inside = X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight();
    if (!inside || IsInSelection(FRow, FCol)) {
        CancelSelection();
        return;
    }
    if (CtrlDown())
        DropSelection(FRow, FCol);
    else
        MoveSelection(FRow, FCol);
}

// ---- Mouse

void TEditor::StartRowSelect(int ARow) {
    ARow = std::clamp(ARow, 0, RowCount());
    if (ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raEndOfText) --ARow;
    FRowSelecting = true;
    FRowSelAnchor = ARow;
    ExtendRowSelect(ARow);
}

void TEditor::RowEnd(int ARow, int& EndRow, int& EndCol) const {
    if (GetRowAttribute(ARow) == raEndOfText) {
        EndRow = ARow;
        EndCol = RowDisplayLength(ARow);
    } else {
        EndRow = ARow + 1;
        EndCol = 0;
    }
}

// Whole rows from the anchor row to ARow: below the anchor the anchor stays at its row's start and
// the caret goes to the start of the row after ARow; at or above it the anchor moves to the start of
// the row after the anchor row and the caret to ARow's start.
void TEditor::ExtendRowSelect(int ARow) {
    ARow = std::clamp(ARow, 0, RowCount());
    if (ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raEndOfText) --ARow;
    int anchorRow = FRowSelAnchor, anchorCol = 0, caretRow = ARow, caretCol = 0;
    if (ARow <= FRowSelAnchor)
        RowEnd(FRowSelAnchor, anchorRow, anchorCol);
    else
        RowEnd(ARow, caretRow, caretCol);
    CaretBeginUpdate();
    if (FSelState == ssNoSelection) StartSelection();
    if (FSelState != ssNoSelection) {
        FAnchorRow = anchorRow;
        FAnchorCol = anchorCol;
        FAnchorIndex = StringIndex(anchorRow, anchorCol);
        SetRowCol(caretRow, caretCol);
        ExtendSelection();
    }
    CaretEndUpdate();
}

void TEditor::WMLButtonDown(TWParam Keys, int X, int Y) {
    int col = 0, row = 0;
    if (!(Keys & MK_SHIFT)) {
        FPressX = X;
        FPressY = Y;
        PointToColRow(X, Y, false, col, row);
        if (CanSelDrag() && X > TextLeft() && IsInSelection(row, col)) {
            SetRowCol(row, col);
            if (FCaret->SelDragMode() == dmAutomatic) FMouseState = msDragPending;
            return;
        }
        PointToColRow(X, Y, true, col, row);
        if (X < TextLeft() && FCaret->RowSelect()) {
            CancelSelection();
            StartRowSelect(row);
            return;
        }
        CaretBeginUpdate();
        SetRowCol(row, col);
        StartSelection();
        CaretEndUpdate();
        return;
    }
    if (FSelState == ssNoSelection) StartSelection();
    PointToColRow(X, Y, true, col, row);
    SetRowCol(row, col);
    ExtendSelection();
}

bool TEditor::MovedHalfChar(int X, int Y) const {
    return std::abs(X - FPressX) >= FCharWidth / 2 || std::abs(Y - FPressY) >= FCharWidth / 2;
}

void TEditor::WMMouseMove(TWParam Keys, int X, int Y) {
    int col = 0, row = 0;
    if (FMouseState == msDragPending) {
        if (MovedHalfChar(X, Y)) {
            FMouseState = msDragging;
            SetCursorState(CtrlDown() ? csrDragCopy : csrDragMove);
        }
        return;
    }
    if (FMouseState == msDragging) {
        PointToColRow(X, Y, false, col, row);
        if (Y < TextTop()) row = std::max(0, row - 1);
        SetRowCol(row, col);
        return;
    }
    if (Keys & MK_LBUTTON) {
        PointToColRow(X, Y, true, col, row);
        if (Y < TextTop()) row = std::max(0, row - 1);
        if (FRowSelecting) {
            ExtendRowSelect(row);
            return;
        }
        SetRowCol(row, col);
        if (FSelState == ssAnchored) {
            if (MovedHalfChar(X, Y)) ActivateSelection();
        } else if (IsSelectedOrHit()) {
            UpdateSelection();
        }
        return;
    }
    PointToColRow(X, Y, false, col, row);
    if (X < TextLeft())
        SetCursorState(csrLeftMargin);
    else if (Y < TextTop())
        SetCursorState(csrTopMargin);
    else if (CanSelDrag() && IsInSelection(row, col))
        SetCursorState(csrInSelection);
    else
        SetCursorState(csrDefault);
}

void TEditor::WMLButtonUp(int X, int Y) {
    if (FMouseState == msDragging)
        Drop(X, Y);
    else if (FMouseState == msDragPending)
        CancelDrag(false);
    FRowSelecting = false;
}

} // namespace quillon
