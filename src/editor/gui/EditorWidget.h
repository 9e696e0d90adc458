#pragma once
// The editor on a Qt window.
//
// TEditorWidget owns a TEditor (the whole behaviour; a plain TEditor unless the widget is given a
// descendant such as TEditorEx) and is its host: it turns Qt events into the editor's messages,
// paints what the editor's state says through the paint plans, and carries out the editor's requests
// (invalidate, scroll, caret, scroll bars, cursor, clipboard). Client coordinates are the viewport's.
//
// Each painted row part (a poDrawLine operation) is offered to the editor's DoDrawLine, and what the
// editor adds there (the marks of the extended editor) is drawn over the row.
//
// Keys: the navigation keys and Delete become WM_KEYDOWN with our virtual keys; typed text is
// converted to CP932 and delivered as WM_CHAR bytes, a double-byte character as its lead byte whose
// trail byte the editor takes from the queue. Input-method commits arrive as composition results,
// followed by their bytes as characters, which the editor's skip count swallows, so each commit is
// typed once; the pre-edit text is drawn by the widget at the caret.
//
// The caret is our own: a block in the shape the editor asks for, drawn inverted over the text and
// blinking while the widget has the focus.
//
// Drag and drop, for an editor that has it (TOleDndEditor, as the widget makes by default): the
// widget is the editor's drag-and-drop window. Qt's drag events go to the drop
// target that the editor registers, with the drag's MIME data as a data object (the editor's own
// data object while its own drag is over it); the answered effect becomes the event's drop action.
// The editor's drags run as a QDrag of MIME data holding the text as Unicode and as our CP932 bytes.
// While a drag rests over the widget its last position is reported again every DragRepeatInterval
// ms, as the window system's drag loop does elsewhere, so that the view keeps scrolling while the
// drag rests near an edge.
#include "CellText.h"
#include "EditorControl.h"
#include "EditorPropSet.h"
#include "EditorRenderer.h"
#include "OleDndEditor.h"

#include <QAbstractScrollArea>
#include <QRegion>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class QDrag;
class QMenu;
class QMimeData;

namespace quillon {

class TEditorPopupMenu;
class TMimeDataObject;

// The editor's context menu as Qt shows it: the model's items with their enabled and checked states
// as they are when it pops up; choosing an item runs its command.
void FillPopupMenu(QMenu& Menu, TEditorPopupMenu& Model);

class TEditorWidget : public QAbstractScrollArea, public TEditorHost, public TDragDropHost {
public:
    explicit TEditorWidget(QWidget* Parent = nullptr);
    // A widget for Editor, which it owns from now on (not null).
    explicit TEditorWidget(std::unique_ptr<TEditor> Editor, QWidget* Parent = nullptr);
    ~TEditorWidget() override;

    TEditor& Editor() const { return *FEditor; }

    // The font: a name ("FixedSys" gives the monospace font) and pixel size; its colour and style.
    void SetEditorFont(const std::string& Name, int PixelSize);
    const std::string& EditorFontName() const { return FFontName; }
    const QFont& EditorQFont() const { return FFont->Font(); }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value);
    // The control's background colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // Characters from outside (clipboard, input method) that CP932 does not have were replaced by
    // "?"; Count tells how many. Fires only when assigned.
    std::function<void(int Count)> OnCharactersReplaced;
    // Fires after each row is painted, with the painter, to draw over the row.
    std::function<void(QPainter& Painter, const TPaintOp& Row)> OnDrawLine;

    // A property set into the window: the editor's part (through the editor's Assign), then the
    // window's colour and its font (name, character height, colour and style).
    void AssignProp(const TEditorProp& Set);
    // The window's whole look into a set: the editor's part, the colour and the font; the font's
    // character set and pitch, which the window does not use, and the set's extensions stay.
    void AssignToProp(TEditorProp& Set) const;

    // The whole client area rendered as it would be painted (for tests and screenshots).
    QImage Render();
    // The caret's rectangle in client coordinates (empty while there is none).
    QRect CaretRect() const { return FCaretRect; }
    bool CaretVisible() const { return FCaretShown && FCaretCreated; }
    // Whether a drag resting over the widget is being reported again (see DragRepeatInterval).
    bool DragRepeating() const { return FDragRepeat.isActive(); }
    const QString& PreeditText() const { return FPreedit; }

    QVariant inputMethodQuery(Qt::InputMethodQuery Query) const override;

