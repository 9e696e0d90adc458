// TEditor: row access, column/offset conversions and row marks.
#include "EditorControl.h"

#include "Cp932.h"
#include "EditorControlUtils.h"
#include "EditorGutters.h"

#include <algorithm>
#include <chrono>

namespace quillon {
namespace {

// The text that one call of the idle work's cut takes: a few tenths of a millisecond of cutting.
constexpr std::size_t kRewrapStepBytes = 256 * 1024;

} // namespace

// ---- Rows

std::string TEditor::GetRowString(int Index) const { return std::string(RowView(Index)); }

std::string_view TEditor::RowView(int Index) const { return HasRow(Index) ? FStore->Get(Index) : std::string_view(); }

int TEditor::GetRowAttribute(int Index) const { return HasRow(Index) ? FStore->RowAttribute(Index) : raEndOfText; }

void TEditor::GetRowAttributeData(int Index, TRowAttributeData& Data) const {
    if (HasRow(Index)) Data = FStore->GetRowAttributeData(Index);
}

std::uint16_t TEditor::GetRowMarks(int Index) const { return HasRow(Index) ? FStore->RowMarks(Index) : 0; }

void TEditor::SetRowMarks(int Index, std::uint16_t Marks) {
    if (!HasRow(Index) || FStore->RowMarks(Index) == Marks) return;
    FStore->SetRowMarks(Index, Marks);
    if (FHost && FImagebar->Visible()) {
        // A mark's picture may be wider than the bar's mark column: the row's whole left gutter.
        const int top = TextTop() + (Index - FTopRow) * RowHeight();
        FHost->Invalidate({0, top, TextLeft(), top + RowHeight()});
        FHost->UpdateWindow();
    }
}

void TEditor::AttachScreenStrings(TEditor* Source) {
    if (!Source || Source->FStore == FStore) return;
    FStore->DetachEditor(this);
    FStore = Source->FStore;
    FStore->AttachEditor(this);
    Refresh();
}

std::string TEditor::RowText(int Index) const {
    std::string s;
    AppendRowText(s, Index);
    return s;
}

void TEditor::AppendRowText(std::string& S, int Index) const {
    if (!HasRow(Index)) return;
    S += FStore->Get(Index);
    FStore->AddLineBreak(Index, S);
}

std::size_t TEditor::RowTextSize(int Index) const {
    if (!HasRow(Index)) return 0;
    return FStore->Get(Index).size() + (GetRowAttribute(Index) == raLineBreak ? 2 : 0);
}

int TEditor::RowStep(int Index) const {
    const int attr = GetRowAttribute(Index);
    return static_cast<int>(RowView(Index).size()) + (attr == raLineBreak ? 2 : attr == raEndOfText ? 1 : 0);
}

int TEditor::RowsStep(int FromRow, int ToRow) const {
    int sum = 0;
    for (int r = std::max(0, FromRow); r < ToRow && HasRow(r); ++r)
        sum += RowStep(r) - (GetRowAttribute(r) == raEndOfText);
    return sum;
}

// ---- Column and offset conversions

TColumnLayout TEditor::ColumnLayout() const {
    TColumnLayout layout;
    layout.Delimiters = FDelimiters;
    layout.TabSpaceCount = FCaret->TabSpaceCount();
    layout.WordWrap = FStore->WordWrap();
    layout.WrapByte = FStore->WrapOption().WrapByte();
    return layout;
}

std::string TEditor::ClassString(int Index) const { return quillon::ClassString(RowView(Index), ColumnLayout()); }

int TEditor::CaretStringIndex(int ARow, int ACol) const {
    const std::string cls = ClassString(ARow);
    return ACol - FillsBefore(cls, ACol + 1);
}

int TEditor::StringIndex(int ARow, int ACol) const {
    return std::min(CaretStringIndex(ARow, ACol), static_cast<int>(RowView(ARow).size()));
}

int TEditor::DisplayWidth(std::string_view S) const { return quillon::DisplayWidth(S, ColumnLayout()); }

int TEditor::RowDisplayLength(int Index) const { return DisplayWidth(RowView(Index)); }

std::string TEditor::ExpandTabs(std::string_view S) const {
    if (S.find('\t') == std::string_view::npos) return std::string(S);
    const TColumnLayout layout = ColumnLayout();
    std::string out;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (IsLeadByte(S[i]) && i + 1 < S.size()) {
            out.append(S.substr(i, 2));
            ++i;
        } else if (S[i] == '\t') {
            const int w = static_cast<int>(out.size());
            out.append(static_cast<std::size_t>(quillon::DisplayWidth(std::string(w, ' ') + '\t', layout) - w), ' ');
        } else {
            out += S[i];
        }
    }
    return out;
}

std::string TEditor::ExpandedRowString(int Index) const { return ExpandTabs(GetRowString(Index)); }

int TEditor::ColToIndexStart(std::string_view Class, int Index) {
    const std::string cls(Class);
    const int len = static_cast<int>(cls.size());
    int c = Index - 1;
    if (c >= len) return len - FillsBefore(cls, len) + (c - len) + 1;
    c = std::max(c, 0);
    if (cls[static_cast<std::size_t>(c)] == ccDoubleSecond) ++c;
    while (ClassAt(cls, c) == ccTabFill) ++c;
    return c - FillsBefore(cls, c) + 1;
}

int TEditor::ColToIndexEnd(std::string_view Class, int Index) {
    const std::string cls(Class);
    const int len = static_cast<int>(cls.size());
    int c = Index - 1;
    if (c < 0) return 0;
    if (c >= len) return len - FillsBefore(cls, len) + (c - len) + 1;
    if (cls[static_cast<std::size_t>(c)] == ccDoubleFirst) ++c;
    while (ClassAt(cls, c) == ccTabFill) --c;
    return c - FillsBefore(cls, c) + 1;
}

