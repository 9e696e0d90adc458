#include "EditorExVantor.h"

#include "Messages.h"

#include <algorithm>

namespace quillon {

// ---- THintWindow

void THintWindow::SetScreen(THintScreen* Value) {
    if (Value == FScreen) return;
    ReleaseHandle();
    FScreen = Value;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& Text) const {
    return FScreen ? FScreen->CalcHintRect(MaxWidth, Text) : TRect{};
}

namespace {

// Rect moved by DX, DY.
TRect Offset(TRect Rect, int DX, int DY) { return {Rect.Left + DX, Rect.Top + DY, Rect.Right + DX, Rect.Bottom + DY}; }

// Rect moved back inside Bounds across the right and bottom edges, then across the left and top.
TRect KeepInside(const TRect& Rect, const TRect& Bounds) {
    const int dx = std::max(std::min(0, Bounds.Right - Rect.Right), Bounds.Left - Rect.Left);
    const int dy = std::max(std::min(0, Bounds.Bottom - Rect.Bottom), Bounds.Top - Rect.Top);
    return Offset(Rect, dx, dy);
}

} // namespace

void THintWindow::ActivateHint(TRect Rect, const std::string& Text) {
    if (!FScreen) return;
    FBounds = KeepInside(Rect, FScreen->ScreenRect());
    FCaption = Text;
    FShown = true;
    FScreen->ShowHint(FBounds, FCaption);
}

void THintWindow::ReleaseHandle() {
    if (!FShown) return;
    FShown = false;
    FScreen->HideHint();
}

// ---- TEditorExVantor

TEditorExVantor::TEditorExVantor(TComponent* Owner)
    : TEditorEx(Owner), FSavedSelectionMode(SelectionMode()), FHintWindow(std::make_unique<THintWindow>()) {}

TEditorExVantor::~TEditorExVantor() { FHintWindow->ReleaseHandle(); }

void TEditorExVantor::ShowHintAt(int X, int Y, int DY, const std::string& Text) {
    THintScreen* screen = FHintWindow->Screen();
    const TRect rect = FHintWindow->CalcHintRect(screen->ScreenRect().Width(), Text);
    FHintWindow->ActivateHint(Offset(rect, X, Y + DY), Text);
}

void TEditorExVantor::ShowHintAtCursor(const std::string& Text) {
    THintScreen* screen = FHintWindow->Screen();
    if (!screen) return;
    int x = 0, y = 0;
    screen->CursorPos(x, y);
    ShowHintAt(x, y, screen->CursorHeight(), Text);
}

void TEditorExVantor::ShowHintAtCaret(const std::string& Text) {
    THintScreen* screen = FHintWindow->Screen();
    if (!screen) return;
    int x = 0, y = 0;
    GetCaretPoint(x, y);
    screen->ClientToScreen(x, y);
    ShowHintAt(x, y, RowHeight(), Text);
}

void TEditorExVantor::HideHint() { FHintWindow->ReleaseHandle(); }

bool TEditorExVantor::DoSelectTokenFromPos(int X, int Y, TEditor* Source, bool KeepState) {
    if (FDblClickFlag) return false;
    return TEditorEx::DoSelectTokenFromPos(X, Y, Source, KeepState);
}

void TEditorExVantor::DblClick() {
    // The flag belongs to this double click only, even when a handler raises.
    struct ClearFlag {
        bool& Flag;
        ~ClearFlag() { Flag = false; }
    } clear{FDblClickFlag};
    TEditorEx::DblClick();
}

void TEditorExVantor::WMLButtonDown(TWParam Keys, int X, int Y) {
    if (Host() && Host()->KeyDown(VK_MENU)) {
        // A second Alt press before the first one's mode came back keeps the mode saved then.
        if (FAltSelection == asNone) FSavedSelectionMode = SelectionMode();
        FAltSelection = asButtonDown;
        SetSelectionMode(1);
    }
    TEditorEx::WMLButtonDown(Keys, X, Y);
}

void TEditorExVantor::WMLButtonUp(int X, int Y) {
    TEditorEx::WMLButtonUp(X, Y);
    if (FAltSelection == asButtonDown) FAltSelection = asRestorePending;
}

void TEditorExVantor::DoSelectionChange(bool Selected) {
    TEditorEx::DoSelectionChange(Selected);
    if (FAltSelection != asRestorePending) return;
    FAltSelection = asNone;
    SetSelectionMode(FSavedSelectionMode);
}

void TEditorExVantor::DoSelectionModeChange() {
    TEditorEx::DoSelectionModeChange();
    if (FAltSelection == asRestorePending) FAltSelection = asNone;
}

} // namespace quillon
