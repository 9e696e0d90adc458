#pragma once
// TEditor: the editor control without its window.
//
// The control shows the display rows of a row store (TEditorScreenStrings), which it may share with
// other editors; it keeps a caret (Row, Col), a selection (stream or box, or a search hit), a view
// position (TopRow, TopCol) and its option objects. Everything a user does with keys and mouse and
// everything a program does through the edit-control messages arrives through Perform, the one
// dispatch method, with the message numbers of Messages.h. Effects on the window go to a TEditorHost.
//
// Positions:
//   column        a display cell: a single-byte character takes 1, a double-byte character 2, a tab
//                 up to the next tab stop; 0 <= Col <= 1000, 1001 only after a double-byte
//                 character that starts at column 999;
//   string index  0-based byte position in a row's text;
//   text offset   byte position from the start of the text, every row with attribute 0 adding 2
//                 for its CR LF (SelStart, SelLength and the EM_ messages count in it).
//
// Invariants:
//   0 <= Row <= RowCount, and Row == RowCount only when the last row ends with a line break;
//   0 <= TopRow <= RowCount;
//   FSelState 2 or 3 <=> the two selection forms (display and string) describe the selection;
//   every editing command replaces rows with one UpdateRows call, which is one undo step.
//
// The implementation is one file per concern: EditorControl.cpp (construction, properties, store
// notifications, events), EditorControlRows.cpp (rows, column and offset conversions, row marks),
// EditorControlScroll.cpp (geometry, caret, scrolling, repaint requests), EditorControlSelection.cpp
// (selection, clipboard), EditorControlMouse.cpp (mouse, dragging the selection),
// EditorControlEdit.cpp (undo, editing commands), EditorControlSearch.cpp, EditorControlTokens.cpp
// (token queries), EditorControlMessages.cpp (Perform and the edit-control messages) and
// EditorControlKeys.cpp (keys, word movement, typing).
#include "ColumnLayout.h"
#include "EditorHost.h"
#include "EditorOptions.h"
#include "EditorPaint.h"
#include "EditorScreenStrings.h"
#include "EditorStrings.h"
#include "Messages.h"
#include "TextSearch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TEditor;
class TEditorPopupMenu;

enum TEditorHitStyle { hsSelect, hsDraw, hsCaret };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Selection states.
enum : int { ssNoSelection = 0, ssAnchored = 1, ssSelected = 2, ssHit = 3 };
// Mouse states.
enum : int { msIdle = 0, msDragPending = 1, msDragging = 2 };
// Cursor states.
enum : int {
    csrDefault = 0,
    csrLeftMargin = 1,
    csrTopMargin = 2,
    csrInSelection = 3,
    csrDragMove = 4,
    csrDragCopy = 5
};

// A selection in display form (columns: start inclusive, end exclusive) or string form (indices,
// both inclusive).
struct TSelection {
    int StartRow = 0, EndRow = 0, Start = 0, End = 0;
    bool operator==(const TSelection&) const = default;
};

// One entry of a row list: a row's text and attribute, and where a selection was cut out of it
// (1-based byte position).
struct TCutRow {
    std::string Text;
    int Attribute = raLineBreak;
    int CutPos = 1;
};

// A parser of the framework's generic tokens that needs no colourer of the caller's; it colours
// nothing.
class TTokenParser : public TColourerParser {
public:
    TTokenParser() : TColourerParser(&PlainColourer()) {}
    TColourerColor* TokenColor() override { return nullptr; }

private:
    static TColourer& PlainColourer();
};

using TEditorNotifyEvent = std::function<void(TEditor& Sender)>;
using TSelectionChangeEvent = std::function<void(TEditor& Sender, bool Selected)>;

class TEditor : public TComponent, public TAttachedEditor {
public:
    explicit TEditor(TComponent* Owner = nullptr);
    ~TEditor() override;

    void SetHost(TEditorHost* Host);
    TEditorHost* Host() const { return FHost; }

    // ---- The one dispatch method: our message numbers (Messages.h).
    virtual TLResult Perform(TMessage Msg, TWParam WParam = 0, TLParam LParam = 0);
    // Sees every message that reaches Perform before the editor handles it (a key-macro recorder
    // listens here). A WM_CHAR of a lead byte arrives with its trail byte already taken from the
    // host's queue, as the whole character: lead byte x 256 + trail byte.
    using TMessageHook = std::function<void(TMessage Msg, TWParam WParam, TLParam LParam)>;
    TMessageHook MessageHook;

