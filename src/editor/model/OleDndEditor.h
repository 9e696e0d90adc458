#pragma once
// TOleDndEditor: the editor with drag and drop between windows.
//
// The selected text can be dragged out of the editor to any window that takes text, and back into
// the editor itself, which moves it (copies it with Ctrl held at the drop); text dragged from
// elsewhere is dropped at the position under the mouse; files dropped on the editor are reported
// through OnDropFiles. While a drag is over the editor the caret shows the drop position, and the
// view scrolls with it near the edges (over the ruler: the row above; past the last whole row or
// left of the text: the row or column beyond).
//
// A drag of the selection starts on a left-button press inside a stream selection when
// Caret().SelDragMode() is dmManual (dmAutomatic keeps the editor's own selection dragging inside
// the window). The press's caret position is saved first; a drag that does not end with a text drop
// into this editor puts the caret back there.
//
// What a text drop does (Row, Col: the drop position; own text: the drag started in this editor):
//   on the selection              the selection goes; foreign text is inserted at the caret, own
//                                 text changes nothing;
//   elsewhere, foreign or Ctrl    the selection goes and the text is inserted at the drop position;
//   elsewhere, own text           the selection moves there (the editor's selection move).
// Each drop is one undo step. A read-only editor refuses text (DROPEFFECT_NONE) and changes nothing;
// files are reported all the same.
#include "EditorControl.h"
#include "OleDndUtils.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

// The window's side of drag and drop.
class TDragDropHost {
public:
    virtual ~TDragDropHost() = default;
    // The window takes drags and reports them to Target, until RevokeDragDrop.
    virtual void RegisterDragDrop(TDropTarget& Target) = 0;
    virtual void RevokeDragDrop() = 0;
    // Runs a drag of Data that allows OkEffects until it is dropped or cancelled, calling the drop
    // targets of the windows it passes (this window's too); answers the effect of the drop.
    virtual int DoDragDrop(TDataObject& Data, int OkEffects) = 0;
    // Gives the window the input focus.
    virtual void SetFocus() = 0;
};

// Files dropped on the editor, with the key state and the client point of the drop.
using TDropFilesEvent =
    std::function<void(TEditor& Sender, const std::vector<std::string>& Files, int KeyState, TPoint Point)>;

class TOleDndEditor : public TEditor, private IDropTargetEvents {
public:
    explicit TOleDndEditor(TComponent* Owner = nullptr);
    ~TOleDndEditor() override;

    // The window's drag and drop: a new host gets the editor's drop target registered, the old one
    // (if any) has it revoked. nullptr: no window, no drag and drop.
    void SetDragDropHost(TDragDropHost* Host);
    TDragDropHost* DragDropHost() const { return FDragHost; }
    // The registered drop target (nullptr while there is no host).
    TDropTarget* DropTarget() const { return FDropTarget.get(); }
    // A drag started here is under way and its text has not been dropped into this editor.
    bool Dragging() const { return FDragging; }

    // WM_LBUTTONDOWN saves the caret position before the editor handles it, and may start a drag.
    TLResult Perform(TMessage Msg, TWParam WParam = 0, TLParam LParam = 0) override;

    TDropFilesEvent OnDropFiles;

protected:
    virtual void RevokeOleDragDrop();
    // Fires OnDropFiles.
    virtual void DoDropFiles(const std::vector<std::string>& Files, int KeyState, TPoint Point);
    // Drops Text at the client Point: see the table above.
    virtual void DoDropText(const std::string& Text, bool FromSelf, TPoint Point, bool CopyKey);
    virtual void RegisterOleDragDrop();
    // The caret to the text position nearest to the client Point.
    virtual void MoveCaretToPoint(TPoint Point);
    virtual void RestoreCaretPos();
    virtual void SaveCaretPos();
    virtual void OleDrop(TDataObject& Data, int KeyState, int& Effect, TPoint Point);
    virtual void OleDragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point);
    virtual void OleDragLeave(TDataObject& Data);
    virtual void OleDragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point);
    // After the editor's own handling of a left-button press (Keys: MK_ bits) at X, Y.
    virtual void MouseDown(TWParam Keys, int X, int Y);

private:
    // IDropTargetEvents.
    void DragEnter(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
    void DragOver(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
    void Drop(TDataObject& Data, int KeyState, int& Effect, TPoint Point) override;
    void DragLeave(TDataObject& Data) override;

    // The text position nearest to the client Point, rows above the text counting as the row above.
    void DropPosition(TPoint Point, int& ARow, int& ACol) const;

    TDragDropHost* FDragHost = nullptr;             // not owned
    std::unique_ptr<TEventsDropTarget> FDropTarget; // registered with FDragHost while it is set
    TDataObject* FDragData = nullptr;               // the data of the drag started here, during it
    bool FDragging = false;                         // set at a drag's start, cleared by a text drop here
    int FSavedRow = 0, FSavedCol = 0;
};

} // namespace quillon
