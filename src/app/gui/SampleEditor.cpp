#include "SampleEditor.h"

#include "EditorExVantor.h"

namespace quillon {

TSampleEditor::TSampleEditor(QWidget* Parent) : TEditorWidget(std::make_unique<TEditorExVantor>(), Parent) {}

} // namespace quillon
