#pragma once
// A test helper for objects described by published properties.
#include "EditorOptions.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {

// Changes every published property of Instance (walked recursively) away from its current value,
// checking that each change took.
inline void ChangeEverything(TPersistent& Instance) {
    EnumProperties(Instance, [](TPersistent& object, const TPropInfo& prop) {
        switch (prop.Kind) {
        case TPropKind::Integer: {
            std::int64_t old = prop.GetOrd(object);
            prop.SetOrd(object, old + 2);
            if (prop.GetOrd(object) == old) prop.SetOrd(object, old - 2);
            EXPECT_NE(prop.GetOrd(object), old) << prop.Name;
            break;
        }
        case TPropKind::Boolean: prop.SetOrd(object, !prop.GetOrd(object)); break;
        case TPropKind::Color: prop.SetOrd(object, prop.GetOrd(object) == clTeal ? clMaroon : clTeal); break;
        case TPropKind::Enumeration:
            prop.SetOrd(object, (prop.GetOrd(object) + 1) % static_cast<std::int64_t>(prop.Names.size()));
            break;
        case TPropKind::Set: prop.SetOrd(object, prop.GetOrd(object) ^ 0b101); break;
        case TPropKind::String: {
            std::string old = prop.GetStr(object);
            prop.SetStr(object, old == "#" ? "%" : "#");
            EXPECT_NE(prop.GetStr(object), old) << prop.Name;
            break;
        }
        case TPropKind::StringList: {
            auto list = prop.GetList(object);
            list.push_back("word" + std::to_string(list.size()));
            prop.SetList(object, list);
            break;
        }
        case TPropKind::Collection: {
            auto& brackets = dynamic_cast<TColourerBracketCollection&>(prop.GetObject(object));
            brackets.AddBracket("<", ">").ItemColor().SetColor(clOlive);
            break;
        }
        case TPropKind::Object: break;
        }
    });
}

} // namespace quillon
