#include "StreamUtils.h"

#include "Colors.h"

#include <cstring>

namespace quillon {
namespace {

constexpr char kMagic[4] = {'Q', 'C', 'M', 'P'};
constexpr std::uint8_t kVersion = 1;
constexpr int kMaxDepth = 16; // collections inside collections

// Value tags.
enum : std::uint8_t {
    tagEnd = 0,
    tagInteger = 'I',
    tagBoolean = 'B',
    tagColor = 'C',
    tagEnum = 'E',
    tagSet = 'S',
    tagString = 'T',
    tagList = 'L',
    tagCollection = 'V',
};

std::uint8_t TagOf(TPropKind kind) {
    switch (kind) {
    case TPropKind::Integer: return tagInteger;
    case TPropKind::Boolean: return tagBoolean;
    case TPropKind::Color: return tagColor;
    case TPropKind::Enumeration: return tagEnum;
    case TPropKind::Set: return tagSet;
    case TPropKind::String: return tagString;
    case TPropKind::StringList: return tagList;
    case TPropKind::Collection: return tagCollection;
    case TPropKind::Object: break;
    }
    return tagEnd;
}

[[noreturn]] void Corrupt() { throw EReadError(); }

// ---- writing

class TWriter {
public:
    void Byte(std::uint8_t b) { FBytes.push_back(b); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Str(const std::string& s) {
        U32(static_cast<std::uint32_t>(s.size()));
        FBytes.insert(FBytes.end(), s.begin(), s.end());
    }
    void Strs(const std::vector<std::string>& list) {
        U32(static_cast<std::uint32_t>(list.size()));
        for (const std::string& s : list) Str(s);
    }
    // Every property of Instance, nested objects under Prefix + their name + ".".
    void Props(const TPersistent& Instance, const std::string& Prefix);
    TBytes Take() { return std::move(FBytes); }

private:
    void Prop(const TPersistent& Instance, const TPropInfo& prop, const std::string& name);
    TBytes FBytes;
};

std::vector<std::string> SetMembers(const TPropInfo& prop, std::int64_t bits) {
    std::vector<std::string> members;
    for (std::size_t i = 0; i < prop.Names.size(); ++i)
        if (bits & (std::int64_t{1} << i)) members.push_back(prop.Names[i]);
    return members;
}

void TWriter::Props(const TPersistent& Instance, const std::string& Prefix) {
    for (const TPropInfo* prop : Instance.ClassInfo().AllProps()) {
        std::string name = Prefix + prop->Name;
        if (prop->Kind == TPropKind::Object)
            Props(prop->GetObject(Instance), name + ".");
        else
            Prop(Instance, *prop, name);
    }
}

void TWriter::Prop(const TPersistent& Instance, const TPropInfo& prop, const std::string& name) {
    Byte(TagOf(prop.Kind));
    Str(name);
    switch (prop.Kind) {
    case TPropKind::Integer: U32(static_cast<std::uint32_t>(prop.GetOrd(Instance))); break;
    case TPropKind::Boolean: Byte(prop.GetOrd(Instance) ? 1 : 0); break;
    case TPropKind::Color: Str(ColorToString(static_cast<TColor>(prop.GetOrd(Instance)))); break;
    case TPropKind::Enumeration: {
        auto value = static_cast<std::size_t>(prop.GetOrd(Instance));
        Str(value < prop.Names.size() ? prop.Names[value] : std::string());
        break;
    }
    case TPropKind::Set: Strs(SetMembers(prop, prop.GetOrd(Instance))); break;
    case TPropKind::String: Str(prop.GetStr(Instance)); break;
    case TPropKind::StringList: Strs(prop.GetList(Instance)); break;
    case TPropKind::Collection: {
        auto& collection = static_cast<const TCollection&>(prop.GetObject(Instance));
        U32(static_cast<std::uint32_t>(collection.Count()));
        for (int i = 0; i < collection.Count(); ++i) {
            Props(collection.Items(i), "");
            Byte(tagEnd);
        }
        break;
    }
    case TPropKind::Object: break;
    }
}

// ---- decoding

// One property as the stream holds it.
struct TEntry {
    std::uint8_t Tag = tagEnd;
    std::string Name;
    std::int64_t Ord = 0;                   // Integer, Boolean
    std::string Str;                        // Color, Enum, String
    std::vector<std::string> List;          // Set, List
    std::vector<std::vector<TEntry>> Items; // Collection
};

class TReader {
public:
    explicit TReader(const TBytes& bytes) : FBytes(bytes) {}

