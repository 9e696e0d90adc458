#include "KindProperties.h"

#include "ListKinds.h"
#include "MessageBox.h"
#include "Streams.h"

namespace quillon {

const char* const EditorPropertiesSection = "EditorProperties";
const char* const ColourerPropertiesSection = "ColourerProperties";

std::unique_ptr<TOrvColourer> CreateKindColourer(int Kind) {
    if (Kind < 0 || Kind >= kListKindCount || !ListKindInfo(Kind).CreateColourer) return nullptr;
    return ListKindInfo(Kind).CreateColourer();
}

int ColourerKind(const TColourer& Colourer) {
    const std::string& name = Colourer.ClassInfo().ClassName;
    for (int kind = lkMotion; kind < kListKindCount; ++kind)
        if (ListKindInfo(kind).ColourerClass == name) return kind;
    return 0;
}

TKindColourers::TKindColourers() {
    for (int kind = 0; kind < kListKindCount; ++kind)
        FColourers[static_cast<std::size_t>(kind)] = CreateKindColourer(kind);
}

TOrvColourer* TKindColourers::Colourer(int Kind) const {
    return Kind >= 0 && Kind < kListKindCount ? FColourers[static_cast<std::size_t>(Kind)].get() : nullptr;
}

void CopyColourerColors(TOrvColourer& Dest, const TOrvColourer& Source) {
    for (int i = 0; i < Source.ColorCount() && i < Dest.ColorCount(); ++i) Dest.ColorAt(i).Assign(Source.ColorAt(i));
    Dest.Reserve().Assign(Source.Reserve());
}

bool LoadKindProperties(TSettingsStore& Store, int Kind, TEditorExProp& Prop) {
    const std::string name(ListKindInfo(Kind).ValueName);
    if (!Store.ValueExists(EditorPropertiesSection, name)) return false;
    try {
        Prop.ReadFromRegistry(Store, EditorPropertiesSection, name);
        return true;
    } catch (const EReadError&) {
        // Removed, so that it is reported this once and the caller stores the set it uses instead.
        Store.DeleteValue(EditorPropertiesSection, name);
        Messages().Show("保存されていたエディタの設定 (" + std::string(ListKindInfo(Kind).Title) +
                            ") が壊れていたため読み込めませんでした。\n既定の設定に置き換えます。",
                        "警告", TMsgIcon::Warning, TMsgButtons::OK);
        return false;
    }
}

namespace {

bool EditCopies(int Kind, TEditorExProp& Prop, TOrvColourer* Colourer, const TPropertyEditor& Editor) {
    TEditorExProp prop;
    prop.Assign(Prop);
    if (!Colourer) {
        if (!Editor.EditEditorProperties || !Editor.EditEditorProperties(prop)) return false;
        Prop.Assign(prop);
        return true;
    }
    std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(Kind);
    CopyColourerColors(*colourer, *Colourer);
    if (!Editor.EditEditorAndColourer || !Editor.EditEditorAndColourer(prop, *colourer)) return false;
    Prop.Assign(prop);
    CopyColourerColors(*Colourer, *colourer);
    return true;
}

} // namespace

bool EditKindProperties(TSettingsStore& Store, int Kind, TEditorExProp& Prop, TOrvColourer* Colourer,
                        const TPropertyEditor& Editor, const TApplyKindProperties& Apply) {
    if (Kind < lkText || Kind >= kListKindCount) return false;
    if (Kind == lkText)
        Colourer = nullptr;
    else if (!Colourer || ColourerKind(*Colourer) != Kind)
        return false;
    if (!EditCopies(Kind, Prop, Colourer, Editor)) return false;
    const std::string name(ListKindInfo(Kind).ValueName);
    Prop.WriteToRegistry(Store, EditorPropertiesSection, name);
    if (Colourer) Colourer->WriteToRegistry(Store, ColourerPropertiesSection, name);
    if (Apply) Apply(Kind, Prop, Colourer);
    return true;
}

} // namespace quillon
