#include "EditorExProp.h"

namespace quillon {

const TClassInfo& TEditorExProp::StaticClassInfo() {
    static const TClassInfo info{
        "TEditorExProp", &TEditorProp::StaticClassInfo(), {ObjProp("ExMarks", &TEditorExProp::ExMarks)}};
    return info;
}

TEditorExProp::TEditorExProp(TComponent* Owner) : TEditorProp(Owner), FExMarks(CreateExMarks()) {}

TEditorExProp::~TEditorExProp() = default;

std::unique_ptr<TEditorExMarks> TEditorExProp::CreateExMarks() { return std::make_unique<TEditorExMarks>(); }

void TEditorExProp::SetFindString(const std::string& Value) {
    if (Value == FFindString) return;
    FFindString = Value;
    if (OnFindStringChange) OnFindStringChange(this);
}

void TEditorExProp::SetSearchOptions(std::uint8_t Value) {
    if (Value == FSearchOptions) return;
    FSearchOptions = Value;
    if (OnSearchOptionsChange) OnSearchOptionsChange(this);
}

void TEditorExProp::Assign(const TPersistent& Source) {
    TEditorProp::Assign(Source);
    if (const auto* editor = dynamic_cast<const TEditorEx*>(&Source)) {
        FExMarks->Assign(editor->ExMarks());
        FFindString = editor->FindString();
        FSearchOptions = editor->SearchOptions();
    } else if (const auto* set = dynamic_cast<const TEditorExProp*>(&Source)) {
        FExMarks->Assign(set->ExMarks());
        FFindString = set->FFindString;
        FSearchOptions = set->FSearchOptions;
    }
}

void TEditorExProp::AssignTo(TPersistent& Dest) const {
    TEditorProp::AssignTo(Dest);
    if (auto* editor = dynamic_cast<TEditorEx*>(&Dest)) {
        editor->SetExMarks(*FExMarks);
        editor->SetFindString(FFindString);
        editor->SetSearchOptions(FSearchOptions);
    }
}

} // namespace quillon
