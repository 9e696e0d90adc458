#pragma once
// TEditorExVantor: the editor control of every edit window. It is the extended editor with
//   - a hint window that the window's item hints show under the mouse cursor or under the caret;
//   - a temporary box selection while Alt is held as the left button goes down: the selection mode
//     in force before returns with the first selection change after the button is released, unless
//     the mode was changed by other means meanwhile;
//   - a double-click flag: the window sets it in OnDblClick after selecting a list field itself, so
//     that the editor's own token selection of the same double click does not replace that field.
//
// The hint window is model state (its text, its screen rectangle, whether it is shown); a hint
// screen (THintScreen) measures the text, knows the cursor and the screen, and shows the window.
// Without a screen the hint window stays hidden.
#include "EditorEx.h"
#include "Rect.h"

#include <memory>
#include <string>

namespace quillon {

// What a hint window needs from the screen, and the window that shows it. Points are screen pixels.
class THintScreen {
public:
    virtual ~THintScreen() = default;
    virtual void CursorPos(int& X, int& Y) const = 0; // the mouse cursor's hot spot
    virtual int CursorHeight() const = 0;             // the height of a mouse cursor
    // A point of the editor's client area on the screen.
    virtual void ClientToScreen(int& X, int& Y) const = 0;
    // The screen that shows the editor.
    virtual TRect ScreenRect() const = 0;
    // The bounds that Text needs in a hint window, at most MaxWidth wide, top left at (0, 0).
    virtual TRect CalcHintRect(int MaxWidth, const std::string& Text) const = 0;
    // Shows the hint window with Text (Shift-JIS) over Rect, or hides it.
    virtual void ShowHint(const TRect& Rect, const std::string& Text) = 0;
    virtual void HideHint() = 0;
};

// The hint window: shown (it has its window) with a text over a rectangle of the screen, or hidden.
// Invariant: a shown hint lies inside the screen whenever it is smaller than the screen.
class THintWindow {
public:
    THintScreen* Screen() const { return FScreen; }
    // Hides a shown hint on the old screen first.
    void SetScreen(THintScreen* Value);
    bool HandleAllocated() const { return FShown; }
    const std::string& Caption() const { return FCaption; }
    const TRect& BoundsRect() const { return FBounds; }

    TRect CalcHintRect(int MaxWidth, const std::string& Text) const;
    // Shows Text over Rect, moved back onto the screen where it would stick out.
    void ActivateHint(TRect Rect, const std::string& Text);
    void ReleaseHandle();

private:
    THintScreen* FScreen = nullptr;
    bool FShown = false;
    std::string FCaption;
    TRect FBounds;
};

// The states of an Alt selection.
enum TAltSelection { asNone, asButtonDown, asRestorePending };

class TEditorExVantor : public TEditorEx {
public:
    explicit TEditorExVantor(TComponent* Owner = nullptr);
    ~TEditorExVantor() override;

    // Set by the window while it has selected a field in the current double click.
    bool DblClickFlag() const { return FDblClickFlag; }
    void SetDblClickFlag(bool Value) { FDblClickFlag = Value; }
    TAltSelection AltSelection() const { return FAltSelection; }
    int SavedSelectionMode() const { return FSavedSelectionMode; }

    THintWindow& HintWindow() const { return *FHintWindow; }
    // The hint below the mouse cursor, or one row height below the caret's top; as wide as Text
    // needs, at most the screen's width.
    void ShowHintAtCursor(const std::string& Text);
    void ShowHintAtCaret(const std::string& Text);
    void HideHint();

    bool DoSelectTokenFromPos(int X, int Y, TEditor* Source, bool KeepState) override;

protected:
    void DoSelectionChange(bool Selected) override;
    void DoSelectionModeChange() override;
    void DblClick() override;
    void WMLButtonDown(TWParam Keys, int X, int Y) override;
    void WMLButtonUp(int X, int Y) override;

private:
    // Shows Text with the top left of its rectangle at the screen point (X, Y + DY).
    void ShowHintAt(int X, int Y, int DY, const std::string& Text);

    bool FDblClickFlag = false;
    TAltSelection FAltSelection = asNone;
    int FSavedSelectionMode; // the mode to return to after an Alt selection
    std::unique_ptr<THintWindow> FHintWindow;
};

} // namespace quillon
