#pragma once
// What the edit windows and the root use of the property editing on Qt: the settings window as the
// editor of a kind's settings, and one window taking a kind's new settings.
#include "EditorWidget.h"
#include "KindProperties.h"

namespace quillon {

// EditEditorProperties and EditEditorAndColourer of the settings window, with no page hint.
TPropertyEditor SettingsWindowEditor();

// Window takes Prop (the editor's part, colour and font) keeping its own find string and search
// options; with a colourer the editor's colourer is set to it again, so it takes the new colours.
// The root calls this for every window of the kind from its TApplyKindProperties.
void ApplyPropertiesToWindow(TEditorWidget& Window, const TEditorExProp& Prop, TColourer* Colourer);

} // namespace quillon
