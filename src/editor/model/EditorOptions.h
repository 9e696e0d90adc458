#pragma once
// The editor's option objects: caret and editing behaviour with the mouse cursors, text margins,
// visible marks, the colouring view, the column ruler, the line-number bar, the image bar and the
// scrolling speeds. Each reports its changes through OnChange (the editor's OptionsChanged), except
// TEditorSpeed, which reports nothing. Setters clamp to the stated ranges; properties without a
// reporting setter store silently. Assign copies a whole object and reports one change.
#include "Colors.h"
#include "Cursors.h"
#include "EditorColourer.h"
#include "EditorUtils.h"

namespace quillon {

enum TDragMode { dmManual, dmAutomatic };
enum TEditorCaretStyle { csDefault, csBrief };
enum TEditorShowNumberMode { nmRow, nmLine };

// Mouse cursors of the editor's regions. A number that names no cursor (IsEditorCursor) is not taken.
class TEditorCursors : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TCursor DefaultCursor() const { return FDefaultCursor; }
    void SetDefaultCursor(TCursor Value) { Put(FDefaultCursor, Value); }
    TCursor DragSelCursor() const { return FDragSelCursor; }
    void SetDragSelCursor(TCursor Value) { Put(FDragSelCursor, Value); }
    TCursor DragSelCopyCursor() const { return FDragSelCopyCursor; }
    void SetDragSelCopyCursor(TCursor Value) { Put(FDragSelCopyCursor, Value); }
    TCursor InSelCursor() const { return FInSelCursor; }
    void SetInSelCursor(TCursor Value) { Put(FInSelCursor, Value); }
    TCursor LeftMarginCursor() const { return FLeftMarginCursor; }
    void SetLeftMarginCursor(TCursor Value) { Put(FLeftMarginCursor, Value); }
    TCursor TopMarginCursor() const { return FTopMarginCursor; }
    void SetTopMarginCursor(TCursor Value) { Put(FTopMarginCursor, Value); }
    void Assign(const TPersistent& Source) override;

private:
    static void Put(TCursor& Field, TCursor Value) {
        if (IsEditorCursor(Value)) Field = Value;
    }
    TCursor FDefaultCursor = crIBeam;
    TCursor FDragSelCursor = crDrag;
    TCursor FDragSelCopyCursor = crDragSelCopy;
    TCursor FInSelCursor = crDefault;
    TCursor FLeftMarginCursor = crRightArrow;
    TCursor FTopMarginCursor = crDefault;
};

// Caret and editing behaviour. Only Style and TabSpaceCount report their changes.
class TEditorCaret : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TEditorCaret();
    bool AutoCursor() const { return FAutoCursor; }
    void SetAutoCursor(bool Value) { FAutoCursor = Value; }
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    bool BackSpaceUnIndent() const { return FBackSpaceUnIndent; }
    void SetBackSpaceUnIndent(bool Value) { FBackSpaceUnIndent = Value; }
    TEditorCursors& Cursors() const { return *FCursors; }
    void SetCursors(const TEditorCursors& Value) { FCursors->Assign(Value); }
    bool FreeCaret() const { return FFreeCaret; }
    void SetFreeCaret(bool Value) { FFreeCaret = Value; }
    bool FreeRow() const { return FFreeRow; }
    void SetFreeRow(bool Value) { FFreeRow = Value; }
    bool InTab() const { return FInTab; }
    void SetInTab(bool Value) { FInTab = Value; }
    bool KeepCaret() const { return FKeepCaret; }
    void SetKeepCaret(bool Value) { FKeepCaret = Value; }
    bool LockScroll() const { return FLockScroll; }
    void SetLockScroll(bool Value) { FLockScroll = Value; }
    bool NextLine() const { return FNextLine; }
    void SetNextLine(bool Value) { FNextLine = Value; }
    bool PrevSpaceIndent() const { return FPrevSpaceIndent; }
    void SetPrevSpaceIndent(bool Value) { FPrevSpaceIndent = Value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value) { FRowSelect = Value; }
    TDragMode SelDragMode() const { return FSelDragMode; }
    void SetSelDragMode(TDragMode Value) { FSelDragMode = Value; }
    bool SelMove() const { return FSelMove; }
    void SetSelMove(bool Value) { FSelMove = Value; }
    bool SoftTab() const { return FSoftTab; }
    void SetSoftTab(bool Value) { FSoftTab = Value; }
    TEditorCaretStyle Style() const { return FStyle; }
    void SetStyle(TEditorCaretStyle Value) { Store(FStyle, Value); }
    bool TabIndent() const { return FTabIndent; }
    void SetTabIndent(bool Value) { FTabIndent = Value; }
    int TabSpaceCount() const { return FTabSpaceCount; }
    // Clamped to 2..8 and made even (7 gives 6).
    void SetTabSpaceCount(int Value);
    void Assign(const TPersistent& Source) override;