    // ---- TEditorHost.
    bool Focused() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void FontMetrics(int& Height, int& AveCharWidth) const override;
    int ScrollBarExtent() const override;
    void Invalidate(const TRect& Rect) override;
    void UpdateWindow() override;
    void ScrollWindow(int DX, int DY, const TRect& Rect) override;
    void StartIdleWork() override;
    void CreateCaret(int Width, int Height) override;
    void DestroyCaret() override;
    void SetCaretPos(int X, int Y) override;
    void ShowCaret() override;
    void HideCaret() override;
    void SetScrollInfo(TScrollBarKind Bar, int Min, int Max, int Page, int Pos) override;
    void SetScrollPos(TScrollBarKind Bar, int Pos) override;
    void ShowScrollBar(TScrollBarKind Bar, bool Show) override;
    int TrackPos(TScrollBarKind Bar) const override;
    void SetCursor(TCursor Cursor) override;
    void ShowCursorNow(TCursor Cursor) override;
    bool ClipboardHasText() const override;
    bool ClipboardHasBox() const override;
    std::string ClipboardText() const override;
    void SetClipboardText(const std::string& Text, bool Box) override;
    bool KeyDown(int VirtualKey) const override;
    void SetKeyState(int VirtualKey, int State) override;
    int TakeTrailByte() override;
    std::string CompositionResult() override;
    void SetImePosition(int X, int Y) override;

    // ---- TDragDropHost.
    void RegisterDragDrop(TDropTarget& Target) override;
    void RevokeDragDrop() override;
    int DoDragDrop(TDataObject& Data, int OkEffects) override;
    void SetFocus() override;

protected:
    // Runs a drag until it is dropped or cancelled: QDrag::exec (tests deliver the drag's events).
    virtual Qt::DropAction ExecDrag(QDrag& Drag, Qt::DropActions Actions);
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dragLeaveEvent(QDragLeaveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    bool focusNextPrevChild(bool Next) override;
    void scrollContentsBy(int DX, int DY) override;

private:
    void Paint(QPainter& Painter, const QRect& Area);
    void PaintGutters(QPainter& Painter, const TRect& Area, int FirstRow, int LastRow);
    void PaintCaret(QPainter& Painter);
    void PaintPreedit(QPainter& Painter);
    TPaintGeometry Geometry() const;
    TPaintLook Look() const;
    TPaintMarks Marks() const;
    TPaintSelection Selection() const;
    TGutterLook GutterLook() const;
    void UpdatePictures();
    void FontChanged();
    // Delivers typed bytes as WM_CHAR messages; a lead byte's trail byte waits in the queue.
    void TypeBytes(const std::string& Bytes);
    void ScrollAction(TScrollBarKind Bar, int Action);
    TWParam MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) const;
    void Mouse(TMessage Msg, QMouseEvent* Event);
    void InvalidateCaret();
    void ReportReplaced(int Count) const;
    // The data object of a drag event: the editor's own during its drag, else the MIME data's.
    TDataObject& DragData(const QDropEvent& Event);
    void AnswerDrag(QDropEvent& Event, int Effect);
    // The key state (MK_ bits) and the client point of a drag event.
    void DragArgs(const QDropEvent& Event, int& Keys, TPoint& Point);
    void RepeatDragOver();

    std::unique_ptr<TEditor> FEditor;
    TOleDndEditor* FDndEditor = nullptr; // FEditor when it has drag and drop, else nullptr
    std::unique_ptr<TCellFont> FFont;
    std::string FFontName = "FixedSys"; // as asked for, before the name is resolved to a family
    TColor FColor = clWhite, FFontColor = clBlack;
    TFontStyles FFontStyle = 0;
    TRulerPictures FRuler;
    QImage FCorner;

    QRect FCaretRect; // the caret block; its size from CreateCaret, its place from SetCaretPos
    bool FCaretCreated = false, FCaretShown = false, FBlinkOn = true;
    QTimer FBlink;
    QTimer FIdle; // runs the editor's idle work while it has some

    std::deque<unsigned char> FChars; // typed bytes not delivered yet
    std::string FComposition;         // the composition result being delivered
    QString FPreedit;                 // pre-edit text of the input method
    QPoint FImePos;

    Qt::KeyboardModifiers FModifiers; // as the last event told
    Qt::MouseButtons FButtons;
    bool FKeyRepeat = false;

    TDropTarget* FDropTarget = nullptr;         // the editor's, while registered
    std::unique_ptr<TMimeDataObject> FDropData; // a foreign drag's data, from enter to leave or drop
    TDataObject* FDragData = nullptr;           // the editor's own drag's data, during its drag
    const QMimeData* FDragMime = nullptr;       // the MIME data of that drag
    QTimer FDragRepeat;                         // runs while an accepted drag is over the widget
    int FDragKeys = 0;                          // the key state and point of the drag's last event
    TPoint FDragPoint;
};

} // namespace quillon
