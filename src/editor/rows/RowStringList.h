#pragma once
// The editor's list of display rows, held so that its cost does not grow with the document.
//
// Layout. Rows live in blocks of consecutive rows. A block keeps the texts of its rows one after
// another in one buffer, each followed by a NUL byte, and one record of 8 bytes per row: where the
// row's text starts in the buffer (it ends at the NUL before the next row's start), its attribute,
// its marks and its flags. What a row carries besides (its colouring state and its column number,
// TRowCarry) is kept apart: a block holds one carry per row only once one of its rows has a carry
// that is not zero, and a row whose colouring state is not computed has a zero one. So a load, whose
// rows are not computed but for the first screens, writes 8 bytes per row beside the text, and the
// carries come as the colouring reaches the rows. No row owns an allocation of its own; a row's state
// moves with its record and its carry. The string a colouring parser may carry from row to row
// (DataStr) is kept once in a pool of distinct strings and named by its index there (index 0 is the
// empty string, which is all that the parsers ever carry).
//
// Invariants:
//   every block holds 1..kBlockRows rows (the list with no rows has no block);
//   in a block, row i's text runs from Offset(i) to Start(i + 1) - 1, where Start(i + 1) is
//   Offset(i + 1) or, for the last row, Text.size(); Text[Start(i + 1) - 1] == '\0';
//   a block's Carries are empty or one per row (empty reads as every carry zero);
//   FStarts[b] == the index of block b's first row; FStarts.back() == Count.
//
// Cost. Finding row i is a binary search over FStarts (O(log blocks)); a walk over consecutive rows
// hits the last found block and costs O(1) per row. Inserting, deleting or rewriting rows moves the
// records and text of the blocks it touches (O(block) each) and renumbers FStarts (O(blocks)). A block
// that grows past kBlockRows rows or kBlockBytes bytes is cut into blocks of half that size; a block
// that an edit leaves with less than a quarter is merged with its neighbour when both fit in one. With
// a block of about a thousand rows, a document of 350,000 rows has a few hundred blocks: one edit moves
// at most some tens of kilobytes whatever the document's size. Appending rows at the end (loading)
// fills the last block and starts a new one, sized like the last, when it is full, so a load writes
// nearly every byte once. Every block keeps an eighth of spare room, so that the first edits in it
// do not move its text to fresh memory; an edit that keeps the number of rows rewrites them in place.
//
// Capacity is the number the list reports as its capacity; it grows by the list's steps (4, 16 or a
// quarter) when an insertion finds Count = Capacity. Memory follows the rows, not this number.
#include "Errors.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

// An index outside the list.
class EStringListError : public Exception {
public:
    EStringListError();
};

// A change inside one row: Length bytes at byte Pos of row Row's text replaced by Text.
struct TRowSplice {
    int Row = 0;
    std::size_t Pos = 0;
    std::size_t Length = 0;
    std::string_view Text;
};

class TRowStringList {
public:
    using TChangeEvent = std::function<void(TRowStringList& Sender)>;

    TRowStringList();
    TRowStringList(const TRowStringList&) = delete;
    TRowStringList& operator=(const TRowStringList&) = delete;
    virtual ~TRowStringList();

    int Count() const { return FStarts.back(); }
    int Capacity() const { return FCapacity; }
    // The row text; data()[size()] is '\0', so it can be parsed in place. It stays valid until the
    // list changes.
    std::string_view Get(int Index) const;
    std::string_view operator[](int Index) const { return Get(Index); }
    // Sets the row text, keeping the row's state.
    virtual void Put(int Index, std::string_view S);
    // Makes Splices, which come in order of row with at most one per row and whose texts do not lie
    // in the list, keeping every row's state: a block with one of them moves only the bytes after
    // it, one with more is written once.
    void SpliceRows(const std::vector<TRowSplice>& Splices);

    // Appends a row and answers its index.
    virtual int Add(std::string_view S);
    // Index may be 0..Count; the new row's state is zero.
    virtual void Insert(int Index, std::string_view S);
    virtual void Delete(int Index);
    // Swaps two whole rows, state included.
    virtual void Exchange(int Index1, int Index2);
    virtual void Clear();
    virtual void SetCapacity(int NewCapacity);

