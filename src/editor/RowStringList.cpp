#include "RowStringList.h"

#include <algorithm>
#include <utility>

namespace quillon {

EStringListError::EStringListError() : Exception("リストのインデックスが範囲を超えています") {}

TRowStringList::~TRowStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

TRowStringList::TRowItem& TRowStringList::Item(int Index) {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    return FItems[static_cast<std::size_t>(Index)];
}

const TRowStringList::TRowItem& TRowStringList::Item(int Index) const {
    if (Index < 0 || Index >= Count()) throw EStringListError();
    return FItems[static_cast<std::size_t>(Index)];
}

const std::string& TRowStringList::Get(int Index) const { return Item(Index).Str; }

void TRowStringList::Put(int Index, std::string S) {
    TRowItem& item = Item(Index);
    Changing();
    item.Str = std::move(S);
    Changed();
}

int TRowStringList::Add(std::string S) {
    int index = Count();
    Insert(index, std::move(S));
    return index;
}

void TRowStringList::Grow() {
    int delta = FCapacity < 9 ? 4 : FCapacity <= 64 ? 16 : FCapacity / 4;
    SetCapacity(FCapacity + delta);
}

void TRowStringList::Insert(int Index, std::string S) {
    if (Index < 0 || Index > Count()) throw EStringListError();
    Changing();
    if (Count() == FCapacity) Grow();
    TRowItem item;
    item.Str = std::move(S);
    FItems.insert(FItems.begin() + Index, std::move(item));
    Changed();
}

void TRowStringList::Delete(int Index) {
    Item(Index);
    Changing();
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TRowStringList::Exchange(int Index1, int Index2) {
    TRowItem& a = Item(Index1);
    TRowItem& b = Item(Index2);
    Changing();
    std::swap(a, b);
    Changed();
}

void TRowStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    FItems.clear();
    FItems.shrink_to_fit();
    FCapacity = 0;
    Changed();
}

void TRowStringList::SetCapacity(int NewCapacity) {
    FCapacity = std::max(NewCapacity, Count());
    FItems.reserve(static_cast<std::size_t>(FCapacity));
}

void TRowStringList::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TRowStringList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TRowStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        Changing();
        ++FUpdating;
    } else {
        --FUpdating;
        Changed();
    }
}

void TRowStringList::Changing() {
    if (FUpdating == 0 && OnChanging) OnChanging(*this);
}

void TRowStringList::Changed() {
    if (FUpdating == 0 && OnChange) OnChange(*this);
}

} // namespace quillon