    // ---- Owned objects and properties.
    TEditorStrings& Lines() const { return *FLines; }
    void SetLines(const std::vector<std::string>& Value);
    TEditorCaret& Caret() const { return *FCaret; }
    TEditorMarks& Marks() const { return *FMarks; }
    TEditorMargin& Margin() const { return *FMargin; }
    TEditorImagebar& Imagebar() const { return *FImagebar; }
    TEditorLeftbar& Leftbar() const { return *FLeftbar; }
    TEditorRuler& Ruler() const { return *FRuler; }
    TEditorSpeed& Speed() const { return *FSpeed; }
    TEditorViewInfo& View() const { return *FView; }
    void SetView(const TEditorViewInfo& Value);
    TEditorPopupMenu& PopupMenu() const { return *FPopupMenu; }
    TColourer* Colourer() const { return FColourer; }
    void SetColourer(TColourer* Value);
    // The colourer in use: Colourer when assigned, else View's own.
    virtual TColourer& ActiveColourerRef();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TEditorHitStyle HitStyle() const { return FHitStyle; }
    void SetHitStyle(TEditorHitStyle Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool OverWrite() const { return FOverWrite; }
    void SetOverWrite(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    int UndoListMax() const { return FStore->UndoObj().UndoListMax(); }
    void SetUndoListMax(int Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool WordWrap() const { return FStore->WordWrap(); }
    void SetWordWrap(bool Value) { FStore->SetWordWrap(Value); }
    TEditorWrapOption& WrapOption() const { return FStore->WrapOption(); }
    const TDelimiters& Delimiters() const { return FDelimiters; }
    // The reserved words of View's own colourer; a different list re-colours every row.
    const TStringList& ReserveWordList() const { return FView->Colourer().ReserveWordList(); }
    void SetReserveWordList(const TStringList& Value);
    // The host's font changed: a horizontally scrolled text goes back to column 0, the metrics,
    // scroll bars and caret follow the new font.
    void FontChanged();

    // ---- Rows.
    // The rows of the whole text: a word wrap still being cut in steps is finished first.
    int RowCount() const {
        FStore->FinishRewrap();
        return FStore->Count();
    }
    // Whether Index is a row (0 <= Index < RowCount); a row that still waits for the word wrap's
    // cut (EditorScreenStrings.h) finishes the cut first, as its number changes.
    bool HasRow(int Index) const { return Index >= 0 && (Index < FStore->RewrapFrom() || Index < RowCount()); }
    // The rows the screen shows, the caret's and two screens below them are cut by the word wrap:
    // a paint calls it first.
    void CutShownRows();
    std::string GetRowString(int Index) const;
    // The row's text without a copy, valid until the rows change; empty outside the rows.
    std::string_view RowView(int Index) const;
    int GetRowAttribute(int Index) const;
    void GetRowAttributeData(int Index, TRowAttributeData& Data) const;
    std::uint16_t GetRowMarks(int Index) const;
    void SetRowMarks(int Index, std::uint16_t Marks);
    void AttachScreenStrings(TEditor* Source);

    // ---- Caret and view.
    int Row() const override { return FRow; }
    void SetRow(int Value) override;
    int Col() const override { return FCol; }
    void SetCol(int Value) override;
    void SetRowCol(int ARow, int ACol);
    int TopRow() const override { return FTopRow; }
    void SetTopRow(int Value) override;
    int TopCol() const { return FTopCol; }
    void SetTopCol(int Value);
    int RowsPerPage() const { return FRowsPerPage; }
    int ColsPerPage() const { return FColsPerPage; }
    int CharWidth() const { return FCharWidth; }
    int FontHeight() const { return FFontHeight; }
    int RowHeight() const;
    int TextLeft() const;
    int TextTop() const;
    int MaxTopRow() const { return FMaxTopRow; }
    int ImagebarWidth() const { return FImagebarWidth; }
    int LeftbarWidth() const { return FLeftbarWidth; }
    int RulerHeight() const { return FRulerHeight; }
    void PointToColRow(int X, int Y, bool Round, int& ACol, int& ARow) const;
    void CaretBeginUpdate() override;
    void CaretEndUpdate() override;
    bool CaretShown() const { return FCaretShown; }
    int CaretUpdateCount() const { return FCaretUpdateCount; }
    virtual void HideEditorCaret();
    virtual void ShowEditorCaret();
    virtual bool CaretOutOfView() const;
    virtual void UpdateCaretPos();
    virtual void RecreateCaret();
    virtual void ScrollCaretIntoView();
    virtual void GetCaretPoint(int& X, int& Y) const;
    virtual void UpdateCaret();
    void UpdateScrollBars();
    void CalcMetrics();
    // Scrolls the window contents by DX, DY pixels within Rect.
    virtual void ScrollText(int DX, int DY, const TRect& Rect);
    // The row hook of painting: the window calls it for every poDrawLine operation of a paint plan
    // (one per painted part of a row) and draws what it appends to Plan over that part. The editor
    // itself draws nothing over its rows.
    virtual void DoDrawLine(const TPaintOp& Row, TPaintPlan& Plan);

    // ---- Selection.
    int SelectionMode() const { return FSelectionMode; }
    void SetSelectionMode(int Value);
    int SelState() const { return FSelState; }
    int MouseState() const { return FMouseState; }
    int CursorState() const { return FCursorState; }
    bool IsSelected() const { return FSelState == ssSelected; }
    bool IsSelectedOrHit() const { return FSelState == ssSelected || FSelState == ssHit; }
    bool IsHitSelected() const { return FSelState == ssHit; }
    bool IsSelDragging() const { return FMouseState == msDragging; }
    // Display and string form of the selection (valid in states 2 and 3).
    const TSelection& SelDraw() const { return FSelDraw; }
    const TSelection& SelStr() const { return FSelStr; }
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    std::string SelText() const;
    void SetSelText(std::string_view S) { SetSelTextBuf(S); }
    int HitSelLength() const { return FHitLength; }
    void SetHitSelLength(int Value);
    void StartSelection();
    void ExtendSelection();
    void ActivateSelection();
    void UpdateSelection();
    void CancelSelection() override;
    void HitToSelection();
    bool IsInSelection(int ARow, int ACol) const;
    virtual bool CanSelDrag() const;
    virtual void DropSelection(int ARow, int ACol);
    void MoveSelection(int ARow, int ACol);
    void RowsWithoutSelection(std::vector<TCutRow>& List) const;
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void DeleteSelection();
    void SelectAll();
    void SetCursorState(int State);

    // ---- Undo.
    virtual bool CanUndo() const { return FStore->UndoObj().CanUndo(); }
    virtual bool CanRedo() const { return FStore->UndoObj().CanRedo(); }
    virtual void Undo();
    virtual void Redo();

    // ---- Column and offset conversions.
    std::string ClassString(int Index) const;
    int CaretStringIndex(int ARow, int ACol) const;
    int DisplayWidth(std::string_view S) const;
    int RowDisplayLength(int Index) const;
    std::string ExpandTabs(std::string_view S) const;
    std::string ExpandedRowString(int Index) const;
    static int ColToIndexStart(std::string_view Class, int Index);
    static int ColToIndexEnd(std::string_view Class, int Index);
    int ColToLinePos(int ARow, int ACol) const;
    int LineOffset(int FirstRow, int ARow, int ACol) const;
    void SetCaretToLineOffset(int FirstRow, int Offset) override;
    int GetTextLength() const;
    static std::string BuildText(const std::vector<TCutRow>& Rows);
    int IndentOf(std::string_view S) const;
    int PrevLineIndent(int ARow) const;
    int RowToLine(int ARow) const;
    // The reference row of an edit of row ARow.
    int ReferenceRow(int ARow) const;
    // The row and the rest of Offset that a walk from row 0 reaches (EM_ messages, SetSelStart).
    void OffsetToRow(int Offset, int& ARow, int& Rest) const;
    int RowOffset(int ARow) const;

    // ---- Editing commands.
    void TypeText(std::string_view S);
    void SetSelTextBuf(std::string_view Text);
    void SetSelTextBox(std::string_view Text);
    // Finds Pattern from the caret or the selection, forwards with stDown, and selects the match.
    virtual bool SearchText(std::string_view Pattern, TSearchOptions Options);
    // The bytes of text that a search gives the search core at a time (see EditorControlSearch.cpp).
    static constexpr std::size_t kSearchChunkSize = 65536;

    // ---- Row marks and modified rows.
    virtual void SetRowMark(int ARow, int Mark);
    virtual void DeleteRowMark(int ARow, int Mark);
    virtual void GotoRowMark(int Mark);
    void ClearModifiedRows();

    // ---- Token queries; a point in client pixels.
    bool PosToRowCol(int X, int Y, int& ARow, int& ACol, int& Index) const;
    virtual bool DoTokenFromPos(int X, int Y, TEditor* Source, std::string& Token, bool KeepState, int& Kind);
    virtual bool DoSelectTokenFromPos(int X, int Y, TEditor* Source, bool KeepState);
    bool TokenFromPos(int X, int Y, std::string& Token);
    int TokenKindFromPos(int X, int Y);
    bool TokenFromCaret(std::string& Token);
    int TokenKindFromCaret();
    bool SelectTokenFromCaret();
    bool SelectTokenFromPos(int X, int Y);
    bool WordMove(int& ARow, int& ACol, int Direction);

    // ---- Events (fire only when assigned).
    TEditorNotifyEvent OnCaretMoved;
    TEditorNotifyEvent OnChange;
    TEditorNotifyEvent OnDblClick;
    TSelectionChangeEvent OnSelectionChange;
    TEditorNotifyEvent OnSelectionModeChange;
    TEditorNotifyEvent OnTopColChange;
    TEditorNotifyEvent OnTopRowChange;

    // ---- TAttachedEditor.
    TEditorScreenStrings& ScreenStrings() override { return *FStore; }
    bool Loading() const override { return false; }
    bool Focused() const override { return FHost && FHost->Focused(); }
    void DoChange() override;
    void Refresh() override;
    void InvalidateRow(int ARow) override;
    void LinesUpdateBegun() override;
    void LinesUpdateEnded() override;
    TColumnLayout ColumnLayout() const override;
    TColourer* ActiveColourer() override { return &ActiveColourerRef(); }
    int StateLookAhead() const override { return FRowsPerPage * 2; }
    bool InitBracketsFull() const override { return FSpeed->InitBracketsFull(); }
    void IdleWorkPending() override;

    // A slice of the idle work, a couple of milliseconds at most: the rows that still wait for the
    // word wrap's cut, then the colouring states of the rows below the computed ones, so that a jump
    // or an edit far down finds them ready. Answers whether work is left.
    bool IdleStep();

protected:
    // Editing: replaces rows Start..End (End beyond the last row: to the last row; End < Start: none,
    // inserting) by Text as one undo step and puts the caret at Offset from the reference row Ref.
    void ReplaceRows(int Start, int End, std::string_view Text, int Ref, int Offset);
    // ReplaceRows for changes inside rows, when the row store can make them there
    // (TEditorScreenStrings::CanReplaceInRows); answers false, changing nothing, otherwise.
    bool ReplaceInRows(const std::vector<TRowSplice>& Splices, int Ref, int Offset);

    // Factories, in the order the constructor calls them.
    virtual std::shared_ptr<TEditorScreenStrings> CreateScreenStrings();
    virtual std::unique_ptr<TEditorStrings> CreateEditorStrings();
    virtual std::unique_ptr<TEditorViewInfo> CreateViewInfo();
    virtual std::unique_ptr<TEditorCaret> CreateEditorCaret();
    virtual std::unique_ptr<TEditorMarks> CreateMarks();
    virtual std::unique_ptr<TEditorMargin> CreateMargin();
    virtual std::unique_ptr<TEditorImagebar> CreateImagebar();
    virtual std::unique_ptr<TEditorLeftbar> CreateLeftbar();
    virtual std::unique_ptr<TEditorRuler> CreateRuler();
    virtual std::unique_ptr<TEditorSpeed> CreateSpeed();
    virtual std::unique_ptr<TEditorPopupMenu> CreateEditorPopupMenu();

    virtual void DoCaretMoved();
    virtual void DoSelectionChange(bool Selected);
    virtual void DoSelectionModeChange();
    virtual void DoTopColChange();
    virtual void DoTopRowChange();
    // A double click of the left button (WM_LBUTTONDBLCLK): fires OnDblClick.
    virtual void DblClick();
    // The change handler of every owned option object and of the colourer.
    virtual void OptionsChanged(TPersistent* Sender);
    // Repaints the rows that the store's last change touched.
    virtual void ScreenUpdate();
    virtual TDelimiters GetDelimiters() const;
    // The left button pressed (WM_LBUTTONDOWN; Keys the MK_ bits) and released (WM_LBUTTONUP).
    virtual void WMLButtonDown(TWParam Keys, int X, int Y);
    virtual void WMLButtonUp(int X, int Y);

private:
    // Message handlers.
    void WMKeyDown(int Key, TLParam KeyData);
    // Key: a byte, or a double-byte character as lead byte x 256 + trail byte.
    void WMChar(int Key);
    // A lead byte with the trail byte (0x40-0xFF) waiting in the host's queue becomes the whole
    // character; anything else stays as it is.
    TWParam WholeCharacter(TWParam Key);
    void WMImeComposition(TLParam Flags);
    TLResult WMScroll(TScrollBarKind Bar, int Code, int Pos);
    TLResult WMGetText(TWParam Size, char* Buffer) const;
    TLResult EMGetLine(int ARow, char* Buffer) const;
    TLResult EMLineIndex(int ARow) const;
    TLResult EMLineLength(int Offset) const;
    TLResult EMLineFromChar(int Offset) const;
    TLResult EMCharFromPos(int X, int Y) const;
    TLResult EMPosFromChar(int Offset) const;
    void EMScrollCaret();
    void WMMouseMove(TWParam Keys, int X, int Y);
    // False when the message is dropped by the filter during a mouse drag.
    bool FilterDuringDrag(TMessage Msg, TWParam WParam);

    // Keys.
    void PageScroll(int Delta);
    void MoveByWord(int Direction);
    void KeyLeft(bool Ctrl);
    void KeyRight(bool Ctrl);
    void KeyUp(bool Ctrl);
    void KeyDown(bool Ctrl);
    void DeleteKey();
    void BackSpace();
    void UnIndent();
    void TabKey();
    void ReturnKey(bool Shift);
    std::string IndentText(int Indent) const;
    int ReturnIndent() const;
    std::vector<int> WordStarts(int ARow);

    // Caret and geometry.
    void AdjustCol(bool Vertical, int Direction);
    void RememberCol(bool Vertical, int Value);
    bool LeftButtonDown() const { return FHost && FHost->KeyDown(VK_LBUTTON); }
    bool ShiftDown() const { return FHost && FHost->KeyDown(VK_SHIFT); }
    bool CtrlDown() const { return FHost && FHost->KeyDown(VK_CONTROL); }
    // A system caret exists: there is a window and it has the focus.
    bool HasCaret() const;
    void MoveImeWindow();
    // The input-method window follows the caret, or is marked pending while a key repeats.
    void FollowIme();
    void ScrollRows(int FromRow, int Rows);
    int ClientWidth() const;
    int ClientHeight() const;
    bool CalcLeftbarDigits();
    void CalcGutters();
    void ColourerChanged(TPersistent* Sender);

    // Painting requests.
    void InvalidateAll();
    void InvalidateRows(int FromRow, int ToRow);
    void InvalidateUnderline();
    void InvalidateRulerMark();
    void SelectionRepaint(const TSelection& Old, const TSelection& New);

    // Selection and mouse.
    void BoxRange(int ARow, int& From, int& To) const; // bytes From..To-1 of the box on ARow
    void CaretToSelStart();
    std::string TextBetween(int Row1, int Index1, int Row2, int Index2) const;
    void CancelDrag(bool Escape);
    void Drop(int X, int Y);
    bool MovedHalfChar(int X, int Y) const;
    void StartRowSelect(int ARow);
    void ExtendRowSelect(int ARow);
    void RowEnd(int ARow, int& EndRow, int& EndCol) const;

    // Text offsets: a row counts its length and 2 more with attribute 0, 1 more with attribute 2.
    int RowStep(int Index) const;
    // The text offset from the start of FromRow to the start of ToRow.
    int RowsStep(int FromRow, int ToRow) const;
    // Walks the rows from FirstRow: ARow is the first row whose count exceeds the rest of Offset or
    // that ends the text (RowCount past the last row), Rest what remains of Offset there.
    void WalkRows(int FirstRow, int Offset, int& ARow, int& Rest) const;

    // ReplaceInRows of one change: Length bytes at byte Index of row ARow replaced by S.
    bool ReplaceInRow(int ARow, int Index, int Length, std::string_view S, int Ref, int Offset);
    // Deletes Length bytes at byte Index of the caret row and puts the caret at column ACol (by its
    // offset from the reference row Ref).
    void EraseInRow(int Index, int Length, int Ref, int ACol);
    void InsertText(std::string_view S, bool OverWriting);
    std::string Overwrite(std::string_view T, int From, std::string_view S) const;
    std::string RowText(int Index) const; // with its line break
    void AppendRowText(std::string& S, int Index) const;
    std::size_t RowTextSize(int Index) const;
    // Appends rows from Row on, to the end of a logical line, until more than Reach bytes that a
    // search match cannot pass over follow position Start of Chunk (or the text ends).
    void KeepDecidingRows(std::string& Chunk, int Row, std::size_t Start, std::size_t Reach,
                          TSearchOptions Options) const;
    int StringIndex(int ARow, int ACol) const; // limited to the row's length
    // SearchText in one direction; Reach as EditorControlSearch.cpp explains it.
    bool SearchForward(std::string_view Pattern, TSearchOptions Options, std::size_t Reach);
    bool SearchBackward(std::string_view Pattern, TSearchOptions Options, std::size_t Reach);
    bool FoundAt(int FirstRow, const TSearchInfo& Info);

    // Tokens: the cell at a column (stepped back to a character start), the token at a row's index.
    bool CellAt(int ARow, int& ACol, int& Index) const;
    bool TokenAt(int ARow, int Index, TEditor* Source, bool KeepState, std::string& Token, int& Kind, int& Start);
    bool SelectToken(int ARow, int Index, TEditor* Source, bool KeepState);

    TEditorHost* FHost = nullptr;
    std::shared_ptr<TEditorScreenStrings> FStore; // shared with attached editors
    std::unique_ptr<TEditorStrings> FLines;
    std::unique_ptr<TEditorViewInfo> FView;
    std::unique_ptr<TEditorCaret> FCaret;
    std::unique_ptr<TEditorMarks> FMarks;
    std::unique_ptr<TEditorMargin> FMargin;
    std::unique_ptr<TEditorImagebar> FImagebar;
    std::unique_ptr<TEditorLeftbar> FLeftbar;
    std::unique_ptr<TEditorRuler> FRuler;
    std::unique_ptr<TEditorSpeed> FSpeed;
    std::unique_ptr<TEditorPopupMenu> FPopupMenu;
    TColourer* FColourer = nullptr; // not owned

    int FWidth = 185, FHeight = 89; // used while there is no host
    int FCol = 0, FRow = 0;
    int FTopCol = 0, FTopRow = 0;
    int FRowsPerPage = 1, FColsPerPage = 1;
    int FCharWidth = 8, FFontHeight = 16;
    int FMaxTopRow = 0;
    int FImagebarWidth = 0, FLeftbarWidth = 0, FLeftbarDigits = 0, FRulerHeight = 0;
    int FCursorState = csrDefault;
    TDelimiters FDelimiters;
    int FHitLength = 0;
    TEditorHitStyle FHitStyle = hsSelect;
    bool FModified = false, FOverWrite = false, FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true, FWantTabs = true;
    int FSelectionMode = 0; // 0 stream, 1 box
    TSelection FSelDraw, FSelStr, FSelPainted;
    bool FCaretBatch = false; // a compound caret move is under way: no UpdateCaret per column change
    int FCaretUpdateCount = 0;
    bool FCaretShown = false;
    int FKeepCol = 0;
    bool FKeepColValid = false; // FKeepCol holds the column of the last vertical move's start
    bool FImePending = false;   // the input-method window still has to follow the caret
    int FImeSkip = 0;           // WM_CHAR bytes still to swallow after a composition result
    bool FKeyRepeat = false;
    int FMouseState = msIdle;
    int FSelState = ssNoSelection;
    int FAnchorRow = 0, FAnchorIndex = 0, FAnchorCol = 0;
    bool FHitFlag = false; // SetHitSelLength is building a hit
    int FPressX = 0, FPressY = 0;
    bool FRowSelecting = false, FRowSelBelow = false;
    int FRowSelAnchor = 0;
    bool FHitCaret = false; // the caret shows a hit (hsCaret)
};

} // namespace quillon
