// TEditor: message dispatch and the edit-control messages.
#include "EditorControl.h"

#include "EditorControlUtils.h"

#include <algorithm>
#include <cstring>

namespace quillon {

// ---- Dispatch

bool TEditor::FilterDuringDrag(TMessage Msg, TWParam WParam) {
    if (FMouseState == msIdle && !LeftButtonDown()) return true;
    if (Msg == WM_KEYDOWN || Msg == WM_KEYUP) {
        if (FMouseState != msDragging) return false;
        if (Msg == WM_KEYDOWN && WParam == VK_CONTROL) {
            SetCursorState(csrDragCopy);
        } else if (Msg == WM_KEYDOWN && WParam == VK_ESCAPE) {
            CancelDrag(true);
        } else if (Msg == WM_KEYUP && WParam == VK_CONTROL) {
            SetCursorState(csrDragMove);
        } else if (Msg == WM_KEYUP) {
            return false;
        }
        return true;
    }
    if (Msg >= WM_CHAR && Msg <= WM_KEYLAST) return false;
    if (Msg >= WM_LBUTTONDBLCLK && Msg <= WM_MOUSEWHEEL) return false;
    return true;
}

TLResult TEditor::Perform(TMessage Msg, TWParam WParam, TLParam LParam) {
    if (Msg == WM_CHAR) WParam = WholeCharacter(WParam);
    if (MessageHook) MessageHook(Msg, WParam, LParam);
    if (!FilterDuringDrag(Msg, WParam)) return 0;
    auto text = [LParam] { return reinterpret_cast<const char*>(LParam); };
    switch (Msg) {
    case WM_KEYDOWN: WMKeyDown(static_cast<int>(WParam), LParam); return 0;
    case WM_KEYUP:
        FKeyRepeat = false;
        if (FImePending) MoveImeWindow();
        return 0;
    case WM_CHAR:
    case WM_IME_CHAR: WMChar(static_cast<int>(WParam & 0xFFFF)); return 0;
    case WM_IME_COMPOSITION: WMImeComposition(LParam); return 0;
    case WM_IME_NOTIFY:
        if (WParam == IMN_OPENCANDIDATE) CaretBeginUpdate();
        if (WParam == IMN_CLOSECANDIDATE) CaretEndUpdate();
        return 0;
    case WM_SETFOCUS:
        RecreateCaret();
        UpdateCaretPos();
        ShowEditorCaret();
        return 0;
    case WM_KILLFOCUS:
        if (FHost) {
            if (FCaretShown) FHost->HideCaret();
            FCaretShown = false;
            FHost->DestroyCaret();
        }
        return 0;
    case WM_SIZE:
        CalcMetrics();
        UpdateScrollBars();
        InvalidateAll();
        return 0;
    case WM_HSCROLL:
        return WMScroll(sbHorizontal, LowWord(static_cast<TLParam>(WParam)), HighWord(static_cast<TLParam>(WParam)));
    case WM_VSCROLL:
        return WMScroll(sbVertical, LowWord(static_cast<TLParam>(WParam)), HighWord(static_cast<TLParam>(WParam)));
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (FWantTabs ? DLGC_WANTTAB : 0) |
               (FWantReturns ? DLGC_WANTALLKEYS : 0);
    case WM_GETTEXT: return WMGetText(WParam, reinterpret_cast<char*>(LParam));
    case WM_GETTEXTLENGTH: return GetTextLength();
    case WM_SETTEXT:
        if (!FReadOnly) FLines->SetText(text() ? std::string_view(text()) : std::string_view());
        return 0;
    case WM_CUT:
        if (!FReadOnly && IsSelected())
            CutToClipboard();
        else if (FHost)
            FHost->SetClipboardText("", false);
        return 0;
    case WM_COPY:
        if (IsSelected())
            CopyToClipboard();
        else if (FHost)
            FHost->SetClipboardText("", false);
        return 0;
    case WM_PASTE:
        if (!FReadOnly) PasteFromClipboard();
        return 0;
    case WM_CLEAR:
        if (!FReadOnly) DeleteSelection();
        return 0;
    case WM_LBUTTONDOWN: WMLButtonDown(WParam, LowWord(LParam), HighWord(LParam)); return 0;
    case WM_MOUSEMOVE: WMMouseMove(WParam, LowWord(LParam), HighWord(LParam)); return 0;
    case WM_LBUTTONDBLCLK: DblClick(); return 0;
    case WM_LBUTTONUP: WMLButtonUp(LowWord(LParam), HighWord(LParam)); return 0;
    case EM_CANUNDO: return !FReadOnly && CanUndo();
    case EM_UNDO:
        if (FReadOnly || !CanUndo()) return 0;
        Undo();
        return 1;
    case EM_EMPTYUNDOBUFFER:
        if (!FReadOnly) FStore->UndoObj().Clear();
        return 0;
    case EM_GETMODIFY: return FModified;
    case EM_SETMODIFY:
        if (!FReadOnly) FModified = WParam != 0;
        return 0;
    case EM_SETREADONLY: SetReadOnly(WParam != 0); return 0;
    case EM_GETFIRSTVISIBLELINE: return FTopRow;
    case EM_GETLINECOUNT: return RowCount();
    case EM_GETLINE: return EMGetLine(static_cast<int>(WParam), reinterpret_cast<char*>(LParam));
    case EM_LINEINDEX: return EMLineIndex(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_LINELENGTH: return EMLineLength(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_LINEFROMCHAR: return EMLineFromChar(static_cast<int>(static_cast<std::intptr_t>(WParam)));
    case EM_CHARFROMPOS: return EMCharFromPos(LowWord(LParam), HighWord(LParam));
    case EM_POSFROMCHAR: return EMPosFromChar(static_cast<int>(WParam));
    case EM_GETSEL: {
        const int start = SelStart(), end = start + SelLength();
        if (WParam) *reinterpret_cast<std::int32_t*>(WParam) = start;
        if (LParam) *reinterpret_cast<std::int32_t*>(LParam) = end;
        return MakeLParam(start, end);
    }
    case EM_SETSEL: {
        const int start = static_cast<int>(static_cast<std::intptr_t>(WParam)), end = static_cast<int>(LParam);
        if (start == 0 && end == -1)
            SelectAll();
        else if (start == -1)
            CancelSelection();
        else {
            SetSelStart(std::min(start, end));
            SetSelLength(std::max(start, end) - std::min(start, end));
        }
        return 0;
    }
    case EM_REPLACESEL:
        if (!FReadOnly) SetSelTextBuf(text() ? std::string_view(text()) : std::string_view());
        return 0;
    case EM_SCROLLCARET: EMScrollCaret(); return 0;
    default: return 0;
    }
}

TLResult TEditor::WMGetText(TWParam Size, char* Buffer) const {
    // A buffer without room for the terminating NUL receives nothing.
    if (Size == 0 || !Buffer) return 0;
    const std::string text = FStore->GetRowsText(0, RowCount());
    const std::size_t n = std::min<std::size_t>(Size - 1, text.size());
    std::memcpy(Buffer, text.data(), n);
    Buffer[n] = '\0';
    return static_cast<TLResult>(n);
}

TLResult TEditor::EMGetLine(int ARow, char* Buffer) const {
    if (ARow < 0 || ARow >= RowCount() || !Buffer) return 0;
    std::uint16_t size = 0;
    std::memcpy(&size, Buffer, sizeof size);
    const std::string s = GetRowString(ARow);
    const std::size_t n = std::min<std::size_t>(size, s.size());
    std::memcpy(Buffer, s.data(), n);
    return static_cast<TLResult>(n);
}

TLResult TEditor::EMLineIndex(int ARow) const {
    if (ARow == -1) ARow = FRow;
    const bool afterBreak = ARow == RowCount() && ARow > 0 && GetRowAttribute(ARow - 1) == raLineBreak;
    if (ARow < 0 || (ARow >= RowCount() && !afterBreak)) return -1;
    return RowOffset(ARow);
}

TLResult TEditor::EMLineLength(int Offset) const {
    if (Offset == -1) {
        if (IsSelectedOrHit())
            return static_cast<int>(GetRowString(FSelStr.EndRow).size()) + FSelStr.Start - FSelStr.End - 1;
        return static_cast<int>(GetRowString(FRow).size());
    }
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    return static_cast<int>(GetRowString(row).size());
}

TLResult TEditor::EMLineFromChar(int Offset) const {
    if (Offset == -1) return IsSelectedOrHit() ? FSelStr.StartRow : FRow;
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    return row;
}

TLResult TEditor::EMCharFromPos(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return -1;
    int col = 0, row = 0;
    PointToColRow(X, Y, true, col, row);
    row = std::clamp(row, 0, RowCount());
    if (row == RowCount() && row > 0 && GetRowAttribute(row - 1) == raEndOfText) --row;
    if (ClassAt(ClassString(row), col) == ccDoubleSecond) --col;
    return MakeLParam(RowOffset(row) + StringIndex(row, col), row);
}

TLResult TEditor::EMPosFromChar(int Offset) const {
    int row = 0, rest = 0;
    OffsetToRow(Offset, row, rest);
    const std::string s = GetRowString(row);
    const int col = DisplayWidth(
        std::string_view(s).substr(0, static_cast<std::size_t>(std::clamp(rest, 0, static_cast<int>(s.size())))));
    return MakeLParam(TextLeft() + (col - FTopCol) * FCharWidth, TextTop() + (row - FTopRow) * RowHeight());
}

void TEditor::EMScrollCaret() {
    if (FRow < FTopRow || FRow > FTopRow + FRowsPerPage - 1) SetTopRow(FRow - FRowsPerPage / 3);
    if (FCol < FTopCol || FCol > FTopCol + FColsPerPage - 1) SetTopCol(FCol - FColsPerPage / 3);
}

} // namespace quillon
