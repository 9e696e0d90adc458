#pragma once
// Display rows with their attributes: how each row ends, the colouring state at its start, its
// marks and whether it was modified.
//
// Packing of an item (bit 0 is the least significant):
//   RowState   bits 0-1 row attribute, 2-3 the attribute of the row above, 4-7 bracket index + 2
//              (0 = not computed, 1 = outside any bracket, 2-15 = bracket 0-13; hence at most 14
//              brackets per colourer)
//   TokenState bits 0-7 continued token kind, 8-15 parse flag, 16-31 row marks 0-15
//   RowFlags   bit 0 modified
// FieldIndex, Remain and ParseValue have full-width fields of their own.
#include "RowStringList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// How a display row ends.
enum : int {
    raLineBreak = 0, // a line break follows
    raWrapped = 1,   // the logical line continues in the next row
    raEndOfText = 2, // the last row of the text
};

// Bracket indices with a meaning of their own.
constexpr int biNone = -1;        // outside any bracket
constexpr int biNotComputed = -2; // the row's colouring state is not computed yet

// The unpacked colouring state at the start of a row; parsers read it and the row scan writes it.
struct TRowAttributeData {
    int RowAttribute = raLineBreak;
    int PrevRowAttribute = raLineBreak;
    int BracketIndex = biNone;
    int FieldIndex = 0;     // a position a parser keeps within the logical line
    int Remain = 0;         // bytes at the row's start that finish a token cut by the wrap
                            // (negative: that finish the left bracket of bracket BracketIndex)
    int ParseValue = 0;     // carried from row to row for descendant parsers
    int ContinuedToken = 0; // kind of the token that continues from the row above (0 none)
    int ParseFlag = 0;      // carried from row to row for descendant parsers
    std::string DataStr;    // carried from row to row for descendant parsers
};

// The state of a row that is not computed yet (its RowAttribute is left at 0).
TRowAttributeData NotComputedRowState();

// True when a and b agree in everything the row scan carries (all but RowAttribute).
bool SameRowState(const TRowAttributeData& a, const TRowAttributeData& b);

// What colouring-state propagation needs of a row store.
class TRowStateStore {
public:
    virtual ~TRowStateStore() = default;
    virtual int RowCount() const = 0;
    // The row text; data()[size()] is '\0', so parsers read it in place.
    virtual std::string_view RowText(int Index) const = 0;
    virtual int RowAttributeOf(int Index) const = 0;
    virtual TRowAttributeData GetRowAttributeData(int Index) const = 0;
    // Stores every field but RowAttribute, which belongs to the wrapping.
    virtual void PutRowState(int Index, const TRowAttributeData& Data) = 0;
    // The state of the row changed while propagating: it has to be repainted.
    virtual void RowStateChanged(int Index) = 0;
    // Marks every row from From on as not computed (NotComputedRowState).
    virtual void MarkNotComputed(int From);
    // The first row from From on whose state is not computed, or RowCount.
    virtual int FirstNotComputed(int From) const;
};

class TRowAttributeStringList : public TRowStringList, public TRowStateStore {
public:
    int RowAttribute(int Index) const { return Item(Index).Attribute; }
    void SetRowAttribute(int Index, int Value);
    int PrevRowAttribute(int Index) const { return Bits(RowState(Index), 2, 2); }
    void SetPrevRowAttribute(int Index, int Value);
    int BracketIndex(int Index) const { return Bits(RowState(Index), 4, 4) - 2; }
    void SetBracketIndex(int Index, int Value);
    int FieldIndex(int Index) const { return Carry(Index).FieldIndex; }
    void SetFieldIndex(int Index, int Value);
    int Remain(int Index) const { return Carry(Index).Remain; }
    void SetRemain(int Index, int Value);
    int ParseValue(int Index) const { return Carry(Index).ParseValue; }
    void SetParseValue(int Index, int Value);
    int ContinuedToken(int Index) const { return Bits(TokenState(Index), 0, 8); }
    void SetContinuedToken(int Index, int Value);
    int ParseFlag(int Index) const { return Bits(TokenState(Index), 8, 8); }
    void SetParseFlag(int Index, int Value);
    // Bit n for mark n.
    std::uint16_t RowMarks(int Index) const { return Item(Index).Marks; }
    void SetRowMarks(int Index, std::uint16_t Value);
    bool RowModified(int Index) const { return (Item(Index).Flags & 1) != 0; }
    void SetRowModified(int Index, bool Value) { SetModified(Item(Index), Value); }

    // TRowStateStore
    int RowCount() const override { return Count(); }
    std::string_view RowText(int Index) const override { return Get(Index); }
    int RowAttributeOf(int Index) const override { return RowAttribute(Index); }
    TRowAttributeData GetRowAttributeData(int Index) const override;
    void PutRowState(int Index, const TRowAttributeData& Data) override;
    // Nothing to repaint here; the editor's row store tells its editors.
    void RowStateChanged(int) override {}
    // One pass over the rows' records.
    void MarkNotComputed(int From) override;
    int FirstNotComputed(int From) const override;

protected:
    // The modified bit of a row's record.
    static void SetModified(TRowItem& Item, bool Value) {
        Item.Flags = static_cast<std::uint8_t>((Item.Flags & ~1u) | (Value ? 1u : 0u));
    }

private:
    static int Bits(std::uint32_t word, int shift, int width) {
        return static_cast<int>((word >> shift) & ((1u << width) - 1));
    }
    static std::uint32_t WithBits(std::uint32_t word, int shift, int width, int value);
    // Stores Value into one full-width field of the row's carry.
    void SetCarried(int Index, std::int32_t TRowCarry::*Field, int Value);
};

} // namespace quillon
