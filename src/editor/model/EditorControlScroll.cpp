// TEditor: geometry, caret, scrolling and repaint requests.
#include "EditorControl.h"

#include "EditorControlUtils.h"
#include "EditorGutters.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

// ---- Geometry and metrics

int TEditor::RowHeight() const { return FFontHeight + FMargin->Line() + FMargin->UnderlineSpace(); }

int TEditor::TextLeft() const {
    return FMargin->Left() + (FImagebar->Visible() ? FImagebarWidth : 0) + (FLeftbar->Visible() ? FLeftbarWidth : 0);
}

int TEditor::TextTop() const { return FMargin->Top() + (FRuler->Visible() ? FRulerHeight : 0); }

int TEditor::ClientWidth() const { return FHost ? FHost->ClientWidth() : FWidth; }
int TEditor::ClientHeight() const { return FHost ? FHost->ClientHeight() : FHeight; }

bool TEditor::CalcLeftbarDigits() {
    TLeftbarNumbering numbering;
    numbering.ByLine = FLeftbar->ShowNumberMode() == nmLine;
    numbering.ZeroBase = FLeftbar->ZeroBase();
    numbering.ZeroLead = FLeftbar->ZeroLead();
    numbering.Column = FLeftbar->Column();
    const int digits = LeftbarDigits(*FStore, numbering);
    if (digits == FLeftbarDigits) return false;
    FLeftbarDigits = digits;
    return true;
}

void TEditor::CalcGutters() {
    FRulerHeight = quillon::RulerHeight(FRuler->Visible(), FRuler->Edge());
    CalcLeftbarDigits();
    FLeftbarWidth = quillon::LeftbarWidth(FLeftbar->Visible(), FLeftbar->LeftMargin(), FLeftbarDigits, FCharWidth,
                                          FLeftbar->RightMargin());
    FImagebarWidth = quillon::ImagebarWidth(FImagebar->Visible(), FImagebar->LeftMargin(), FImagebar->DigitWidth(),
                                            FImagebar->MarkWidth(), FImagebar->RightMargin());
}

void TEditor::CalcMetrics() {
    int height = 16, ave = 8;
    if (FHost) FHost->FontMetrics(height, ave);
    FFontHeight = height;
    FCharWidth = ave + FMargin->Character();
    CalcGutters();
    const int extent = FHost ? FHost->ScrollBarExtent() : 0;
    const int h = FScrollBars == ssHorizontal || FScrollBars == ssBoth ? extent : 0;
    const int v = FScrollBars == ssVertical || FScrollBars == ssBoth ? extent : 0;
    // A font without width or height (no font yet) must not divide by zero.
    FRowsPerPage = std::max(1, (ClientHeight() - TextTop() - 5 - h) / std::max(1, RowHeight()));
    FColsPerPage = (ClientWidth() - TextLeft() - FCharWidth / 2 - v) / std::max(1, FCharWidth);
}

void TEditor::PointToColRow(int X, int Y, bool Round, int& ACol, int& ARow) const {
    if (X < TextLeft()) X -= FCharWidth - 1;
    if (Round)
        ACol = std::max(0, (X + FCharWidth / 2 - 1 - TextLeft()) / std::max(1, FCharWidth) + FTopCol);
    else
        ACol = std::max(0, (X - TextLeft()) / std::max(1, FCharWidth) + FTopCol);
    ARow = (Y - TextTop()) / std::max(1, RowHeight()) + FTopRow;
}

// ---- Caret

void TEditor::RememberCol(bool Vertical, int Value) {
    if (!Vertical || FKeepColValid) return;
    FKeepCol = Value;
    FKeepColValid = true;
}