    // Inserts N rows with empty text and zero state at Index (0..Count).
    void InsertBlank(int Index, int N);
    // Inserts N rows of Source from row From (all of them by default), text and state, at Index
    // (0..Count).
    void InsertRows(int Index, const TRowStringList& Source, int From = 0, int N = -1);
    // Overwrites row Index with row SourceIndex of Source, text and state.
    void CopyRow(int Index, const TRowStringList& Source, int SourceIndex);
    // Removes N rows from Index (all inside the list).
    void Erase(int Index, int N);
    // Takes over every row of Source, which is left empty; the events and update state stay.
    void TakeRows(TRowStringList& Source);

    // Brackets a group of changes: OnChanging fires once before, OnChange once after.
    void BeginUpdate();
    void EndUpdate();

    // Item state; these do not report changes. RowState keeps its bits 0-7 and RowFlags its bits 0-7
    // (all that TRowAttributeStringList packs into them); the higher bits written are dropped.
    const std::string& DataStr(int Index) const { return FDataStrs[Carry(Index).DataStr]; }
    void SetDataStr(int Index, const std::string& Value);
    std::int32_t Col(int Index) const { return Carry(Index).Col; }
    void SetCol(int Index, std::int32_t Value);
    std::uint32_t RowState(int Index) const;
    void SetRowState(int Index, std::uint32_t Value);
    std::uint32_t TokenState(int Index) const;
    void SetTokenState(int Index, std::uint32_t Value);
    std::uint32_t RowFlags(int Index) const { return Item(Index).Flags; }
    void SetRowFlags(int Index, std::uint32_t Value) { Item(Index).Flags = static_cast<std::uint8_t>(Value); }

    TChangeEvent OnChange;
    TChangeEvent OnChanging;

protected:
    // One row's record: where its text starts and what every row has.
    struct TRowItem {
        std::uint32_t Offset = 0;   // the text's first byte in the block's buffer
        std::uint16_t Marks = 0;    // TokenState bits 16-31
        std::uint8_t Attribute = 0; // RowState bits 0-1
        std::uint8_t Flags = 0;     // RowFlags
    };
    // What a row carries besides its text and record; all zero until its colouring state is computed.
    struct TRowCarry {
        std::uint8_t State = 0;  // RowState bits 2-7, in their places
        std::uint16_t Token = 0; // TokenState bits 0-15
        std::int32_t Col = 0;
        // Parser values carried from row to row, kept at full width (rows reach 1000 bytes).
        std::int32_t FieldIndex = 0;
        std::int32_t Remain = 0;
        std::int32_t ParseValue = 0;
        std::uint32_t DataStr = 0; // index into FDataStrs
        bool operator==(const TRowCarry&) const = default;
    };

    TRowItem& Item(int Index);
    const TRowItem& Item(int Index) const;
    // The row's carry; a zero one when its block holds none.
    const TRowCarry& Carry(int Index) const;
    // Stores the row's carry; a block holds carries from the first one that is not zero on.
    void SetCarry(int Index, const TRowCarry& Value);
    std::uint32_t Intern(const std::string& S);
    // Calls Fn(carries, first, rows) for the blocks from row From's on, in order, while it answers
    // true: carries is the block's (empty when all its carries are zero), first the place of the
    // first row from From in the block, rows the block's row count.
    template <class F> void ForEachCarries(int From, F Fn) {
        if (From < 0) From = 0;
        if (From >= Count()) return;
        for (std::size_t b = static_cast<std::size_t>(BlockOf(From)),
                         i = static_cast<std::size_t>(From - StartOf(static_cast<int>(b)));
             b < FBlocks.size(); ++b, i = 0)
            if (!Fn(FBlocks[b]->Carries, i, FBlocks[b]->Items.size())) return;
    }

