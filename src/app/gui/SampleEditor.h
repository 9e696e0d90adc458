#pragma once
// The sample editors of the settings window: the program's own editor model on the editor widget,
// so that a sample shows everything a property set gives an edit window, the visible marks included.
#include "EditorWidget.h"

namespace quillon {

class TSampleEditor : public TEditorWidget {
public:
    explicit TSampleEditor(QWidget* Parent = nullptr);
};

} // namespace quillon
