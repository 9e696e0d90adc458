#pragma once
// Undo and redo of the row store's changes.
//
// Every UpdateRows records, before it changes anything, the rows it replaces: their first row, their
// text (CR LF after attribute-0 rows), the attribute of the last of them and their modified flags,
// and after the change how many rows it left. Replaying a record replaces those rows by the recorded
// text (re-wrapped) and gives the flags back; the rows it removes become the inverse record on the
// other list. Records hold only the replaced rows, never a copy of the document; a record whose last
// row is a wrapped row ends inside a logical line, and replaying it cuts its text together with the
// rows after it, as they were cut. A change inside rows that no re-wrap follows (ReplaceInRows)
// records only the bytes it replaced and where, so typing in a long line records a few bytes, and a
// replace-all in every line of a long list the replaced words.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

class TEditorScreenStrings;

// A change inside row Row: its Length bytes at Offset replaced TextLength bytes of the record's Text.
struct TUndoSplice {
    int Row = 0;
    int Offset = 0;
    int Length = 0;
    int TextLength = 0;
    std::uint32_t Flags = 0; // the row's RowFlags before the change
};

struct TUndoData {
    int CaretRow = 0; // caret of the active editor when the record was made
    int CaretCol = 0;
    int Row = -1;      // first row of the change
    int RowCount = 0;  // rows the change left in the text from Row
    int Attribute = 3; // attribute of the last row of Text; 3: Text is empty, replaying only deletes
    // Not empty: a change inside rows, by row, whose replaced bytes are Text one after another.
    std::vector<TUndoSplice> Splices;
    std::vector<std::uint32_t> Flags; // the RowFlags of the rows that Text occupied
    std::string Text;                 // the text the change replaced
};

class TEditorUndoObj {
public:
    explicit TEditorUndoObj(TEditorScreenStrings& Owner) : FOwner(Owner) {}
    TEditorUndoObj(const TEditorUndoObj&) = delete;
    TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;
    virtual ~TEditorUndoObj() = default;

    // The most records the undo list keeps; the oldest goes first.
    int UndoListMax() const { return FUndoListMax; }
    void SetUndoListMax(int Value) { FUndoListMax = Value; }

    // A new record on the undo list with the active editor's caret; clears the redo list unless a
    // redo is replaying. The caller fills in the change.
    virtual TUndoData& NewUndoData();
    virtual bool CanRedo() const { return !FRedoList.empty(); }
    virtual bool CanUndo() const { return !FUndoList.empty(); }
    virtual void Redo();
    virtual void Undo();
    // Appends a copy of Data with the active editor's caret to the redo list.
    virtual void AddRedoData(const TUndoData& Data);
    virtual void Clear();

    const std::deque<TUndoData>& UndoList() const { return FUndoList; }
    const std::deque<TUndoData>& RedoList() const { return FRedoList; }

private:
    // Replays R on the store and answers its inverse (without caret).
    TUndoData Replay(const TUndoData& R, bool IsUndo);
    // Apply on the last record of List within one update of the store, the active editor's caret
    // then put where the record says; the record then leaves List.
    void ReplayLast(std::deque<TUndoData>& List, const std::function<void(TUndoData&)>& Apply);

    TEditorScreenStrings& FOwner;
    int FUndoListMax = 64;
    bool FReplaying = false; // set while Redo records its inverse
    std::deque<TUndoData> FRedoList;
    std::deque<TUndoData> FUndoList;
};

} // namespace quillon
