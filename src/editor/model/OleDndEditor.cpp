#include "OleDndEditor.h"

#include <algorithm>

namespace quillon {

TOleDndEditor::TOleDndEditor(TComponent* Owner) : TEditor(Owner) {}

// The window revokes its registration (SetDragDropHost(nullptr)) before it goes; the editor does not
// call a host that may be gone already.
TOleDndEditor::~TOleDndEditor() = default;

void TOleDndEditor::SetDragDropHost(TDragDropHost* Host) {
    if (Host == FDragHost) return;
    if (FDragHost) RevokeOleDragDrop();
    FDragHost = Host;
    if (FDragHost) RegisterOleDragDrop();
}

// A file list goes before text: a drag that offers both delivers the files.
void TOleDndEditor::RegisterOleDragDrop() {
    FDropTarget = std::make_unique<TEventsDropTarget>();
    FDropTarget->Formats() = {CF_HDROP, CF_TEXT};
    FDropTarget->Events = this;
    FDragHost->RegisterDragDrop(*FDropTarget);
}

void TOleDndEditor::RevokeOleDragDrop() {
    FDragHost->RevokeDragDrop();
    FDropTarget.reset();
}

TLResult TOleDndEditor::Perform(TMessage Msg, TWParam WParam, TLParam LParam) {
    if (Msg != WM_LBUTTONDOWN) return TEditor::Perform(Msg, WParam, LParam);
    SaveCaretPos();
    const TLResult result = TEditor::Perform(Msg, WParam, LParam);
    MouseDown(WParam, LowWord(LParam), HighWord(LParam));
    return result;
}

void TOleDndEditor::SaveCaretPos() {
    FSavedRow = Row();
    FSavedCol = Col();
}

void TOleDndEditor::RestoreCaretPos() { SetRowCol(FSavedRow, FSavedCol); }

void TOleDndEditor::DropPosition(TPoint Point, int& ARow, int& ACol) const {
    PointToColRow(Point.X, Point.Y, true, ACol, ARow);
    if (Point.Y < TextTop()) ARow = std::max(0, ARow - 1);
}

void TOleDndEditor::MoveCaretToPoint(TPoint Point) {
    int row = 0, col = 0;
    DropPosition(Point, row, col);
    SetRowCol(row, col);
}

// A press with Shift extends the selection and never starts a drag. The editor's own handling of the
// press has put the caret at the pressed cell when that lies in the selection.
void TOleDndEditor::MouseDown(TWParam Keys, int X, int Y) {
    if (!FDragHost || (Keys & MK_SHIFT) || Caret().SelDragMode() != dmManual || !CanSelDrag() || X < TextLeft() ||
        !IsInSelection(Row(), Col()))
        return;
    TEditor::Perform(WM_LBUTTONUP, Keys & ~MK_LBUTTON, MakeLParam(X, Y)); // ends the mouse tracking
    TTextDataObject data(SelText());
    FDragData = &data;
    FDragging = true;
    // Text dragged to another window is copied, never cut: the effect is not used.
    FDragHost->DoDragDrop(data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    FDragData = nullptr;
    if (FDragging) RestoreCaretPos();
    FDragging = false;
}

void TOleDndEditor::DragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    OleDragEnter(Data, KeyState, Effect, Point);
}

void TOleDndEditor::DragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    OleDragOver(Data, KeyState, Effect, Point);
}

void TOleDndEditor::Drop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    OleDrop(Data, KeyState, Effect, Point);
}

void TOleDndEditor::DragLeave(TDataObject& Data) { OleDragLeave(Data); }

void TOleDndEditor::OleDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (&Data != FDragData) SaveCaretPos();
    OleDragOver(Data, KeyState, Effect, Point);
}

void TOleDndEditor::OleDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    if (FDragHost) FDragHost->SetFocus();
    MoveCaretToPoint(Point);
    if (ReadOnly() && !Data.QueryGetData(CF_HDROP))
        Effect = DROPEFFECT_NONE;
    else if (&Data == FDragData && !(KeyState & MK_CONTROL))
        Effect = DROPEFFECT_MOVE;
    else
        Effect = DROPEFFECT_COPY;
}

// The caret goes back; the window keeps the focus that the drag gave it, and with it its caret.
void TOleDndEditor::OleDragLeave(TDataObject&) { RestoreCaretPos(); }

void TOleDndEditor::OleDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) {
    for (const int format : FDropTarget->Formats()) {
        TStgMedium medium;
        if (!Data.GetData(format, medium)) continue;
        if (format == CF_HDROP) {
            DoDropFiles(medium.Files, KeyState, Point);
        } else {
            if (ReadOnly()) Effect = DROPEFFECT_NONE;
            DoDropText(medium.Text, &Data == FDragData, Point, (KeyState & MK_CONTROL) != 0);
        }
        return;
    }
}

void TOleDndEditor::DoDropFiles(const std::vector<std::string>& Files, int KeyState, TPoint Point) {
    if (OnDropFiles) OnDropFiles(*this, Files, KeyState, Point);
}

void TOleDndEditor::DoDropText(const std::string& Text, bool FromSelf, TPoint Point, bool CopyKey) {
    FDragging = false;
    if (ReadOnly()) return;
    // The drop position, limited to the text, is the caret's from here on.
    MoveCaretToPoint(Point);
    if (IsInSelection(Row(), Col())) {
        CancelSelection();
        if (!FromSelf) SetSelText(Text);
    } else if (!FromSelf || CopyKey) {
        CancelSelection();
        SetSelText(Text);
    } else {
        MoveSelection(Row(), Col());
    }
}

} // namespace quillon
