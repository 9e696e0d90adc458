#include "PropUtils.h"

#include "EditorClasses.h"

#include <algorithm>

namespace quillon {

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
    std::vector<const TPropInfo*> props = Parent ? Parent->AllProps() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : Props) props.push_back(&p);
    return props;
}

const TPropInfo* TClassInfo::FindProp(std::string_view Name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Props)
            if (CompareText(p.Name, Name) == 0) return &p;
    return nullptr;
}

void CopyProperties(TPersistent& Dest, const TPersistent& Source, const TClassInfo& Class) {
    for (const TPropInfo* prop : Class.AllProps()) {
        switch (prop->Kind) {
        case TPropKind::String: prop->SetStr(Dest, prop->GetStr(Source)); break;
        case TPropKind::StringList: prop->SetList(Dest, prop->GetList(Source)); break;
        case TPropKind::Object:
        case TPropKind::Collection: prop->GetObject(Dest).Assign(prop->GetObject(Source)); break;
        default: prop->SetOrd(Dest, prop->GetOrd(Source)); break;
        }
    }
}

void EnumProperties(TPersistent& Instance, const TPropProc& Proc) {
    std::vector<const TPropInfo*> props = Instance.ClassInfo().AllProps();
    std::stable_sort(props.begin(), props.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name, b->Name) < 0; });
    for (const TPropInfo* prop : props) {
        Proc(Instance, *prop);
        if (prop->Kind != TPropKind::Object && prop->Kind != TPropKind::Collection) continue;
        TPersistent& object = prop->GetObject(Instance);
        EnumProperties(object, Proc);
        if (auto* collection = dynamic_cast<TCollection*>(&object))
            for (int i = 0; i < collection->Count(); ++i) EnumProperties(collection->Items(i), Proc);
    }
}

} // namespace quillon
