// TEditor: undo and the editing commands that replace text.
#include "EditorControl.h"

#include "Cp932.h"
#include "EditorControlUtils.h"
#include "EditorUtils.h"

#include <algorithm>

namespace quillon {

// ---- Undo

void TEditor::Undo() {
    CancelSelection();
    FStore->Undo();
}

void TEditor::Redo() {
    CancelSelection();
    FStore->Redo();
}

// ---- Editing commands

void TEditor::ReplaceRows(int Start, int End, std::string_view Text, int Ref, int Offset) {
    // Rows that wait for the word wrap's cut below the change keep waiting.
    const int count = !HasRow(Start) ? 0 : (HasRow(End) || End < Start ? End : RowCount() - 1) - Start + 1;
    CaretBeginUpdate();
    FStore->UpdateRows(HasRow(Start) ? Start : RowCount(), std::max(0, count), Text);
    SetCaretToLineOffset(Ref, Offset);
    CaretEndUpdate();
}

bool TEditor::ReplaceInRows(const std::vector<TRowSplice>& Splices, int Ref, int Offset) {
    if (!FStore->CanReplaceInRows(Splices)) return false;
    CaretBeginUpdate();
    FStore->ReplaceInRows(Splices);
    SetCaretToLineOffset(Ref, Offset);
    CaretEndUpdate();
    return true;
}

bool TEditor::ReplaceInRow(int ARow, int Index, int Length, std::string_view S, int Ref, int Offset) {
    return Index >= 0 && Length >= 0 &&
           ReplaceInRows({{ARow, static_cast<std::size_t>(Index), static_cast<std::size_t>(Length), S}}, Ref, Offset);
}

// T with the columns From..To-1 replaced by S; a double-byte character cut by To leaves a blank.
std::string TEditor::Overwrite(std::string_view T, int From, std::string_view S) const {
    const TColumnLayout layout = ColumnLayout();
    const int to = From + static_cast<int>(S.size());
    std::size_t i = 0;
    int col = 0;
    std::string out;
    while (i < T.size() && col < From) {
        const std::size_t n = IsLeadByte(T[i]) && i + 1 < T.size() ? 2 : 1;
        col = quillon::DisplayWidth(T.substr(0, i + n), layout);
        out.append(T.substr(i, n));
        i += n;
    }
    out.append(S);
    while (i < T.size()) {
        const std::size_t n = IsLeadByte(T[i]) && i + 1 < T.size() ? 2 : 1;
        const int start = quillon::DisplayWidth(T.substr(0, i), layout);
        const int end = quillon::DisplayWidth(T.substr(0, i + n), layout);
        if (start >= to) break;
        if (end > to && n == 2) {
            out += ' ';
            i += n;
            break;
        }
        i += n;
    }
    out.append(T.substr(i));
    return out;
}

void TEditor::InsertText(std::string_view S, bool OverWriting) {
    if (S.empty()) return;
    int start = 0, end = 0, ref = 0, target = 0;
    std::string text;
    if (IsSelected()) {
        std::vector<TCutRow> rows;
        RowsWithoutSelection(rows);
        start = FSelStr.StartRow;
        end = FSelStr.EndRow;
        ref = ReferenceRow(start);
        const int cut = rows.front().CutPos - 1;
        target = RowsStep(ref, start) + cut + static_cast<int>(S.size());
        // Replacing everything the rows hold, S goes in as it is, without a copy of its own (a
        // whole list replaced by a command is large).
        if (rows.size() == 1 && rows.front().Text.empty() && rows.front().Attribute != raLineBreak) {
            CancelSelection();
            ReplaceRows(start, end, S, ref, target);
            return;
        }
        rows.front().Text.insert(static_cast<std::size_t>(cut), S);
        text = BuildText(rows);
    } else {
        start = end = FRow;
        ref = ReferenceRow(FRow);
        target = LineOffset(ref, FRow, FCol) + static_cast<int>(S.size());
        const int i = CaretStringIndex(FRow, FCol);
        if (!OverWriting && FStore->CanReplaceInRow(FRow, i, 0, S)) {
            CancelSelection();
            ReplaceInRow(FRow, i, 0, S, ref, target);
            return;
        }
        const std::string t = GetRowString(FRow);
        if (i >= static_cast<int>(t.size())) {
            text = t + Blanks(i - static_cast<int>(t.size())) + std::string(S);
        } else if (OverWriting) {
            // The overwritten columns may run on into the following rows of a wrapped line.
            std::string line = t;
            int width = RowDisplayLength(FRow);
            while (FCol + static_cast<int>(S.size()) > width && GetRowAttribute(end) == raWrapped && HasRow(end + 1)) {
                ++end;
                line += GetRowString(end);
                width = DisplayWidth(line);
            }
            text = Overwrite(line, FCol, S);
        } else {
            text = t;
            text.insert(static_cast<std::size_t>(i), S);
        }
        FStore->AddLineBreak(end, text);
    }
    CancelSelection();
    ReplaceRows(start, end, text, ref, target);
}

void TEditor::TypeText(std::string_view S) { InsertText(S, FOverWrite); }

void TEditor::SetSelTextBuf(std::string_view Text) {
    if (FReadOnly) return;
    const std::string_view s = Text.substr(0, Text.find('\0'));
    if (s.empty()) {
        if (IsSelected())
            DeleteSelection();
        else
            CancelSelection();
        return;
    }
    if (!IsSelected() && s.size() > 1 && s.substr(s.size() - 2) == "\r\n" && FCol == 0) {
        CancelSelection();
        const int row = std::min(FRow, RowCount());
        const int ref = ReferenceRow(row);
        ReplaceRows(row, row - 1, s, ref, RowsStep(ref, row) + static_cast<int>(s.size()));
        return;
    }
    InsertText(s, false);
}

void TEditor::SetSelTextBox(std::string_view Text) {
    if (FReadOnly) return;
    const std::string text(Text.substr(0, Text.find('\0')));
    if (text.empty()) {
        DeleteSelection();
        return;
    }
    const std::vector<std::string> lines = StrToStrings(text.c_str());
    const int n = static_cast<int>(lines.size());
    // The selected rows become what is left of them: one row per row of a box, one row for a stream.
    std::vector<TCutRow> cut;
    int first = FRow, c = FCol, next = FRow; // next: the first row after the selection
    if (IsSelected()) {
        first = FSelStr.StartRow;
        c = FSelDraw.Start;
        next = FSelStr.EndRow + 1;
        RowsWithoutSelection(cut);
    }
    const int kept = static_cast<int>(cut.size());
    const int last = next + std::max(n - kept, 0) - 1; // the last old row replaced
    std::string rows;
    int lastIndex = 0;
    for (int k = 0; k < std::max(n, kept); ++k) {
        const int r = next + k - kept; // the old row of a line past the selection
        const std::string line = k < n ? lines[static_cast<std::size_t>(k)] : std::string();
        std::string row;
        int index = 0;
        if (k < kept) {
            row = cut[static_cast<std::size_t>(k)].Text;
            index = cut[static_cast<std::size_t>(k)].CutPos - 1;
        } else if (r < RowCount()) {
            row = GetRowString(r);
            index = ColToIndexStart(ClassString(r), c + 1) - 1;
            if (index > static_cast<int>(row.size())) row += Blanks(index - static_cast<int>(row.size()));
        } else {
            row = Blanks(c);
            index = c;
        }
        row.insert(static_cast<std::size_t>(index), line);
        rows += row + "\r\n";
        if (k == n - 1) lastIndex = index;
    }
    CancelSelection();
    CaretBeginUpdate();
    const int count = first >= RowCount() ? 0 : std::min(last, RowCount() - 1) - first + 1;
    FStore->UpdateRows(std::min(first, RowCount()), count, rows);
    SetRowCol(first + n - 1, lastIndex + static_cast<int>(lines.back().size()));
    CaretEndUpdate();
}

} // namespace quillon
