#include "EditorPropSet.h"

namespace quillon {

namespace {

// Fires Event with Sender when it is assigned.
void Fire(const TNotifyEvent& Event, TPersistent* Sender) {
    if (Event) Event(Sender);
}

} // namespace

const TClassInfo& TEditorProp::StaticClassInfo() {
    using P = TEditorProp;
    static const TClassInfo info{
        "TEditorProp",
        &TFileExtComponent::StaticClassInfo(),
        {ColorProp("Color", &P::Color, &P::SetColor), ObjProp("Caret", &P::Caret), ObjProp("Font", &P::Font),
         EnumProp("HitStyle", &P::HitStyle, &P::SetHitStyle, {"hsSelect", "hsDraw", "hsCaret"}),
         ObjProp("Imagebar", &P::Imagebar), ObjProp("Leftbar", &P::Leftbar), ObjProp("Margin", &P::Margin),
         ObjProp("Marks", &P::Marks),
         ListProp<TStringList>("ReserveWordList", &P::ReserveWordList, &P::SetReserveWordList),
         ObjProp("Ruler", &P::Ruler),
         EnumProp("ScrollBars", &P::ScrollBars, &P::SetScrollBars, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}),
         ObjProp("Speed", &P::Speed), ObjProp("View", &P::View), BoolProp("WordWrap", &P::WordWrap, &P::SetWordWrap),
         ObjProp("WrapOption", &P::WrapOption)}};
    return info;
}

TEditorProp::TEditorProp(TComponent* Owner)
    : TFileExtComponent(Owner), FCaret(CreateCaret()), FFont(std::make_unique<TFont>()), FImagebar(CreateImagebar()),
      FLeftbar(CreateLeftbar()), FMargin(CreateMargin()), FMarks(CreateMarks()), FRuler(CreateRuler()),
      FSpeed(CreateSpeed()), FView(CreateViewInfo()), FWrapOption(CreateWrapOption()) {
    FFont->SetName("FixedSys");
    FFont->SetColor(clWindowText);
}

TEditorProp::~TEditorProp() = default;

std::unique_ptr<TEditorCaret> TEditorProp::CreateCaret() { return std::make_unique<TEditorCaret>(); }
std::unique_ptr<TEditorImagebar> TEditorProp::CreateImagebar() { return std::make_unique<TEditorImagebar>(); }
std::unique_ptr<TEditorLeftbar> TEditorProp::CreateLeftbar() { return std::make_unique<TEditorLeftbar>(); }
std::unique_ptr<TEditorMargin> TEditorProp::CreateMargin() { return std::make_unique<TEditorMargin>(); }
std::unique_ptr<TEditorMarks> TEditorProp::CreateMarks() { return std::make_unique<TEditorMarks>(); }
std::unique_ptr<TEditorRuler> TEditorProp::CreateRuler() { return std::make_unique<TEditorRuler>(); }
std::unique_ptr<TEditorSpeed> TEditorProp::CreateSpeed() { return std::make_unique<TEditorSpeed>(); }
std::unique_ptr<TEditorViewInfo> TEditorProp::CreateViewInfo() { return std::make_unique<TEditorViewInfo>(this); }
std::unique_ptr<TEditorWrapOption> TEditorProp::CreateWrapOption() { return std::make_unique<TEditorWrapOption>(); }

void TEditorProp::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Fire(OnColorChange, this);
}

void TEditorProp::SetHitStyle(TEditorHitStyle Value) {
    if (Value == FHitStyle) return;
    FHitStyle = Value;
    Fire(OnHitStyleChange, this);
}

void TEditorProp::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    Fire(OnScrollBarsChange, this);
}

void TEditorProp::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    Fire(OnWordWrapChange, this);
}

void TEditorProp::Assign(const TPersistent& Source) {
    if (const auto* editor = dynamic_cast<const TEditor*>(&Source))
        AssignShared(*editor);
    else if (const auto* set = dynamic_cast<const TEditorProp*>(&Source))
        CopyFrom(*set);
    else
        TFileExtComponent::Assign(Source);
}

void TEditorProp::AssignTo(TPersistent& Dest) const {
    if (auto* editor = dynamic_cast<TEditor*>(&Dest))
        AssignToEditor(*editor);
    else
        TFileExtComponent::AssignTo(Dest);
}

template <class S> void TEditorProp::AssignShared(const S& Source) {
    FCaret->Assign(Source.Caret());
    FHitStyle = Source.HitStyle();
    FImagebar->Assign(Source.Imagebar());
    FLeftbar->Assign(Source.Leftbar());
    FMargin->Assign(Source.Margin());
    FMarks->Assign(Source.Marks());
    FReserveWordList.Assign(Source.ReserveWordList());
    FRuler->Assign(Source.Ruler());
    SetScrollBars(Source.ScrollBars());
    FSpeed->Assign(Source.Speed());
    FView->Assign(Source.View());
    SetWordWrap(Source.WordWrap());
    FWrapOption->Assign(Source.WrapOption());
}

void TEditorProp::AssignToEditor(TEditor& Editor) const {
    Editor.Caret().Assign(*FCaret);
    Editor.SetHitStyle(FHitStyle);
    Editor.Imagebar().Assign(*FImagebar);
    Editor.Leftbar().Assign(*FLeftbar);
    Editor.Margin().Assign(*FMargin);
    Editor.Marks().Assign(*FMarks);
    Editor.SetReserveWordList(FReserveWordList);
    Editor.Ruler().Assign(*FRuler);
    Editor.SetScrollBars(FScrollBars);
    Editor.Speed().Assign(*FSpeed);
    Editor.SetView(*FView);
    if (!FWordWrap) Editor.SetWordWrap(false);
    Editor.WrapOption().Assign(*FWrapOption);
    if (FWordWrap) Editor.SetWordWrap(true);
}

void TEditorProp::CopyFrom(const TEditorProp& Source) {
    SetColor(Source.FColor);
    SetFont(*Source.FFont);
    AssignShared(Source);
    SetFileExtList(Source.FileExtList());
}

} // namespace quillon
