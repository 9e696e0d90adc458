#include "PropertyWindows.h"

#include "EditorEx.h"
#include "VEdt.h"

namespace quillon {

TPropertyEditor SettingsWindowEditor() {
    TPropertyEditor editor;
    editor.EditEditorProperties = [](TEditorExProp& Prop) { return EditEditorProperties(&Prop, nullptr); };
    editor.EditEditorAndColourer = [](TEditorExProp& Prop, TOrvColourer& Colourer) {
        return EditEditorAndColourer(&Prop, &Colourer, nullptr);
    };
    return editor;
}

void ApplyPropertiesToWindow(TEditorWidget& Window, const TEditorExProp& Prop, TColourer* Colourer) {
    auto* editor = dynamic_cast<TEditorEx*>(&Window.Editor());
    const std::string findString = editor ? editor->FindString() : std::string();
    const std::uint8_t searchOptions = editor ? editor->SearchOptions() : 0;
    Window.AssignProp(Prop);
    if (editor) {
        editor->SetSearchOptions(searchOptions);
        editor->SetFindString(findString);
    }
    if (Colourer) {
        Window.Editor().SetColourer(nullptr);
        Window.Editor().SetColourer(Colourer);
    }
}

} // namespace quillon