void TEditor::AdjustCol(bool Vertical, int Direction) {
    const std::string cls = ClassString(FRow);
    const int len = static_cast<int>(cls.size());
    if (!Vertical)
        FKeepColValid = false;
    else if (FKeepColValid)
        FCol = FKeepCol;
    const int before = FCol;
    if (!FCaret->FreeCaret() && FCol > len) {
        if (FCaret->KeepCaret() && Vertical) RememberCol(true, LeftButtonDown() ? len : before);
        if (!(Vertical && !LeftButtonDown() && FCaret->FreeRow())) FCol = len;
    }
    if (ClassAt(cls, FCol) == ccDoubleSecond) {
        RememberCol(Vertical, before);
        FCol += Direction;
    }
    if (!FCaret->InTab())
        while (ClassAt(cls, FCol) == ccTabFill) {
            RememberCol(Vertical, before);
            FCol += Direction;
        }
    if (FStore->WordWrap() && FCol >= len) {
        RememberCol(Vertical, before);
        const int wrapByte = FStore->WrapOption().WrapByte();
        if (GetRowAttribute(FRow) != raWrapped) {
            if (FCol >= wrapByte) FCol = std::max(len, wrapByte - 1);
        } else {
            FCol = std::max(0, len - 1);
        }
        if (ClassAt(cls, FCol) == ccDoubleSecond) --FCol;
        if (!FCaret->InTab())
            while (ClassAt(cls, FCol) == ccTabFill) --FCol;
    }
    if (FCol > kMaxCol && ClassAt(cls, kMaxCol - 1) != ccDoubleFirst) FCol = kMaxCol;
    FCol = std::clamp(FCol, 0, kMaxCol + 1);
    if (!FCaretBatch) UpdateCaret();
}

void TEditor::SetCol(int Value) {
    Value = std::clamp(Value, 0, kMaxCol + 1);
    const int direction = Value > FCol ? 1 : -1;
    InvalidateRulerMark();
    FCol = Value;
    AdjustCol(false, direction);
    InvalidateRulerMark();
}

void TEditor::SetRow(int Value) {
    if (Value == FRow && HasRow(FRow)) return;
    InvalidateUnderline();
    if (!HasRow(Value)) Value = std::clamp(Value, 0, RowCount());
    if (!HasRow(Value) && Value > 0 && GetRowAttribute(Value - 1) == raEndOfText) --Value;
    FRow = Value;
    const int col = FCol;
    // The ruler mark leaves its column when the new row moves the caret's column.
    InvalidateRulerMark();
    AdjustCol(true, -1);
    if (FCol != col) InvalidateRulerMark();
    InvalidateUnderline();
}

void TEditor::SetRowCol(int ARow, int ACol) {
    if (ARow == FRow && ACol == FCol) return;
    {
        TFlagScope batch(FCaretBatch);
        SetRow(ARow);
        const std::string cls = ClassString(FRow);
        if (ClassAt(cls, ACol) == ccDoubleSecond) --ACol;
        if (!FCaret->InTab())
            while (ClassAt(cls, ACol) == ccTabFill) --ACol;
        SetCol(ACol);
    }
    UpdateCaret();
}

bool TEditor::HasCaret() const { return FHost && FHost->Focused(); }

void TEditor::CaretBeginUpdate() {
    if (++FCaretUpdateCount == 1) HideEditorCaret();
}

void TEditor::CaretEndUpdate() {
    if (FCaretUpdateCount > 0 && --FCaretUpdateCount == 0) ShowEditorCaret();
}

void TEditor::HideEditorCaret() {
    if (!HasCaret() || !FCaretShown) return;
    FHost->HideCaret();
    FCaretShown = false;
}

void TEditor::ShowEditorCaret() {
    if (!HasCaret() || FCaretUpdateCount != 0 || FCaretShown || CaretOutOfView()) return;
    FHost->ShowCaret();
    FCaretShown = true;
}

bool TEditor::CaretOutOfView() const {
    return FTopRow > FRow || FRow > FTopRow + FRowsPerPage || FCol < FTopCol || FTopCol + FColsPerPage < FCol;
}

void TEditor::GetCaretPoint(int& X, int& Y) const {
    X = TextLeft() + (FCol - FTopCol) * FCharWidth;
    Y = TextTop() + (FRow - FTopRow) * RowHeight();
    if (!FOverWrite && FCaret->Style() == csBrief) Y += FFontHeight - 2;
}

void TEditor::MoveImeWindow() {
    FImePending = false;
    if (!HasCaret()) return;
    int x = 0, y = 0;
    GetCaretPoint(x, y);
    FHost->SetImePosition(x, y);
}

void TEditor::FollowIme() {
    if (FKeyRepeat)
        FImePending = true;
    else
        MoveImeWindow();
}

void TEditor::UpdateCaretPos() {
    if (!HasCaret()) return;
    int x = 0, y = 0;
    GetCaretPoint(x, y);
    FHost->SetCaretPos(x, y);
    FollowIme();
    DoCaretMoved();
}

