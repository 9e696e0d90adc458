#pragma once
// TEditorProp: a complete copy of an editor's look and behaviour apart from its text, kept apart
// from any editor: it is copied from an editor (Set.Assign(Editor)), into an editor
// (Editor.Assign(Set), which comes to the set's AssignTo), between sets, and stored in one binary
// settings value (WriteToRegistry / ReadFromRegistry, every property written).
//
// The editor model keeps everything but Color and Font, which belong to its window: copying between
// a set and a TEditor leaves those two alone; the window takes them from the set itself.
//
// Stream order: FileExtList, then Color, Caret, Font, HitStyle, Imagebar, Leftbar, Margin, Marks,
// ReserveWordList, Ruler, ScrollBars, Speed, View (with its colourer's brackets, colours and
// switches), WordWrap and WrapOption.
#include "EditorControl.h"
#include "EditorFont.h"

#include <memory>

namespace quillon {

class TEditorProp : public TFileExtComponent {
public:
    QUILLON_CLASS_INFO
    explicit TEditorProp(TComponent* Owner = nullptr);
    ~TEditorProp() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TEditorCaret& Caret() const { return *FCaret; }
    void SetCaret(const TEditorCaret& Value) { FCaret->Assign(Value); }
    TFont& Font() const { return *FFont; }
    void SetFont(const TFont& Value) { FFont->Assign(Value); }
    TEditorHitStyle HitStyle() const { return FHitStyle; }
    void SetHitStyle(TEditorHitStyle Value);
    TEditorImagebar& Imagebar() const { return *FImagebar; }
    void SetImagebar(const TEditorImagebar& Value) { FImagebar->Assign(Value); }
    TEditorLeftbar& Leftbar() const { return *FLeftbar; }
    void SetLeftbar(const TEditorLeftbar& Value) { FLeftbar->Assign(Value); }
    TEditorMargin& Margin() const { return *FMargin; }
    void SetMargin(const TEditorMargin& Value) { FMargin->Assign(Value); }
    TEditorMarks& Marks() const { return *FMarks; }
    void SetMarks(const TEditorMarks& Value) { FMarks->Assign(Value); }
    const TStringList& ReserveWordList() const { return FReserveWordList; }
    void SetReserveWordList(const TStringList& Value) { FReserveWordList.Assign(Value); }
    TEditorRuler& Ruler() const { return *FRuler; }
    void SetRuler(const TEditorRuler& Value) { FRuler->Assign(Value); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TEditorSpeed& Speed() const { return *FSpeed; }
    void SetSpeed(const TEditorSpeed& Value) { FSpeed->Assign(Value); }
    TEditorViewInfo& View() const { return *FView; }
    void SetView(const TEditorViewInfo& Value) { FView->Assign(Value); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TEditorWrapOption& WrapOption() const { return *FWrapOption; }
    void SetWrapOption(const TEditorWrapOption& Value) { FWrapOption->Assign(Value); }

    // Fire with the set as Sender when the value changes through its setter.
    TNotifyEvent OnColorChange;
    TNotifyEvent OnHitStyleChange;
    TNotifyEvent OnScrollBarsChange;
    TNotifyEvent OnWordWrapChange;

    // From a TEditor (every property but Color and Font; FileExtList stays), from a TEditorProp
    // (all, FileExtList last); anything else raises EConvertError.
    void Assign(const TPersistent& Source) override;

protected:
    // The set into a TEditor (every property but Color and Font; the editor is unwrapped before its
    // wrap options change and wrapped only after, so its text is wrapped once at most); anything
    // else raises EConvertError (a set takes a set through its own Assign).
    void AssignTo(TPersistent& Dest) const override;

    virtual std::unique_ptr<TEditorCaret> CreateCaret();
    virtual std::unique_ptr<TEditorImagebar> CreateImagebar();
    virtual std::unique_ptr<TEditorLeftbar> CreateLeftbar();
    virtual std::unique_ptr<TEditorMargin> CreateMargin();
    virtual std::unique_ptr<TEditorMarks> CreateMarks();
    virtual std::unique_ptr<TEditorRuler> CreateRuler();
    virtual std::unique_ptr<TEditorSpeed> CreateSpeed();
    virtual std::unique_ptr<TEditorViewInfo> CreateViewInfo();
    virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();

private:
    // What an editor and a set both have, from an editor or a set: HitStyle stored directly,
    // ScrollBars and WordWrap through their setters, the objects assigned into the owned ones.
    template <class S> void AssignShared(const S& Source);
    void AssignToEditor(TEditor& Editor) const;
    // Everything of another set: Color and Font, the shared part, FileExtList last.
    void CopyFrom(const TEditorProp& Source);

    TColor FColor = clWindow;
    std::unique_ptr<TEditorCaret> FCaret;
    std::unique_ptr<TFont> FFont;
    TEditorHitStyle FHitStyle = hsSelect;
    std::unique_ptr<TEditorImagebar> FImagebar;
    std::unique_ptr<TEditorLeftbar> FLeftbar;
    std::unique_ptr<TEditorMargin> FMargin;
    std::unique_ptr<TEditorMarks> FMarks;
    TStringList FReserveWordList;
    std::unique_ptr<TEditorRuler> FRuler;
    TScrollStyle FScrollBars = ssNone;
    std::unique_ptr<TEditorSpeed> FSpeed;
    std::unique_ptr<TEditorViewInfo> FView; // its owner is the set
    bool FWordWrap = false;
    std::unique_ptr<TEditorWrapOption> FWrapOption;
};

} // namespace quillon
