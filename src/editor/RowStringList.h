#pragma once
// The editor's list of display rows. Each item carries, besides the row text, a string and a few
// numbers of the row's state, so that inserting, deleting and exchanging rows moves the state with
// the row in one block move and no per-row object is allocated.
#include "Errors.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

// An index outside the list.
class EStringListError : public Exception {
public:
    EStringListError();
};

class TRowStringList {
public:
    using TChangeEvent = std::function<void(TRowStringList& Sender)>;

    TRowStringList() = default;
    TRowStringList(const TRowStringList&) = delete;
    TRowStringList& operator=(const TRowStringList&) = delete;
    virtual ~TRowStringList();

    int Count() const { return static_cast<int>(FItems.size()); }
    int Capacity() const { return FCapacity; }
    // The row text.
    const std::string& Get(int Index) const;
    const std::string& operator[](int Index) const { return Get(Index); }
    // Sets the row text, keeping the row's state.
    virtual void Put(int Index, std::string S);

    // Appends a row and answers its index.
    virtual int Add(std::string S);
    // Index may be 0..Count; the new row's state is zero.
    virtual void Insert(int Index, std::string S);
    virtual void Delete(int Index);
    // Swaps two whole rows, state included.
    virtual void Exchange(int Index1, int Index2);
    virtual void Clear();
    virtual void SetCapacity(int NewCapacity);

    // Brackets a group of changes: OnChanging fires once before, OnChange once after.
    void BeginUpdate();
    void EndUpdate();

    // Item state; these do not report changes.
    const std::string& DataStr(int Index) const { return Item(Index).DataStr; }
    void SetDataStr(int Index, std::string Value) { Item(Index).DataStr = std::move(Value); }
    std::int32_t Col(int Index) const { return Item(Index).Col; }
    void SetCol(int Index, std::int32_t Value) { Item(Index).Col = Value; }
    std::uint32_t RowState(int Index) const { return Item(Index).RowState; }
    void SetRowState(int Index, std::uint32_t Value) { Item(Index).RowState = Value; }
    std::uint32_t TokenState(int Index) const { return Item(Index).TokenState; }
    void SetTokenState(int Index, std::uint32_t Value) { Item(Index).TokenState = Value; }
    std::uint32_t RowFlags(int Index) const { return Item(Index).RowFlags; }
    void SetRowFlags(int Index, std::uint32_t Value) { Item(Index).RowFlags = Value; }

    TChangeEvent OnChange;
    TChangeEvent OnChanging;

protected:
    struct TRowItem {
        std::string Str;
        std::string DataStr;
        std::int32_t Col = 0;
        std::uint32_t RowState = 0;    // packed by TRowAttributeStringList
        std::uint32_t TokenState = 0;  // packed by TRowAttributeStringList
        std::uint32_t RowFlags = 0;    // bit 0: modified since the last save
        // Parser values carried from row to row, kept at full width (rows reach 1000 bytes).
        std::int32_t FieldIndex = 0;
        std::int32_t Remain = 0;
        std::int32_t ParseValue = 0;
    };

    TRowItem& Item(int Index);
    const TRowItem& Item(int Index) const;

    // Called on the first BeginUpdate (true) and the last EndUpdate (false).
    virtual void SetUpdateState(bool Updating);
    virtual void Changing();
    virtual void Changed();

private:
    void Grow();

    std::vector<TRowItem> FItems;
    int FCapacity = 0;       // >= Count; grows by 4, 16 or a quarter
    int FUpdateCount = 0;    // nesting of BeginUpdate
    int FUpdating = 0;       // > 0 while events are held back
};

} // namespace quillon