void TEditor::RecreateCaret() {
    if (!HasCaret()) return;
    const int w = FCharWidth - FMargin->Character();
    const int cellWidth = ClassAt(ClassString(FRow), FCol) == ccDoubleFirst ? 2 * w : w;
    int width = 2, height = FFontHeight;
    if (FOverWrite) {
        width = cellWidth;
    } else if (FCaret->Style() == csBrief) {
        width = cellWidth;
        height = 2;
    }
    HideEditorCaret();
    FHost->DestroyCaret();
    FHost->CreateCaret(width, height);
    FHitCaret = false;
}

void TEditor::ScrollCaretIntoView() {
    if (!HasCaret()) return;
    if (FRow < FTopRow)
        SetTopRow(FRow);
    else if (FRow > FTopRow + FRowsPerPage - 1)
        SetTopRow(FRow - (FRowsPerPage - 1));
    if (FCol < FTopCol)
        SetTopCol(std::max(0, std::min(FCol, FTopCol - FColsPerPage / 4)));
    else if (FCol > FTopCol + FColsPerPage - 1)
        SetTopCol(
            std::min(std::max(FCol - (FColsPerPage - 1), FTopCol + FColsPerPage / 4), kMaxCol - FColsPerPage / 2));
}

void TEditor::UpdateCaret() {
    RecreateCaret();
    ScrollCaretIntoView();
    UpdateCaretPos();
    ShowEditorCaret();
}

// ---- Scrolling

void TEditor::SetTopRow(int Value) {
    if (!HasRow(Value)) Value = std::clamp(Value, 0, RowCount());
    if (Value == FTopRow) return;
    CaretBeginUpdate();
    const int delta = std::clamp(Value - FTopRow, -(FRowsPerPage + 1), FRowsPerPage + 1);
    FTopRow = Value;
    if (FHost) {
        ScrollText(0, -delta * RowHeight(), {0, TextTop(), ClientWidth(), ClientHeight()});
        FHost->SetScrollPos(sbVertical, FTopRow);
    }
    FollowIme();
    CaretEndUpdate();
    DoTopRowChange();
}

void TEditor::SetTopCol(int Value) {
    Value = std::max(0, std::min(Value, kMaxCol - FColsPerPage / 2));
    if (Value == FTopCol) return;
    InvalidateRulerMark();
    CaretBeginUpdate();
    const int delta = Value - FTopCol;
    FTopCol = Value;
    if (FHost) {
        ScrollText(-delta * FCharWidth, 0, {TextLeft(), 0, ClientWidth(), ClientHeight()});
        FHost->SetScrollPos(sbHorizontal, FTopCol);
    }
    FollowIme();
    CaretEndUpdate();
    DoTopColChange();
}

void TEditor::ScrollText(int DX, int DY, const TRect& Rect) {
    if (!FHost) return;
    FHost->UpdateWindow();
    FHost->ScrollWindow(DX, DY, Rect);
    FHost->UpdateWindow();
}

void TEditor::ScrollRows(int FromRow, int Rows) {
    if (!FHost) return;
    Rows = std::clamp(Rows, -(FRowsPerPage + 1), FRowsPerPage + 1);
    // The window moves pixels only inside the scrolled rectangle: rows that move up land above
    // FromRow, so the rectangle starts where they land.
    const int top = TextTop() + std::max(0, std::min(FromRow, FromRow + Rows) - FTopRow) * RowHeight();
    ScrollText(0, Rows * RowHeight(), {TextLeft(), top, ClientWidth(), ClientHeight()});
    // The left gutters below are painted afresh rather than scrolled: the rows carry their marks and
    // modified colours with them, while the row numbers stay where they are.
    if (TextLeft() > 0) FHost->Invalidate({0, top, TextLeft(), ClientHeight()});
}

void TEditor::UpdateScrollBars() {
    // The rows so far: while the word wrap is cut in steps, the bar grows with them.
    FMaxTopRow = std::max(0, FStore->Count() + FRowsPerPage - 1);
    FTopRow = std::min(FTopRow, FMaxTopRow);
    FTopCol = std::max(0, std::min(FTopCol, kMaxCol - FColsPerPage / 2));
    if (!FHost) return;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        FHost->SetScrollInfo(sbVertical, 0, std::max(FRowsPerPage, FMaxTopRow), FRowsPerPage, FTopRow);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        FHost->SetScrollInfo(sbHorizontal, 0, FColsPerPage / 2 + kMaxCol, FColsPerPage, FTopCol);
}