    // Calls Fn(text, record) for the rows from From on, in order, while it answers true: the rows are
    // walked in their blocks, without a look-up each.
    template <class F> void WalkRows(int From, F Fn) {
        if (From < 0 || From >= Count()) return;
        for (std::size_t b = static_cast<std::size_t>(BlockOf(From)),
                         i = static_cast<std::size_t>(From - StartOf(static_cast<int>(b)));
             b < FBlocks.size(); ++b, i = 0) {
            TBlock& block = *FBlocks[b];
            for (; i < block.Items.size(); ++i) {
                const std::string_view text =
                    std::string_view(block.Text).substr(block.Items[i].Offset, LengthOf(block, i));
                if (!Fn(text, block.Items[i])) return;
            }
        }
    }
    // The row after the last row of Row's block (0 <= Row < Count).
    int BlockEnd(int Row) const { return StartOf(BlockOf(Row) + 1); }
    // Replaces N rows from Index by the NewCount rows of Items (their offsets aside) and Texts, with
    // zero carries. The texts may lie in the list's own rows, the replaced ones included: the new rows
    // are written once into blocks of their own, and of the old rows only those that share a block
    // with the end of the range, after it, move.
    void ReplaceItems(int Index, int N, const TRowItem* Items, const std::string_view* Texts, int NewCount);

    // Called on the first BeginUpdate (true) and the last EndUpdate (false).
    virtual void SetUpdateState(bool Updating);
    virtual void Changing();
    virtual void Changed();

private:
    struct TBlock {
        std::vector<TRowItem> Items;
        std::vector<TRowCarry> Carries; // empty, or one per item
        std::string Text;               // the rows' texts, each followed by '\0'
    };
    static constexpr int kBlockRows = 1024;
    static constexpr std::size_t kBlockBytes = 64 * 1024;

    // The block that holds row Index (0 <= Index < Count), and the row's place in it.
    int BlockOf(int Index) const;
    void Grow();
    void GrowTo(int NewCount);
    TBlock& Block(int B) const { return *FBlocks[static_cast<std::size_t>(B)]; }
    int StartOf(int B) const { return FStarts[static_cast<std::size_t>(B)]; }
    // Where the row after row I of block B starts (the block's text size after its last row).
    static std::size_t EndOf(const TBlock& B, std::size_t I);
    static std::uint32_t LengthOf(const TBlock& B, std::size_t I);
    // Replaces Count bytes at Pos of the text of row I of block B by S (which may lie in the block's
    // own buffer).
    static void SpliceText(TBlock& B, int I, std::size_t Pos, std::size_t Count, std::string_view S);
    // Makes the N splices of Splices, which lie in block B, whose first row is row First, into a new
    // text built in Spare; B's old text is left in Spare.
    static void SpliceBlock(TBlock& B, int First, const TRowSplice* Splices, std::size_t N, std::string& Spare);
    // Replaces the whole text of row I of block B by S.
    static void SetText(TBlock& B, int I, std::string_view S);
    // Inserts N rows at place I of block B (records Items, carries Carries or all zero when null,
    // texts Texts): one move of the tail.
    static void SpliceInto(TBlock& B, int I, const TRowItem* Items, const TRowCarry* Carries,
                           const std::string_view* Texts, int N);
    static void EraseFrom(TBlock& B, int I, int N);
    static bool Oversized(const TBlock& B);
    // A new block of rows First..End - 1 of block B, with the spare room of KeepSpare.
    static std::unique_ptr<TBlock> PieceOf(const TBlock& B, std::size_t First, std::size_t End);
    // Makes Row (0..Count) the first row of a block, splitting its block, and answers that block's
    // index (the block count for Count).
    int StartBlockAt(int Row);
    // Gives a block's text an eighth of spare room, no more and no less.
    static void KeepSpare(std::string& Text);
    // Inserts N rows at Index without reporting the change.
    void InsertItems(int Index, const TRowItem* Items, const TRowCarry* Carries, const std::string_view* Texts, int N);
    // Cuts block B into blocks within the limits (Cut), or merges it with a neighbour when both are
    // small (Join).
    void Balance(int B);
    void Cut(int B);
    void Join(int B);
    void Renumber(int FromBlock);

    // Blocks are held by pointer: a block's buffer moves only when that block changes.
    std::vector<std::unique_ptr<TBlock>> FBlocks;
    std::vector<int> FStarts{0};           // first row of each block, then Count
    mutable int FLastBlock = 0;            // the block the last look-up found
    std::deque<std::string> FDataStrs{""}; // distinct DataStr values; 0 is empty
    std::unordered_map<std::string, std::uint32_t> FDataStrIndex;
    int FCapacity = 0;    // >= Count; grows by 4, 16 or a quarter
    int FUpdateCount = 0; // nesting of BeginUpdate
    int FUpdating = 0;    // > 0 while events are held back
};

} // namespace quillon
