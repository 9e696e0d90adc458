#pragma once
// Published properties. C++ has no run-time property lookup, so every streamable class describes its
// published properties once: name, kind, how to read and write the value, and for object-valued
// properties how to reach the owned object. Component streaming, the colour walkers of the
// colourers, the editor property sets and the settings window all work from these descriptions.
//
// A class publishes its description with QUILLON_CLASS_INFO in its declaration and defines
// StaticClassInfo() with its own properties in declaration order and its base's description as Parent.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quillon {

class TPersistent;
class TCollection;

enum class TPropKind {
    Integer, // 32-bit signed
    Boolean,
    Color,       // TColor; streamed by name where the colour has one
    Enumeration, // Names holds the identifier of each value
    Set,         // a bit set; Names holds the identifier of each member bit
    String,      // Shift-JIS bytes
    StringList,  // a list of strings
    Object,      // an owned persistent object; its own properties are nested under this name
    Collection,  // an owned collection; its items are streamed one after the other
};

struct TClassInfo;

struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    std::vector<std::string> Names; // Enumeration and Set identifiers
    // Integer, Boolean, Color, Enumeration and Set values.
    std::function<std::int64_t(const TPersistent&)> GetOrd;
    std::function<void(TPersistent&, std::int64_t)> SetOrd;
    // String values.
    std::function<std::string(const TPersistent&)> GetStr;
    std::function<void(TPersistent&, const std::string&)> SetStr;
    // StringList values.
    std::function<std::vector<std::string>(const TPersistent&)> GetList;
    std::function<void(TPersistent&, const std::vector<std::string>&)> SetList;
    // Object and Collection: the owned object, and the description of its declared class.
    std::function<TPersistent&(const TPersistent&)> GetObject;
    const TClassInfo& (*ObjectClass)() = nullptr;
};

struct TClassInfo {
    std::string ClassName;
    const TClassInfo* Parent;
    std::vector<TPropInfo> Props; // own properties, in declaration order

    // Every property, inherited ones first.
    std::vector<const TPropInfo*> AllProps() const;
    // A property by name (ASCII case ignored), or null.
    const TPropInfo* FindProp(std::string_view Name) const;
};

#define QUILLON_CLASS_INFO                                                                                             \
    static const ::quillon::TClassInfo& StaticClassInfo();                                                             \
    const ::quillon::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

inline TPropInfo MakeProp(std::string Name, TPropKind Kind, std::vector<std::string> Names = {}) {
    TPropInfo info;
    info.Name = std::move(Name);
    info.Kind = Kind;
    info.Names = std::move(Names);
    return info;
}

// Builders of property descriptions from a getter and a setter of class T.
template <class T, class G, class S>
TPropInfo OrdProp(std::string Name, TPropKind Kind, G T::*Get, S T::*Set, std::vector<std::string> Names = {}) {
    using V = std::remove_cvref_t<decltype((std::declval<const T&>().*Get)())>;
    TPropInfo info = MakeProp(std::move(Name), Kind, std::move(Names));
    info.GetOrd = [Get](const TPersistent& p) { return static_cast<std::int64_t>((static_cast<const T&>(p).*Get)()); };
    info.SetOrd = [Set](TPersistent& p, std::int64_t v) { (static_cast<T&>(p).*Set)(static_cast<V>(v)); };
    return info;
}

template <class T, class G, class S> TPropInfo IntProp(std::string Name, G T::*Get, S T::*Set) {
    return OrdProp(std::move(Name), TPropKind::Integer, Get, Set);
}
template <class T, class G, class S> TPropInfo BoolProp(std::string Name, G T::*Get, S T::*Set) {
    return OrdProp(std::move(Name), TPropKind::Boolean, Get, Set);
}
template <class T, class G, class S> TPropInfo ColorProp(std::string Name, G T::*Get, S T::*Set) {
    return OrdProp(std::move(Name), TPropKind::Color, Get, Set);
}
template <class T, class G, class S>
TPropInfo EnumProp(std::string Name, G T::*Get, S T::*Set, std::vector<std::string> Names) {
    return OrdProp(std::move(Name), TPropKind::Enumeration, Get, Set, std::move(Names));
}
template <class T, class G, class S>
TPropInfo SetProp(std::string Name, G T::*Get, S T::*Set, std::vector<std::string> Names) {
    return OrdProp(std::move(Name), TPropKind::Set, Get, Set, std::move(Names));
}

template <class T, class G, class S> TPropInfo StrProp(std::string Name, G T::*Get, S T::*Set) {
    TPropInfo info = MakeProp(std::move(Name), TPropKind::String);
    info.GetStr = [Get](const TPersistent& p) { return std::string((static_cast<const T&>(p).*Get)()); };
    info.SetStr = [Set](TPersistent& p, const std::string& v) { (static_cast<T&>(p).*Set)(v); };
    return info;
}

// A string list read as its strings and written through the setter (which takes a list).
template <class L, class T, class G, class S> TPropInfo ListProp(std::string Name, G T::*Get, S T::*Set) {
    TPropInfo info = MakeProp(std::move(Name), TPropKind::StringList);
    info.GetList = [Get](const TPersistent& p) { return (static_cast<const T&>(p).*Get)().Strings(); };
    info.SetList = [Set](TPersistent& p, const std::vector<std::string>& v) {
        L list;
        list.Assign(v);
        (static_cast<T&>(p).*Set)(list);
    };
    return info;
}

// An owned object or collection of declared class O, reached through a getter O& (T::*)() const.
template <class T, class O> TPropInfo ObjProp(std::string Name, O& (T::*Get)() const) {
    constexpr bool collection = std::is_base_of_v<TCollection, O>;
    TPropInfo info = MakeProp(std::move(Name), collection ? TPropKind::Collection : TPropKind::Object);
    info.GetObject = [Get](const TPersistent& p) -> TPersistent& { return (static_cast<const T&>(p).*Get)(); };
    info.ObjectClass = &O::StaticClassInfo;
    return info;
}

// Copies the published properties of Class (and its bases) from Source into Dest, both of Class or
// a descendant: values through Dest's setters, objects and collections through their Assign.
void CopyProperties(TPersistent& Dest, const TPersistent& Source, const TClassInfo& Class);

// Copies every property of T from Source inside one update bracket of Dest (a notifying
// persistent), so that one change is reported; false when Source is not a T.
template <class T> bool AssignAll(T& Dest, const TPersistent& Source) {
    auto* source = dynamic_cast<const T*>(&Source);
    if (!source) return false;
    Dest.BeginUpdate();
    CopyProperties(Dest, *source, T::StaticClassInfo());
    Dest.EndUpdate();
    return true;
}

// Calls Proc for every published property of Instance, sorted by name, and walks the objects and the
// items of the collections that it holds the same way.
using TPropProc = std::function<void(TPersistent& Instance, const TPropInfo& Prop)>;
void EnumProperties(TPersistent& Instance, const TPropProc& Proc);

} // namespace quillon