private:
    bool FAutoCursor = true;
    bool FAutoIndent = true;
    bool FBackSpaceUnIndent = true;
    std::unique_ptr<TEditorCursors> FCursors;
    bool FFreeCaret = true;
    bool FFreeRow = false;
    bool FInTab = false;
    bool FKeepCaret = false;
    bool FLockScroll = false;
    bool FNextLine = false;
    bool FPrevSpaceIndent = false;
    bool FRowSelect = true;
    TDragMode FSelDragMode = dmAutomatic;
    bool FSelMove = true;
    bool FSoftTab = false;
    TEditorCaretStyle FStyle = csDefault;
    bool FTabIndent = false;
    int FTabSpaceCount = 8;
};

// Text margins in pixels, each 0..100.
class TEditorMargin : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    int Character() const { return FCharacter; }
    void SetCharacter(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    int Line() const { return FLine; }
    void SetLine(int Value);
    int Top() const { return FTop; }
    void SetTop(int Value);
    // Space for the caret row's underline (set by the editor; not published).
    int UnderlineSpace() const { return FUnderlineSpace; }
    void SetUnderlineSpace(int Value);
    void Assign(const TPersistent& Source) override;

private:
    int FCharacter = 0; // between characters
    int FLeft = 19;
    int FLine = 0; // between rows
    int FTop = 2;
    int FUnderlineSpace = 0;
};

class TEditorMark : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Store(FColor, Value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    void Assign(const TPersistent& Source) override;

private:
    TColor FColor = clGray;
    bool FVisible = false;
};

// The visible marks; a change of any mark is a change of the marks.
class TEditorMarks : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TEditorMarks();
    TEditorMark& EofMark() const { return *FEofMark; } // end of the text
    void SetEofMark(const TEditorMark& Value) { FEofMark->Assign(Value); }
    TEditorMark& RetMark() const { return *FRetMark; } // line break
    void SetRetMark(const TEditorMark& Value) { FRetMark->Assign(Value); }
    TEditorMark& WrapMark() const { return *FWrapMark; } // end of a wrapped row
    void SetWrapMark(const TEditorMark& Value) { FWrapMark->Assign(Value); }
    TEditorMark& HideMark() const { return *FHideMark; } // a row running past the drawn columns
    void SetHideMark(const TEditorMark& Value) { FHideMark->Assign(Value); }
    TEditorMark& Underline() const { return *FUnderline; } // the caret row's underline
    void SetUnderline(const TEditorMark& Value) { FUnderline->Assign(Value); }
    void Assign(const TPersistent& Source) override;

private:
    std::unique_ptr<TEditorMark> NewMark();
    std::unique_ptr<TEditorMark> FEofMark, FRetMark, FWrapMark, FHideMark, FUnderline;
};

// The editor's default colouring, kept in a colourer of its own.
class TEditorViewInfo : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    // Owner is what GetOwner answers (the editor or a property set).
    explicit TEditorViewInfo(TPersistent* Owner = nullptr);
    ~TEditorViewInfo() override;
    TPersistent* GetOwner() const override { return FOwner; }
    TEditorColourer& Colourer() const { return *FColourer; }

    TColourerBracketCollection& Brackets() const { return FColourer->Brackets(); }
    void SetBrackets(const TColourerBracketCollection& Value) { Brackets().Assign(Value); }
    TEditorColors& Colors() const { return FColourer->Colors(); }
    void SetColors(const TEditorColors& Value) { Colors().Assign(Value); }
    const std::string& Commenter() const { return FColourer->Commenter(); }
    void SetCommenter(const std::string& Value);
    bool ControlCode() const { return FColourer->ControlCode(); }
    void SetControlCode(bool Value);
    const std::string& HexPrefix() const { return FColourer->HexPrefix(); }
    void SetHexPrefix(const std::string& Value);
    bool Mail() const { return FColourer->Mail(); }
    void SetMail(bool Value);
    const std::string& Quotation() const { return FColourer->Quotation(); }
    // Keeps the first byte; a double-byte first character is refused.
    void SetQuotation(const std::string& Value);
    bool Url() const { return FColourer->Url(); }
    void SetUrl(bool Value);
    void Assign(const TPersistent& Source) override;