int TEditor::ColToLinePos(int ARow, int ACol) const {
    if (ARow < 0 || ARow > RowCount() || ACol < 0) return -1;
    const std::string cls = ClassString(ARow);
    if (ClassAt(cls, ACol) == ccDoubleSecond) --ACol;
    while (ClassAt(cls, ACol) == ccTabFill) --ACol;
    int pos = StringIndex(ARow, ACol);
    for (int r = FStore->LogicalLineStart(std::min(ARow, RowCount() - 1)); r >= 0 && r < ARow; ++r)
        pos += static_cast<int>(GetRowString(r).size());
    return pos;
}

int TEditor::LineOffset(int FirstRow, int ARow, int ACol) const {
    if (ARow < FirstRow) return 0;
    return RowsStep(FirstRow, ARow) + CaretStringIndex(ARow, ACol);
}

void TEditor::WalkRows(int FirstRow, int Offset, int& ARow, int& Rest) const {
    ARow = std::max(0, FirstRow);
    Rest = Offset;
    for (; HasRow(ARow); ++ARow) {
        const int step = RowStep(ARow);
        if (step > Rest || GetRowAttribute(ARow) == raEndOfText) return;
        Rest -= step;
    }
}

void TEditor::OffsetToRow(int Offset, int& ARow, int& Rest) const { WalkRows(0, Offset, ARow, Rest); }

int TEditor::RowOffset(int ARow) const { return RowsStep(0, ARow); }

void TEditor::SetCaretToLineOffset(int FirstRow, int Offset) {
    int row = 0, rest = 0;
    WalkRows(FirstRow, Offset, row, rest);
    if (!HasRow(row)) {
        SetRow(RowCount());
        SetCol(RowDisplayLength(FRow));
        return;
    }
    SetRow(row);
    // The caret's part of the row only: a row of megabytes is not measured for a keystroke.
    SetCol(DisplayWidth(RowView(row).substr(0, static_cast<std::size_t>(std::max(0, rest)))));
}

int TEditor::GetTextLength() const { return RowsStep(0, RowCount()); }

std::string TEditor::BuildText(const std::vector<TCutRow>& Rows) {
    std::string s;
    for (const TCutRow& row : Rows) {
        s += row.Text;
        if (row.Attribute == raLineBreak) s += "\r\n";
    }
    return s;
}

int TEditor::IndentOf(std::string_view S) const {
    if (S.empty()) return -1;
    std::size_t i = 0;
    while (i < S.size()) {
        if (S[i] == ' ' || S[i] == '\t')
            ++i;
        else if (S.substr(i, 2) == "\x81\x40")
            i += 2;
        else
            break;
    }
    return DisplayWidth(S.substr(0, i));
}

int TEditor::PrevLineIndent(int ARow) const {
    for (int r = FStore->LogicalLineStart(std::min(ARow, RowCount())) - 1; r >= 0; --r) {
        const int first = FStore->LogicalLineStart(r);
        if (!FStore->GetRowsText(first, -1).empty() && FStore->GetRowsText(first, -1) != "\r\n")
            return std::max(0, IndentOf(GetRowString(first)));
        r = first;
    }
    return 0;
}

int TEditor::RowToLine(int ARow) const { return FStore->WordWrap() ? quillon::RowToLine(*FStore, ARow) : ARow; }

int TEditor::ReferenceRow(int ARow) const {
    if (!HasRow(ARow)) return std::max(0, ARow - 1);
    return std::max(FStore->LogicalLineStart(ARow), ARow - 1);
}

// ---- Row marks

void TEditor::SetRowMark(int ARow, int Mark) {
    if (Mark < 0 || Mark > 15) return;
    const auto bit = static_cast<std::uint16_t>(1u << Mark);
    if (Mark <= 9)
        for (int r = 0; r < RowCount(); ++r)
            if (GetRowMarks(r) & bit) {
                SetRowMarks(r, static_cast<std::uint16_t>(GetRowMarks(r) & ~bit));
                break;
            }
    if (ARow >= 0 && ARow < RowCount()) SetRowMarks(ARow, static_cast<std::uint16_t>(GetRowMarks(ARow) | bit));
}

void TEditor::DeleteRowMark(int ARow, int Mark) {
    if (Mark < 0 || Mark > 15 || ARow < 0 || ARow >= RowCount()) return;
    SetRowMarks(ARow, static_cast<std::uint16_t>(GetRowMarks(ARow) & ~(1u << Mark)));
}

void TEditor::GotoRowMark(int Mark) {
    if (Mark < 0 || Mark > 15) return;
    for (int r = 0; r < RowCount(); ++r)
        if (GetRowMarks(r) & (1u << Mark)) {
            if (r < FTopRow || r >= FTopRow + FRowsPerPage) SetTopRow(r - FRowsPerPage / 2);
            SetRow(r);
            return;
        }
}

void TEditor::ClearModifiedRows() {
    for (int r = 0; r < RowCount(); ++r) FStore->SetRowModified(r, false);
    InvalidateAll();
}

void TEditor::IdleWorkPending() {
    if (FHost) FHost->StartIdleWork();
}

bool TEditor::IdleStep() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
    auto due = [&] { return std::chrono::steady_clock::now() >= deadline; };
    while (FStore->RewrapStep(kRewrapStepBytes))
        if (due()) return true;
    while (FStore->ComputeRowStates(256))
        if (due()) return true;
    return false;
}

void TEditor::CutShownRows() { FStore->CutRowsShownBy(*this); }

} // namespace quillon