    std::uint8_t Byte() {
        Need(1);
        return FBytes[FPos++];
    }
    std::uint32_t U32() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t{FBytes[FPos++]} << (8 * i);
        return v;
    }
    std::string Str() {
        std::uint32_t n = U32();
        Need(n);
        std::string s(reinterpret_cast<const char*>(FBytes.data() + FPos), n);
        FPos += n;
        return s;
    }
    // A count of things each taking at least min bytes: never more than the stream can hold.
    std::uint32_t Count(std::size_t min) {
        std::uint32_t n = U32();
        if (n > (FBytes.size() - FPos) / min) Corrupt();
        return n;
    }
    std::vector<std::string> Strs() {
        std::vector<std::string> list(Count(4));
        for (std::string& s : list) s = Str();
        return list;
    }
    // Properties up to the end mark.
    std::vector<TEntry> Block(int depth);
    bool AtEnd() const { return FPos == FBytes.size(); }

private:
    void Need(std::size_t n) const {
        if (n > FBytes.size() - FPos) Corrupt();
    }
    const TBytes& FBytes;
    std::size_t FPos = 0;
};

std::vector<TEntry> TReader::Block(int depth) {
    if (depth > kMaxDepth) Corrupt();
    std::vector<TEntry> entries;
    for (std::uint8_t tag = Byte(); tag != tagEnd; tag = Byte()) {
        TEntry e;
        e.Tag = tag;
        e.Name = Str();
        switch (tag) {
        case tagInteger: e.Ord = static_cast<std::int32_t>(U32()); break;
        case tagBoolean: e.Ord = Byte(); break;
        case tagColor:
        case tagEnum:
        case tagString: e.Str = Str(); break;
        case tagSet:
        case tagList: e.List = Strs(); break;
        case tagCollection:
            e.Items.resize(Count(1));
            for (auto& item : e.Items) item = Block(depth + 1);
            break;
        default: Corrupt();
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

// ---- checking and applying

int IndexOfName(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (CompareText(names[i], name) == 0) return static_cast<int>(i);
    return -1;
}

// The property that a dotted name denotes, starting at a class and (when it exists) an instance;
// null when the class has no such property. Instance becomes the object that holds the property.
const TPropInfo* Resolve(const TClassInfo* cls, TPersistent*& instance, std::string_view name) {
    for (;;) {
        std::size_t dot = name.find('.');
        const TPropInfo* prop = cls->FindProp(name.substr(0, dot));
        if (!prop || dot == std::string_view::npos) return prop;
        if (prop->Kind != TPropKind::Object) return nullptr;
        if (instance) {
            instance = &prop->GetObject(*instance);
            cls = &instance->ClassInfo();
        } else {
            cls = &prop->ObjectClass();
        }
        name.remove_prefix(dot + 1);
    }
}

std::int64_t SetBits(const TPropInfo& prop, const std::vector<std::string>& members) {
    std::int64_t bits = 0;
    for (const std::string& m : members) {
        int i = IndexOfName(prop.Names, m);
        if (i < 0) Corrupt();
        bits |= std::int64_t{1} << i;
    }
    return bits;
}

void CheckBlock(const TClassInfo& cls, TPersistent* instance, const std::vector<TEntry>& entries);

// Raises EReadError when the entry cannot be set on the property.
void CheckEntry(const TPropInfo& prop, TPersistent* holder, const TEntry& e) {
    if (e.Tag != TagOf(prop.Kind)) Corrupt();
    switch (prop.Kind) {
    case TPropKind::Color:
        if (!StringToColor(e.Str)) Corrupt();
        break;
    case TPropKind::Enumeration:
        if (IndexOfName(prop.Names, e.Str) < 0) Corrupt();
        break;
    case TPropKind::Set: SetBits(prop, e.List); break;
    case TPropKind::Collection: {
        int max = holder ? static_cast<const TCollection&>(prop.GetObject(*holder)).MaxCount() : INT_MAX;
        if (e.Items.size() > static_cast<std::size_t>(max)) Corrupt();
        // The items do not exist yet: check them against the class of the collection's items.
        const TClassInfo* itemClass = nullptr;
        if (holder) itemClass = &static_cast<const TCollection&>(prop.GetObject(*holder)).ItemClassInfo();
        for (const auto& item : e.Items)
            if (itemClass) CheckBlock(*itemClass, nullptr, item);
        break;
    }
    default: break;
    }
}

void CheckBlock(const TClassInfo& cls, TPersistent* instance, const std::vector<TEntry>& entries) {
    for (const TEntry& e : entries) {
        TPersistent* holder = instance;
        if (const TPropInfo* prop = Resolve(&cls, holder, e.Name)) CheckEntry(*prop, holder, e);
    }
}

void ApplyBlock(TPersistent& instance, const std::vector<TEntry>& entries);

void ApplyEntry(const TPropInfo& prop, TPersistent& holder, const TEntry& e) {
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Boolean: prop.SetOrd(holder, e.Ord); break;
    case TPropKind::Color: prop.SetOrd(holder, *StringToColor(e.Str)); break;
    case TPropKind::Enumeration: prop.SetOrd(holder, IndexOfName(prop.Names, e.Str)); break;
    case TPropKind::Set: prop.SetOrd(holder, SetBits(prop, e.List)); break;
    case TPropKind::String: prop.SetStr(holder, e.Str); break;
    case TPropKind::StringList: prop.SetList(holder, e.List); break;
    case TPropKind::Collection: {
        auto& collection = static_cast<TCollection&>(prop.GetObject(holder));
        collection.BeginUpdate();
        collection.Clear();
        for (const auto& item : e.Items) ApplyBlock(collection.Add(), item);
        collection.EndUpdate();
        break;
    }
    case TPropKind::Object: break;
    }
}

void ApplyBlock(TPersistent& instance, const std::vector<TEntry>& entries) {
    for (const TEntry& e : entries) {
        TPersistent* holder = &instance;
        if (const TPropInfo* prop = Resolve(&instance.ClassInfo(), holder, e.Name)) ApplyEntry(*prop, *holder, e);
    }
}

} // namespace

TBytes WriteComponent(const TPersistent& Instance) {
    TWriter w;
    for (char c : kMagic) w.Byte(static_cast<std::uint8_t>(c));
    w.Byte(kVersion);
    w.Str(Instance.ClassName());
    w.Props(Instance, "");
    w.Byte(tagEnd);
    return w.Take();
}

void ReadComponent(const TBytes& Stream, TPersistent& Instance) {
    TReader r(Stream);
    for (char c : kMagic)
        if (r.Byte() != static_cast<std::uint8_t>(c)) Corrupt();
    if (r.Byte() != kVersion) Corrupt();
    if (r.Str() != Instance.ClassName()) Corrupt();
    std::vector<TEntry> entries = r.Block(0);
    if (!r.AtEnd()) Corrupt();
    CheckBlock(Instance.ClassInfo(), &Instance, entries);
    ApplyBlock(Instance, entries);
}

void WriteRegStream(TSettingsStore& Store, const std::string& Section, const std::string& ValueName,
                    const TBytes& Stream) {
    Store.WriteBinary(Section, ValueName, Stream);
}

std::optional<TBytes> ReadRegStream(TSettingsStore& Store, const std::string& Section, const std::string& ValueName) {
    return Store.ReadBinary(Section, ValueName);
}

} // namespace quillon