private:
    // Stores Value through Set when it differs from the colourer's and reports the change.
    template <class T, class S> void StoreInColourer(const T& Current, const T& Value, S Set);

    TPersistent* FOwner; // not owned
    std::unique_ptr<TEditorColourer> FColourer;
};

class TEditorRuler : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { Store(FBkColor, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Store(FColor, Value); }
    bool Edge() const { return FEdge; }
    void SetEdge(bool Value) { Store(FEdge, Value); }
    int GaugeRange() const { return FGaugeRange; }
    // 8 or 10: clamped to 8..10 and made even.
    void SetGaugeRange(int Value);
    TColor MarkColor() const { return FMarkColor; }
    void SetMarkColor(TColor Value) { Store(FMarkColor, Value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    void Assign(const TPersistent& Source) override;

private:
    TColor FBkColor = clSilver;
    TColor FColor = clBlack;
    bool FEdge = true;
    int FGaugeRange = 10;
    TColor FMarkColor = clBlack;
    bool FVisible = false;
};

// The line-number bar.
class TEditorLeftbar : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { Store(FBkColor, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Store(FColor, Value); }
    int Column() const { return FColumn; }
    void SetColumn(int Value); // digits, 1..8
    bool Edge() const { return FEdge; }
    void SetEdge(bool Value) { Store(FEdge, Value); }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value); // 0..100
    TColor ModifiedBkColor() const { return FModifiedBkColor; }
    void SetModifiedBkColor(TColor Value) { Store(FModifiedBkColor, Value); }
    TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(TColor Value) { Store(FModifiedColor, Value); }
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value); // 0..100
    bool ShowNumber() const { return FShowNumber; }
    void SetShowNumber(bool Value) { Store(FShowNumber, Value); }
    TEditorShowNumberMode ShowNumberMode() const { return FShowNumberMode; }
    void SetShowNumberMode(TEditorShowNumberMode Value) { Store(FShowNumberMode, Value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    bool ZeroBase() const { return FZeroBase; }
    void SetZeroBase(bool Value) { Store(FZeroBase, Value); }
    bool ZeroLead() const { return FZeroLead; }
    void SetZeroLead(bool Value) { Store(FZeroLead, Value); }
    void Assign(const TPersistent& Source) override;

private:
    TColor FBkColor = clSilver;
    TColor FColor = clBlack;
    int FColumn = 4;
    bool FEdge = true;
    int FLeftMargin = 8;
    TColor FModifiedBkColor = clGreen;
    TColor FModifiedColor = clBlack;
    int FRightMargin = 4;
    bool FShowNumber = true;
    TEditorShowNumberMode FShowNumberMode = nmRow;
    bool FVisible = false;
    bool FZeroBase = false;
    bool FZeroLead = false;
};

// The row-mark bar; widths and margins 0..100.
class TEditorImagebar : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    int DigitWidth() const { return FDigitWidth; }
    void SetDigitWidth(int Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value);
    int MarkWidth() const { return FMarkWidth; }
    void SetMarkWidth(int Value);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    void Assign(const TPersistent& Source) override;

private:
    int FDigitWidth = 8;
    int FLeftMargin = 2;
    int FMarkWidth = 0;
    int FRightMargin = 2;
    bool FVisible = true;
};

// Row steps of the caret keys (each 1..4) and how far the full recomputation of colouring states
// reaches. Reports nothing.
class TEditorSpeed : public TPersistent {
public:
    QUILLON_CLASS_INFO
    int CaretVerticalAc() const { return FCaretVerticalAc; }
    void SetCaretVerticalAc(int Value);
    // Recompute the colouring states of the whole text, not only of the first two screens.
    bool InitBracketsFull() const { return FInitBracketsFull; }
    void SetInitBracketsFull(bool Value) { FInitBracketsFull = Value; }
    int PageVerticalRange() const { return FPageVerticalRange; }
    void SetPageVerticalRange(int Value);
    int PageVerticalRangeAc() const { return FPageVerticalRangeAc; }
    void SetPageVerticalRangeAc(int Value);
    void Assign(const TPersistent& Source) override;

private:
    int FCaretVerticalAc = 2;
    bool FInitBracketsFull = false;
    int FPageVerticalRange = 2;
    int FPageVerticalRangeAc = 2;
};

} // namespace quillon
