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
    // Keeps the row attribute, the marks and the column; everything the row scan carries becomes
    // zero, which reads as bracket index -2. A block keeps its carries for the states to come.
    ForEachCarries(From, [](std::vector<TRowCarry>& carries, std::size_t first, std::size_t) {
        for (std::size_t i = first; i < carries.size(); ++i) carries[i] = TRowCarry{.Col = carries[i].Col};
        return true;
    });
}

int TRowAttributeStringList::FirstNotComputed(int From) const {
    int row = std::max(From, 0);
    const_cast<TRowAttributeStringList*>(this)->ForEachCarries(
        row, [&](const std::vector<TRowCarry>& carries, std::size_t first, std::size_t rows) {
            if (carries.empty()) return false; // every row of the block is not computed
            for (std::size_t i = first; i < rows; ++i, ++row)
                if (Bits(carries[i].State, 4, 4) == 0) return false;
            return true;
        });
    return row;
}

void TRowAttributeStringList::SetCarried(int Index, std::int32_t TRowCarry::*Field, int Value) {
    TRowCarry carry = Carry(Index);
    carry.*Field = Value;
    SetCarry(Index, carry);
}

void TRowAttributeStringList::SetFieldIndex(int Index, int Value) { SetCarried(Index, &TRowCarry::FieldIndex, Value); }

void TRowAttributeStringList::SetRemain(int Index, int Value) { SetCarried(Index, &TRowCarry::Remain, Value); }

void TRowAttributeStringList::SetParseValue(int Index, int Value) { SetCarried(Index, &TRowCarry::ParseValue, Value); }

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

TRowAttributeData TRowAttributeStringList::GetRowAttributeData(int Index) const {
    const TRowCarry& carry = Carry(Index);
    TRowAttributeData data;
    data.RowAttribute = RowAttribute(Index);
    data.PrevRowAttribute = Bits(carry.State, 2, 2);
    data.BracketIndex = Bits(carry.State, 4, 4) - 2;
    data.FieldIndex = carry.FieldIndex;
    data.Remain = carry.Remain;
    data.ParseValue = carry.ParseValue;
    data.ContinuedToken = Bits(carry.Token, 0, 8);
    data.ParseFlag = Bits(carry.Token, 8, 8);
    data.DataStr = DataStr(Index);
    return data;
}

void TRowAttributeStringList::PutRowState(int Index, const TRowAttributeData& Data) {
    // One write of the row's carry, its column kept.
    TRowCarry carry;
    carry.State =
        static_cast<std::uint8_t>(WithBits(WithBits(0, 2, 2, Data.PrevRowAttribute), 4, 4, Data.BracketIndex + 2));
    carry.Token = static_cast<std::uint16_t>(WithBits(WithBits(0, 0, 8, Data.ContinuedToken), 8, 8, Data.ParseFlag));
    carry.Col = Col(Index);
    carry.FieldIndex = Data.FieldIndex;
    carry.Remain = Data.Remain;
    carry.ParseValue = Data.ParseValue;
    carry.DataStr = Intern(Data.DataStr);
    SetCarry(Index, carry);
}

} // namespace quillon
