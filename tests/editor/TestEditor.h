#pragma once
// An editor without a screen for the row-store tests: it keeps a caret and counts what the store asks.
#include "EditorScreenStrings.h"
#include "EditorStrings.h"

#include <memory>
#include <string>
#include <vector>

namespace quillon {

class TTestEditor : public TAttachedEditor {
public:
    explicit TTestEditor(std::shared_ptr<TEditorScreenStrings> Store = std::make_shared<TEditorScreenStrings>())
        : FStore(std::move(Store)), Lines(*this) {
        FStore->AttachEditor(this);
    }
    ~TTestEditor() override { FStore->DetachEditor(this); }

    TEditorScreenStrings& ScreenStrings() override { return *FStore; }
    std::shared_ptr<TEditorScreenStrings> Store() const { return FStore; }
    bool Loading() const override { return IsLoading; }
    bool Focused() const override { return HasFocus; }
    int Row() const override { return FRow; }
    void SetRow(int Value) override { FRow = Value; }
    int Col() const override { return FCol; }
    void SetCol(int Value) override { FCol = Value; }
    int TopRow() const override { return FTopRow; }
    void SetTopRow(int Value) override { FTopRow = Value; }
    // The caret goes to the row and byte the offset reaches (columns are bytes here: no tabs).
    void SetCaretToLineOffset(int FirstRow, int Offset) override {
        const TEditorScreenStrings& s = *FStore;
        int row = FirstRow;
        for (; row < s.Count(); ++row) {
            int size = static_cast<int>(s.Get(row).size());
            int step = size + (s.RowAttribute(row) == raLineBreak ? 2 : s.RowAttribute(row) == raEndOfText ? 1 : 0);
            if (step > Offset || s.RowAttribute(row) == raEndOfText) break;
            Offset -= step;
        }
        FRow = row;
        FCol = row < s.Count() ? std::min(Offset, static_cast<int>(s.Get(row).size())) : 0;
    }
    void CaretBeginUpdate() override { ++CaretUpdates; }
    void CaretEndUpdate() override { --CaretUpdates; }
    void CancelSelection() override { ++Cancels; }
    void DoChange() override { Changes.push_back(FStore->UpdateInfo()); }
    void Refresh() override { ++Refreshes; }
    void InvalidateRow(int Row) override { Invalidated.push_back(Row); }
    void LinesUpdateBegun() override {}
    void LinesUpdateEnded() override {}
    TColumnLayout ColumnLayout() const override { return Layout; }
    TColourer* ActiveColourer() override { return Colourer; }
    int StateLookAhead() const override { return LookAhead; }
    bool InitBracketsFull() const override { return FullStates; }
    void IdleWorkPending() override { ++Pending; }

    bool IsLoading = false;
    bool HasFocus = false;
    bool FullStates = true; // resetting the states computes every row
    int Pending = 0;        // times the store left rows for the idle work
    int LookAhead = 40;     // rows that colouring looks ahead (two screens)
    TColumnLayout Layout;
    TColourer* Colourer = nullptr;
    int CaretUpdates = 0, Cancels = 0, Refreshes = 0;
    std::vector<TUpdateInfo> Changes;
    std::vector<int> Invalidated;

private:
    std::shared_ptr<TEditorScreenStrings> FStore;
    int FRow = 0, FCol = 0, FTopRow = 0;

public:
    TEditorStrings Lines;
};

// The rows as "text/attribute" items, for readable comparisons.
inline std::vector<std::string> RowsOf(const TRowAttributeStringList& Rows) {
    std::vector<std::string> rows;
    for (int i = 0; i < Rows.Count(); ++i)
        rows.push_back(std::string(Rows.Get(i)) + "/" + std::to_string(Rows.RowAttribute(i)));
    return rows;
}

} // namespace quillon
