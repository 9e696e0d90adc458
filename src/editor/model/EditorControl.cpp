// TEditor: construction, properties, store notifications and events.
#include "EditorControl.h"

#include "EditorPopupMenu.h"

#include <algorithm>

namespace quillon {
namespace {

// A colourer for the plain token parser: no brackets, no reserved words.
class TPlainColourer : public TColourer {
public:
    TPlainColourer() : TColourer(nullptr) {}
    std::unique_ptr<TColourerParser> CreateParser() override { return std::make_unique<TTokenParser>(); }
};

} // namespace

// ---- TTokenParser

TColourer& TTokenParser::PlainColourer() {
    static TPlainColourer colourer;
    return colourer;
}

// ---- Construction

TEditor::TEditor(TComponent* Owner) : TComponent(Owner), FDelimiters(quillon::GetDelimiters()) {
    FStore = CreateScreenStrings();
    FStore->AttachEditor(this);
    FLines = CreateEditorStrings();
    FView = CreateViewInfo();
    FCaret = CreateEditorCaret();
    FMarks = CreateMarks();
    FMargin = CreateMargin();
    FImagebar = CreateImagebar();
    FLeftbar = CreateLeftbar();
    FRuler = CreateRuler();
    FSpeed = CreateSpeed();
    auto handler = [this](TPersistent* Sender) { OptionsChanged(Sender); };
    for (TNotifyPersistent* option : std::initializer_list<TNotifyPersistent*>{
             FView.get(), FCaret.get(), FMarks.get(), FMargin.get(), FImagebar.get(), FLeftbar.get(), FRuler.get()})
        option->OnChange = handler;
    FPopupMenu = CreateEditorPopupMenu();
    CalcMetrics();
}

TEditor::~TEditor() {
    if (FColourer) FColourer->NotifyEventList().Remove(MakeMethod<&TEditor::ColourerChanged>(this));
    FStore->DetachEditor(this);
}

std::shared_ptr<TEditorScreenStrings> TEditor::CreateScreenStrings() {
    return std::make_shared<TEditorScreenStrings>();
}
std::unique_ptr<TEditorStrings> TEditor::CreateEditorStrings() { return std::make_unique<TEditorStrings>(*this); }
std::unique_ptr<TEditorViewInfo> TEditor::CreateViewInfo() { return std::make_unique<TEditorViewInfo>(this); }
std::unique_ptr<TEditorCaret> TEditor::CreateEditorCaret() { return std::make_unique<TEditorCaret>(); }
std::unique_ptr<TEditorMarks> TEditor::CreateMarks() { return std::make_unique<TEditorMarks>(); }
std::unique_ptr<TEditorMargin> TEditor::CreateMargin() { return std::make_unique<TEditorMargin>(); }
std::unique_ptr<TEditorImagebar> TEditor::CreateImagebar() { return std::make_unique<TEditorImagebar>(); }
std::unique_ptr<TEditorLeftbar> TEditor::CreateLeftbar() { return std::make_unique<TEditorLeftbar>(); }
std::unique_ptr<TEditorRuler> TEditor::CreateRuler() { return std::make_unique<TEditorRuler>(); }
std::unique_ptr<TEditorSpeed> TEditor::CreateSpeed() { return std::make_unique<TEditorSpeed>(); }
std::unique_ptr<TEditorPopupMenu> TEditor::CreateEditorPopupMenu() { return std::make_unique<TEditorPopupMenu>(this); }

TDelimiters TEditor::GetDelimiters() const { return quillon::GetDelimiters(); }

void TEditor::SetHost(TEditorHost* Host) {
    FHost = Host;
    FCaretShown = false;
    CalcMetrics();
    UpdateScrollBars();
    if (FHost) {
        SetScrollBars(FScrollBars);
        FHost->Invalidate({0, 0, FHost->ClientWidth(), FHost->ClientHeight()});
    }
}

// ---- Properties

TColourer& TEditor::ActiveColourerRef() { return FColourer ? *FColourer : static_cast<TColourer&>(FView->Colourer()); }

void TEditor::SetColourer(TColourer* Value) {
    if (Value == FColourer) return;
    const TMethod handler = MakeMethod<&TEditor::ColourerChanged>(this);
    if (FColourer) FColourer->NotifyEventList().Remove(handler);
    FColourer = Value;
    if (FColourer) FColourer->NotifyEventList().Add(handler);
    FStore->ResetRowStates();
    InvalidateAll();
}

void TEditor::ColourerChanged(TPersistent* Sender) { OptionsChanged(Sender); }

void TEditor::SetView(const TEditorViewInfo& Value) {
    FView->Assign(Value);
    ScrollCaretIntoView();
    UpdateCaretPos();
}

void TEditor::SetReserveWordList(const TStringList& Value) {
    if (Value == ReserveWordList()) return;
    FView->Colourer().SetReserveWordList(Value);
    FStore->ResetRowStates();
    InvalidateAll();
}

void TEditor::FontChanged() {
    if (!FHost) return;
    if (FTopCol > 0) SetCol(0);
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
    UpdateCaret();
}

void TEditor::SetLines(const std::vector<std::string>& Value) { FLines->Assign(Value); }

void TEditor::SetHitStyle(TEditorHitStyle Value) {
    if (IsSelectedOrHit()) CancelSelection();
    FHitStyle = Value;
}

void TEditor::SetReadOnly(bool Value) {
    if (FMouseState == msDragging) return;
    FReadOnly = Value;
    if (FReadOnly && IsSelected() && FHost) FHost->SetCursor(FCaret->Cursors().DefaultCursor());
}

void TEditor::SetOverWrite(bool Value) {
    if (FOverWrite == Value) return;
    FOverWrite = Value;
    UpdateCaret();
}

void TEditor::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    if (!FHost) return;
    FHost->ShowScrollBar(sbHorizontal, Value == ssHorizontal || Value == ssBoth);
    FHost->ShowScrollBar(sbVertical, Value == ssVertical || Value == ssBoth);
    CalcMetrics();
    UpdateScrollBars();
}

