#pragma once
// Editor property sets and colours per list kind: stored in the settings store under the kind's
// value name ("Common" for plain text, which has no colourer of its own), edited on copies through
// the editor settings window, and handed to the root to apply to every window of the kind.
//
// The settings window is given copies, so whatever it does before it is cancelled reaches neither
// the caller's objects nor the store nor any window.
#include "EditorExProp.h"
#include "ListKinds.h"
#include "OrvColourer.h"
#include "SettingsStore.h"

#include <array>
#include <functional>
#include <memory>

namespace quillon {

extern const char* const EditorPropertiesSection;   // "EditorProperties": one TEditorExProp per kind
extern const char* const ColourerPropertiesSection; // "ColourerProperties": one colourer per list kind

// A new colourer of a list kind with every colour at clNone, or null for plain text or any other number.
std::unique_ptr<TOrvColourer> CreateKindColourer(int Kind);
// The list kind whose colourer class Colourer is (exactly), or 0.
int ColourerKind(const TColourer& Colourer);

// One colourer of every list kind, made by CreateKindColourer.
class TKindColourers {
public:
    TKindColourers();
    // The colourer of Kind, or null for plain text or any other number.
    TOrvColourer* Colourer(int Kind) const;

private:
    std::array<std::unique_ptr<TOrvColourer>, kListKindCount> FColourers;
};
// Every colour of Source (its Reserve and AnyItem included) into Dest of the same class.
void CopyColourerColors(TOrvColourer& Dest, const TOrvColourer& Source);

// The stored set of Kind into Prop; false when none is stored or it cannot be read, and Prop keeps
// its values (a damaged value never stops a window from opening). A damaged value is reported in a
// notice naming the kind and removed, so the caller stores the set it then uses in its place.
bool LoadKindProperties(TSettingsStore& Store, int Kind, TEditorExProp& Prop);

// The settings window as the property editing sees it: each edits the objects it is given in place
// and answers true when the user confirmed.
struct TPropertyEditor {
    std::function<bool(TEditorExProp& Prop)> EditEditorProperties;
    std::function<bool(TEditorExProp& Prop, TOrvColourer& Colourer)> EditEditorAndColourer;
};

// What the root window provides: every open window showing a list of Kind (the one whose settings
// were edited included) takes Prop, keeping its own find string and search options, and a window
// of a list kind takes Colourer's new colours (its editor's colourer set again). Colourer is null
// for plain text.
using TApplyKindProperties = std::function<void(int Kind, const TEditorExProp& Prop, TOrvColourer* Colourer)>;

// Edits the settings of Kind: Prop (the kind's property set) and, for a list kind, Colourer (the
// root's shared colourer of the kind, of the kind's class). Confirmed: Prop and Colourer take the
// edited values, Prop is stored under the kind's value name, the colourer likewise (never for plain
// text), and Apply runs once. Cancelled, or a colourer that does not belong to Kind: nothing
// changes. Answers whether the settings were confirmed.
bool EditKindProperties(TSettingsStore& Store, int Kind, TEditorExProp& Prop, TOrvColourer* Colourer,
                        const TPropertyEditor& Editor, const TApplyKindProperties& Apply);

} // namespace quillon
