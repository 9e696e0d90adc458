#include "RowAttrStrings.h"

#include <algorithm>

namespace quillon {

TRowAttributeData NotComputedRowState() {
    TRowAttributeData data;
    data.BracketIndex = biNotComputed;
    return data;
}

bool SameRowState(const TRowAttributeData& a, const TRowAttributeData& b) {
    return a.PrevRowAttribute == b.PrevRowAttribute && a.BracketIndex == b.BracketIndex &&
           a.FieldIndex == b.FieldIndex && a.Remain == b.Remain && a.ParseValue == b.ParseValue &&
           a.ContinuedToken == b.ContinuedToken && a.ParseFlag == b.ParseFlag && a.DataStr == b.DataStr;
}

void TRowStateStore::MarkNotComputed(int From) {
    const TRowAttributeData notComputed = NotComputedRowState();
    for (int row = std::max(From, 0); row < RowCount(); ++row) PutRowState(row, notComputed);
}

int TRowStateStore::FirstNotComputed(int From) const {
    int row = std::max(From, 0);
    while (row < RowCount() && GetRowAttributeData(row).BracketIndex != biNotComputed) ++row;
    return row;
}

void TRowAttributeStringList::MarkNotComputed(int From) {
    // Keeps the row attribute and the marks; everything the row scan carries becomes zero, which
    // reads as bracket index -2.
    ForEachItem(From, [](TRowItem& item) {
        item.RowState &= 3u;
        item.TokenState &= 0xFFFF0000u;
        item.FieldIndex = item.Remain = item.ParseValue = 0;
        item.DataStr = 0;
        return true;
    });
}

int TRowAttributeStringList::FirstNotComputed(int From) const {
    int row = std::max(From, 0);
    const_cast<TRowAttributeStringList*>(this)->ForEachItem(row, [&](const TRowItem& item) {
        if (Bits(item.RowState, 4, 4) == 0) return false;
        ++row;
        return true;
    });
    return row;
}

std::uint32_t TRowAttributeStringList::WithBits(std::uint32_t word, int shift, int width, int value) {
    std::uint32_t mask = ((1u << width) - 1) << shift;
    return (word & ~mask) | ((static_cast<std::uint32_t>(value) << shift) & mask);
}

void TRowAttributeStringList::SetRowAttribute(int Index, int Value) {
    SetRowState(Index, WithBits(RowState(Index), 0, 2, Value));
}

void TRowAttributeStringList::SetPrevRowAttribute(int Index, int Value) {
    SetRowState(Index, WithBits(RowState(Index), 2, 2, Value));
}

void TRowAttributeStringList::SetBracketIndex(int Index, int Value) {
    SetRowState(Index, WithBits(RowState(Index), 4, 4, Value + 2));
}

void TRowAttributeStringList::SetContinuedToken(int Index, int Value) {
    SetTokenState(Index, WithBits(TokenState(Index), 0, 8, Value));
}

void TRowAttributeStringList::SetParseFlag(int Index, int Value) {
    SetTokenState(Index, WithBits(TokenState(Index), 8, 8, Value));
}

void TRowAttributeStringList::SetRowMarks(int Index, std::uint16_t Value) {
    SetTokenState(Index, WithBits(TokenState(Index), 16, 16, Value));
}

void TRowAttributeStringList::SetRowModified(int Index, bool Value) {
    SetRowFlags(Index, WithBits(RowFlags(Index), 0, 1, Value ? 1 : 0));
}

TRowAttributeData TRowAttributeStringList::GetRowAttributeData(int Index) const {
    TRowAttributeData data;
    data.RowAttribute = RowAttribute(Index);
    data.PrevRowAttribute = PrevRowAttribute(Index);
    data.BracketIndex = BracketIndex(Index);
    data.FieldIndex = FieldIndex(Index);
    data.Remain = Remain(Index);
    data.ParseValue = ParseValue(Index);
    data.ContinuedToken = ContinuedToken(Index);
    data.ParseFlag = ParseFlag(Index);
    data.DataStr = DataStr(Index);
    return data;
}

void TRowAttributeStringList::PutRowState(int Index, const TRowAttributeData& Data) {
    SetPrevRowAttribute(Index, Data.PrevRowAttribute);
    SetBracketIndex(Index, Data.BracketIndex);
    SetFieldIndex(Index, Data.FieldIndex);
    SetRemain(Index, Data.Remain);
    SetParseValue(Index, Data.ParseValue);
    SetContinuedToken(Index, Data.ContinuedToken);
    SetParseFlag(Index, Data.ParseFlag);
    SetDataStr(Index, Data.DataStr);
}

} // namespace quillon
