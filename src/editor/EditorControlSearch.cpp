// TEditor: text search.
#include "EditorControl.h"

namespace quillon {

// ---- Search

bool TEditor::SearchText(std::string_view Pattern, TSearchOptions Options) {
    if (GetTextLength() == 0) return false;
    TSearchInfo info;
    const bool forward = (Options & stDown) != 0;
    int row = 0;
    if (forward) {
        if (IsSelectedOrHit()) {
            row = FSelStr.EndRow;
            info.Start = FSelStr.End + 1;
        } else {
            row = FRow;
            info.Start = StringIndex(FRow, FCol);
        }
        if (FHitStyle == hsCaret && FHitLength >= 1) info.Length = FHitLength;
        while (row < RowCount()) {
            int rows = 0;
            std::string chunk;
            while (row + rows < RowCount() && static_cast<int>(chunk.size()) < 8192)
                chunk += RowText(row + rows++);
            if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(row, info);
            if (row + rows >= RowCount()) break;
            row += rows > 1 ? rows - 1 : rows;
            info = TSearchInfo();
        }
        return false;
    }
    int index = 0;
    if (IsSelectedOrHit()) {
        row = FSelStr.StartRow;
        index = FSelStr.Start;
    } else if (FRow >= RowCount()) {
        row = RowCount() - 1;
        index = RowStep(row);
    } else {
        row = FRow;
        index = StringIndex(FRow, FCol);
    }
    while (row >= 0) {
        int top = row;
        int offset = index;
        std::string chunk = RowText(row);
        while (top > 0 && static_cast<int>(chunk.size()) < 8192) {
            const std::string above = RowText(--top);
            chunk.insert(0, above);
            offset += static_cast<int>(above.size());
        }
        info.Start = offset;
        info.Length = 0;
        if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(top, info);
        if (top == 0) break;
        row = top + 1 < row ? top + 1 : top;
        index = static_cast<int>(RowText(row).size());
    }
    return false;
}

bool TEditor::FoundAt(int FirstRow, const TSearchInfo& Info) {
    CancelSelection();
    SetCaretToLineOffset(FirstRow, Info.Start);
    SetHitSelLength(Info.Length);
    EMScrollCaret();
    return true;
}

} // namespace quillon