void TEditor::SetUndoListMax(int Value) { FStore->UndoObj().SetUndoListMax(std::max(64, Value)); }

// ---- Store notifications

void TEditor::DoChange() {
    ScreenUpdate();
    if (FLeftbar->Visible() && FLeftbar->ShowNumber() && CalcLeftbarDigits()) {
        CalcMetrics();
        InvalidateAll();
    }
    UpdateScrollBars();
    if (FStore->UpdateInfo().Updated) {
        FModified = true;
        if (OnChange) OnChange(*this);
    }
}

void TEditor::Refresh() {
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
}

void TEditor::LinesUpdateBegun() { CaretBeginUpdate(); }
void TEditor::LinesUpdateEnded() { CaretEndUpdate(); }

void TEditor::OptionsChanged(TPersistent* Sender) {
    if (Sender == FMarks.get()) FMargin->SetUnderlineSpace(FMarks->Underline().Visible() ? 1 : 0);
    if (Sender == FView.get() || dynamic_cast<TColourer*>(Sender)) FStore->ResetRowStates();
    if (!FHost) return;
    CalcMetrics();
    UpdateScrollBars();
    InvalidateAll();
    if (Sender == FCaret.get()) {
        UpdateCaret();
    } else {
        ScrollCaretIntoView();
        UpdateCaretPos();
    }
}

// ---- Events

void TEditor::DoDrawLine(const TPaintOp&, TPaintPlan&) {}

void TEditor::DblClick() {
    if (OnDblClick) OnDblClick(*this);
}

void TEditor::DoCaretMoved() {
    if (OnCaretMoved) OnCaretMoved(*this);
}
void TEditor::DoSelectionChange(bool Selected) {
    if (OnSelectionChange) OnSelectionChange(*this, Selected);
}
void TEditor::DoSelectionModeChange() {
    if (OnSelectionModeChange) OnSelectionModeChange(*this);
}
void TEditor::DoTopColChange() {
    if (OnTopColChange) OnTopColChange(*this);
}
void TEditor::DoTopRowChange() {
    if (OnTopRowChange) OnTopRowChange(*this);
}

} // namespace quillon
