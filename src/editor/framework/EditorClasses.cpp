#include "EditorClasses.h"

#include "Cp932.h"
#include "StreamUtils.h"

#include <algorithm>

namespace quillon {

// TPersistent

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info{"TPersistent", nullptr, {}};
    return info;
}

void TPersistent::Assign(const TPersistent& Source) { Source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& Dest) const {
    throw EConvertError(ClassName() + " を " + Dest.ClassName() + " に代入することはできません");
}

// TNotifyPersistent

const TClassInfo& TNotifyPersistent::StaticClassInfo() {
    static const TClassInfo info{"TNotifyPersistent", &TPersistent::StaticClassInfo(), {}};
    return info;
}

void TNotifyPersistent::Changed() {
    if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TNotifyPersistent::BeginUpdate() { ++FUpdateCount; }

void TNotifyPersistent::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TNotifyPersistent::ChangedProc(TPersistent* Sender) {
    if (Sender != this) Changed();
}

// TCollectionItem, TCollection, TNotifyCollection

const TClassInfo& TCollectionItem::StaticClassInfo() {
    static const TClassInfo info{"TCollectionItem", &TPersistent::StaticClassInfo(), {}};
    return info;
}

int TCollectionItem::Index() const {
    for (int i = 0; i < FCollection->Count(); ++i)
        if (&FCollection->Items(i) == this) return i;
    return -1;
}

void TCollectionItem::Changed() {
    if (FCollection && FCollection->UpdateCount() == 0) FCollection->Update(this);
}

const TClassInfo& TCollection::StaticClassInfo() {
    static const TClassInfo info{"TCollection", &TPersistent::StaticClassInfo(), {}};
    return info;
}

TCollectionItem& TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw Exception("リストのインデックスが範囲を超えています");
    return *FItems[static_cast<std::size_t>(Index)];
}

TCollectionItem& TCollection::Add() {
    FItems.push_back(CreateItem());
    Changed();
    return *FItems.back();
}

void TCollection::Delete(int Index) {
    Items(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    FItems.clear();
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

const TClassInfo& TNotifyCollection::StaticClassInfo() {
    static const TClassInfo info{"TNotifyCollection", &TCollection::StaticClassInfo(), {}};
    return info;
}

void TNotifyCollection::ChangedProc(TPersistent* Sender) {
    if (Sender != this) Changed();
}

void TNotifyCollection::Update(TCollectionItem*) {
    if (OnChange) OnChange(this);
}

// TMethodList, TNotifyEventList

void TMethodList::Remove(const TMethod& Method) {
    auto it = std::find(FItems.rbegin(), FItems.rend(), Method);
    if (it != FItems.rend()) FItems.erase(std::next(it).base());
}

const TClassInfo& TNotifyEventList::StaticClassInfo() {
    static const TClassInfo info{"TNotifyEventList", &TNotifyPersistent::StaticClassInfo(), {}};
    return info;
}

void TNotifyEventList::Changed() {
    if (UpdateCount() != 0) return;
    for (int i = 0; i < FMethods.Count(); ++i) FMethods[i](FOwner);
}

// TStringList

int CompareText(std::string_view A, std::string_view B) {
    auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    std::size_t i = 0;
    bool trail = false; // the byte at i is the second byte of a double-byte character (in both)
    for (; i < A.size() && i < B.size(); ++i) {
        auto a = static_cast<unsigned char>(A[i]), b = static_cast<unsigned char>(B[i]);
        int fa = trail ? a : fold(a), fb = trail ? b : fold(b);
        if (fa != fb) return fa < fb ? -1 : 1;
        trail = !trail && IsLeadByte(a);
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool TStringList::Find(std::string_view S, int& Index) const {
    auto it = std::lower_bound(FStrings.begin(), FStrings.end(), S,
                               [](const std::string& a, std::string_view b) { return CompareText(a, b) < 0; });
    Index = static_cast<int>(it - FStrings.begin());
    return it != FStrings.end() && CompareText(*it, S) == 0;
}

int TStringList::IndexOf(std::string_view S) const {
    int index;
    return Find(S, index) ? index : -1;
}

int TStringList::Add(std::string S) {
    int index;
    if (!Find(S, index)) FStrings.insert(FStrings.begin() + index, std::move(S));
    return index;
}

void TStringList::Assign(const std::vector<std::string>& Strings) {
    FStrings.clear();
    for (const std::string& s : Strings) Add(s);
}

// Components

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info{"TComponent", &TPersistent::StaticClassInfo(), {}};
    return info;
}

const TClassInfo& TStoreComponent::StaticClassInfo() {
    static const TClassInfo info{"TStoreComponent", &TComponent::StaticClassInfo(), {}};
    return info;
}

void TStoreComponent::WriteToRegistry(TSettingsStore& Store, const std::string& Section,
                                      const std::string& ValueName) const {
    WriteRegStream(Store, Section, ValueName, WriteComponent(*this));
}

void TStoreComponent::ReadFromRegistry(TSettingsStore& Store, const std::string& Section,
                                       const std::string& ValueName) {
    std::optional<TBytes> stream = ReadRegStream(Store, Section, ValueName);
    if (stream && !stream->empty()) ReadComponent(*stream, *this);
}

const TClassInfo& TFileExtComponent::StaticClassInfo() {
    static const TClassInfo info{
        "TFileExtComponent",
        &TStoreComponent::StaticClassInfo(),
        {ListProp<TStringList>("FileExtList", &TFileExtComponent::FileExtList, &TFileExtComponent::SetFileExtList)}};
    return info;
}

} // namespace quillon
