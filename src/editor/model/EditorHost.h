#pragma once
// The window of an editor, as the editor model sees it.
//
// TEditor (EditorControl.h) holds the whole behaviour of the control: text, caret, selection, scrolling
// arithmetic, keys and the edit-control messages. It draws nothing and owns no window; every effect
// on the screen, the system caret, the scroll bars, the mouse cursor, the clipboard, the keyboard
// state and the input method goes through this interface. A widget implements it on its window; the
// tests implement it by recording the requests.
//
// Coordinates are client pixels; rectangles exclude their right and bottom edges. An editor without
// a host behaves as a control whose window does not exist yet: it keeps its state, paints nothing
// and has no system caret.
//
// Driving the editor from a window (TEditor::Perform with the numbers of Messages.h):
//   focus in / out        WM_SETFOCUS / WM_KILLFOCUS, after Focused() reports the new state;
//   resize, font          WM_SIZE after the client size changed; TEditor::FontChanged();
//   keys                  WM_KEYDOWN / WM_KEYUP with the virtual key (lParam bit 30 for an
//                         auto-repeat); typed text as WM_CHAR, one message per byte, a double-byte
//                         character as its lead byte with the trail byte left for TakeTrailByte
//                         (or as one WM_CHAR or WM_IME_CHAR holding lead byte x 256 + trail byte);
//   input method          WM_IME_COMPOSITION with GCS_RESULTSTR (CompositionResult gives the text);
//                         the WM_CHAR bytes of the same result that follow are swallowed;
//   mouse                 WM_LBUTTONDOWN / WM_MOUSEMOVE / WM_LBUTTONUP, wParam MK_ bits, lParam
//                         MakeLParam(x, y); KeyDown(VK_LBUTTON) tells whether the button is held;
//   scroll bars           WM_VSCROLL / WM_HSCROLL, wParam MakeLParam(code, position);
//   clipboard and text    WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR and the EM_ messages.
// The window paints from the editor's state (rows, TopRow, TopCol, selection, metrics) whenever an
// area was invalidated.
#include "Cursors.h"
#include "Rect.h"

#include <string>

namespace quillon {

enum TScrollBarKind { sbHorizontal, sbVertical };

// The bytes of the box clipboard format for a box text: the text and a NUL.
inline std::string BoxFormatData(const std::string& Text) { return Text + '\0'; }

// The name under which the box format is registered (EditorUtils.h): CF_BOXTYPE_NAME.

class TEditorHost {
public:
    virtual ~TEditorHost() = default;

    // Window and font.
    virtual bool Focused() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Height (ascent + descent + external leading) and average character width of the font.
    virtual void FontMetrics(int& Height, int& AveCharWidth) const = 0;
    // Height of a horizontal scroll bar (equal to the width of a vertical one).
    virtual int ScrollBarExtent() const = 0;

    // Painting: Invalidate marks an area for the next paint; UpdateWindow paints marked areas now;
    // ScrollWindow moves the pixels of Rect by DX, DY and invalidates what became uncovered.
    virtual void Invalidate(const TRect& Rect) = 0;
    virtual void UpdateWindow() = 0;
    virtual void ScrollWindow(int DX, int DY, const TRect& Rect) = 0;
    // The editor has work for idle time: call its IdleStep whenever no input waits, until it answers
    // false.
    virtual void StartIdleWork() {}

    // The system caret: one solid block, created, moved, shown and hidden by the editor.
    virtual void CreateCaret(int Width, int Height) = 0;
    virtual void DestroyCaret() = 0;
    virtual void SetCaretPos(int X, int Y) = 0;
    virtual void ShowCaret() = 0;
    virtual void HideCaret() = 0;

    // Scroll bars: range, page and position; ShowScrollBar shows or hides one bar; TrackPos is the
    // position of the thumb while the user drags it.
    virtual void SetScrollInfo(TScrollBarKind Bar, int Min, int Max, int Page, int Pos) = 0;
    virtual void SetScrollPos(TScrollBarKind Bar, int Pos) = 0;
    virtual void ShowScrollBar(TScrollBarKind Bar, bool Show) = 0;
    virtual int TrackPos(TScrollBarKind Bar) const = 0;

    // The control's mouse cursor, and a cursor shown at once until the mouse moves (drag feedback).
    virtual void SetCursor(TCursor Cursor) = 0;
    virtual void ShowCursorNow(TCursor Cursor) = 0;

    // Clipboard: Shift-JIS text; Box tells that the text is a box (the "TEditor Box Type" format,
    // holding the same bytes followed by a NUL, is put beside the text).
    virtual bool ClipboardHasText() const = 0;
    virtual bool ClipboardHasBox() const = 0;
    virtual std::string ClipboardText() const = 0;
    virtual void SetClipboardText(const std::string& Text, bool Box) = 0;

    // Keyboard: whether a virtual key (VK_SHIFT, VK_CONTROL, VK_LBUTTON, ...) is down now.
    virtual bool KeyDown(int VirtualKey) const = 0;
    // The state of a key as a byte: bit 7 down, bit 0 toggled. Key-macro playback replaces the states
    // of VK_SHIFT, VK_CONTROL and VK_MENU for each message it replays and puts them back after it;
    // KeyDown answers from the replaced state meanwhile. A host without a key state of its own
    // answers from KeyDown and cannot replace it.
    virtual int KeyState(int VirtualKey) const { return KeyDown(VirtualKey) ? 0x80 : 0; }
    virtual void SetKeyState(int /*VirtualKey*/, int /*State*/) {}
    // Removes the next queued WM_CHAR when its code is 0x40-0xFF and answers that code, else -1
    // (the trail byte of a double-byte character typed as two messages).
    virtual int TakeTrailByte() = 0;

    // Input method: the composition result string (Shift-JIS), the same text for every call during
    // its WM_IME_COMPOSITION (a key-macro recorder reads it too), and where its window goes.
    virtual std::string CompositionResult() = 0;
    virtual void SetImePosition(int X, int Y) = 0;
};

} // namespace quillon