TLResult TEditor::WMScroll(TScrollBarKind Bar, int Code, int Pos) {
    const bool vertical = Bar == sbVertical;
    // The bottom is the whole text's: rows that wait for the word wrap's cut are cut first.
    if (vertical && Code == SB_BOTTOM) FStore->FinishRewrap();
    const int top = vertical ? FTopRow : FTopCol;
    const int page = vertical ? FRowsPerPage : FColsPerPage;
    const int last = vertical ? FMaxTopRow : FColsPerPage / 2 + kMaxCol;
    int delta = 0;
    switch (Code) {
    case SB_LINEUP: delta = -1; break;
    case SB_LINEDOWN: delta = 1; break;
    case SB_PAGEUP: delta = std::min(-1, -page); break;
    case SB_PAGEDOWN: delta = std::max(1, page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: delta = (vertical && FHost ? FHost->TrackPos(sbVertical) : Pos) - top; break;
    case SB_TOP: delta = -top; break;
    case SB_BOTTOM: delta = last - top; break;
    default: return 0;
    }
    delta = std::clamp(delta, -top, last - top);
    if (delta == 0) return 0;
    if (!vertical) {
        SetTopCol(FTopCol + delta);
        return 0;
    }
    SetTopRow(FTopRow + delta);
    // The caret keeps its place on the screen: it moves by the scroll that was applied.
    if (FCaret->LockScroll()) SetRow(FRow + (FTopRow - top));
    return 0;
}

// ---- Painting requests

void TEditor::InvalidateAll() {
    if (FHost) FHost->Invalidate({0, 0, ClientWidth(), ClientHeight()});
}

void TEditor::InvalidateRows(int FromRow, int ToRow) {
    if (!FHost) return;
    FromRow = std::max(FromRow, FTopRow);
    ToRow = std::min(ToRow, FTopRow + FRowsPerPage);
    if (FromRow > ToRow) return;
    FHost->Invalidate({0, TextTop() + (FromRow - FTopRow) * RowHeight(), ClientWidth(),
                       TextTop() + (ToRow - FTopRow + 1) * RowHeight()});
}

void TEditor::InvalidateRow(int ARow) { InvalidateRows(ARow, ARow); }

void TEditor::InvalidateUnderline() {
    if (FMarks->Underline().Visible()) InvalidateRow(FRow);
}

void TEditor::InvalidateRulerMark() {
    if (!FHost || !FRuler->Visible() || FCol < FTopCol || FCol > FTopCol + FColsPerPage) return;
    const int x = TextLeft() + (FCol - FTopCol) * FCharWidth;
    FHost->Invalidate({x, 0, x + FCharWidth, FRulerHeight});
}

void TEditor::ScreenUpdate() {
    const TUpdateInfo& info = FStore->UpdateInfo();
    if (!FHost || !info.Updated) return;
    const int diff = info.NewRowCount - info.OldRowCount;
    const int end = info.UpdateRow + std::max(info.NewRowCount, info.StateRowCount);
    // The rows as they stand: an edit leaves the rows that wait for the word wrap's cut waiting.
    const int rows = FStore->Count();
    if (std::abs(diff) > FRowsPerPage) {
        InvalidateAll();
        FHost->UpdateWindow();
        return;
    }
    if (diff != 0) {
        InvalidateRows(info.UpdateRow, end - 1);
        ScrollRows(info.UpdateRow + info.OldRowCount, diff);
        if (end >= rows) InvalidateRow(end);
    } else {
        InvalidateRows(info.UpdateRow, end >= rows ? end : end - 1);
    }
    // Numbers below the change: logical-line numbers shift with any change, row numbers only when
    // rows came or went and the end of the text is in view.
    if (FLeftbar->Visible() && FLeftbar->ShowNumber() &&
        (FLeftbar->ShowNumberMode() == nmLine || (diff != 0 && rows <= FTopRow + FRowsPerPage)))
        InvalidateRows(end, info.UpdateRow + FRowsPerPage);
}

} // namespace quillon
