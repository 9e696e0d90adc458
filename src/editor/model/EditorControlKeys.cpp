// TEditor: key handling, word movement and typing.
#include "EditorControl.h"

#include "Cp932.h"
#include "EditorControlUtils.h"
#include "RowStates.h"

#include <algorithm>

namespace quillon {

// ---- Word movement

std::vector<int> TEditor::WordStarts(int ARow) {
    std::vector<int> starts;
    const std::string s = ExpandedRowString(ARow);
    std::unique_ptr<TColourerParser> parser = ActiveColourerRef().CreateParser();
    parser->NewData(s.c_str(), InitialRowState());
    while (int kind = parser->NextToken())
        if (kind != tkSymbol) starts.push_back(parser->SourcePos());
    return starts;
}

bool TEditor::WordMove(int& ARow, int& ACol, int Direction) {
    const int count = RowCount();
    if (ARow < 0 || ARow > count || (ARow == count && (count == 0 || GetRowAttribute(count - 1) == raEndOfText)))
        return false;
    int row = ARow, col = ACol;
    auto expandedLength = [this](int r) { return static_cast<int>(ExpandedRowString(r).size()); };
    if (Direction < 0) {
        if (col == 0) {
            if (row == 0) return false;
            --row;
            col = expandedLength(row);
            if (GetRowAttribute(row) != raWrapped) {
                ARow = row;
                ACol = col;
                return true;
            }
        }
        const std::vector<int> starts = WordStarts(row);
        auto it = std::lower_bound(starts.begin(), starts.end(), col);
        if (it != starts.begin()) {
            col = *(it - 1);
        } else if (row == 0) {
            col = 0;
        } else {
            --row;
            col = expandedLength(row);
        }
    } else {
        const bool nextExists = row + 1 < count || (row + 1 == count && GetRowAttribute(row) == raLineBreak);
        if (col >= expandedLength(row) && nextExists) {
            ++row;
            col = -1;
        }
        const std::vector<int> starts = WordStarts(row);
        auto it = std::upper_bound(starts.begin(), starts.end(), col);
        if (it != starts.end()) {
            col = *it;
        } else if (GetRowAttribute(row) == raWrapped) {
            ++row;
            col = 0;
        } else {
            col = expandedLength(row);
        }
    }
    const bool changed = row != ARow || col != ACol;
    ARow = row;
    ACol = col;
    return changed;
}

// ---- Keys

void TEditor::WMKeyDown(int Key, TLParam KeyData) {
    FKeyRepeat = (KeyData & KF_REPEAT_BIT) != 0;
    if (Key == VK_DELETE) {
        DeleteKey();
        return;
    }
    if (Key < VK_PRIOR || Key > VK_DOWN) return;
    const bool shift = ShiftDown(), ctrl = CtrlDown();
    if (IsHitSelected()) CancelSelection();
    if (!shift && FSelState != ssNoSelection) CancelSelection();
    if (shift && FSelState == ssNoSelection) StartSelection();
    const int page =
        (FRowsPerPage - 1) / 2 * (FKeyRepeat ? FSpeed->PageVerticalRangeAc() : FSpeed->PageVerticalRange());
    switch (Key) {
    case VK_PRIOR: PageScroll(-page); break;
    case VK_NEXT: PageScroll(page); break;
    case VK_END:
        if (ctrl) SetRow(RowCount());
        SetCol(FRow < RowCount() ? RowDisplayLength(FRow) : 0);
        break;
    case VK_HOME:
        if (ctrl)
            SetRowCol(0, 0);
        else
            SetCol(0);
        break;
    case VK_LEFT: KeyLeft(ctrl); break;
    case VK_UP: KeyUp(ctrl); break;
    case VK_RIGHT: KeyRight(ctrl); break;
    case VK_DOWN: KeyDown(ctrl); break;
    default: break;
    }
    if (shift) ExtendSelection();
}

void TEditor::PageScroll(int Delta) {
    if (FTopRow == 0 && Delta < 0) {
        SetRow(0);
        return;
    }
    if (GetRowAttribute(FTopRow) == raEndOfText && Delta > 0) return;
    const int distance = FRow - FTopRow;
    CaretBeginUpdate();
    SetTopRow(std::max(0, std::min(FTopRow + Delta, RowCount())));
    SetRow(FTopRow + distance);
    CaretEndUpdate();
}

void TEditor::MoveByWord(int Direction) {
    int row = FRow, col = FCol;
    if (WordMove(row, col, Direction)) SetRowCol(row, col);
}

void TEditor::KeyLeft(bool Ctrl) {
    if (Ctrl) {
        MoveByWord(-1);
    } else if (FCol > 0) {
        SetCol(FCol - 1);
    } else if (FRow > 0 && (FCaret->NextLine() || GetRowAttribute(FRow - 1) == raWrapped)) {
        CaretBeginUpdate();
        SetRowCol(FRow - 1, RowDisplayLength(FRow - 1));
        CaretEndUpdate();
    }
}

void TEditor::KeyRight(bool Ctrl) {
    if (Ctrl) {
        MoveByWord(1);
        return;
    }
    const int col = FCol;
    SetCol(FCol + 1);
    const int attr = GetRowAttribute(FRow);
    if (FCol == col && FRow < RowCount() && attr != raEndOfText && (FCaret->NextLine() || attr == raWrapped)) {
        CaretBeginUpdate();
        SetRowCol(FRow + 1, 0);
        CaretEndUpdate();
    }
}

void TEditor::KeyUp(bool Ctrl) {
    if (FRow <= 0) return;
    const int step = FKeyRepeat && FRow == FTopRow ? FSpeed->CaretVerticalAc() : 1;
    if (!Ctrl) {
        SetRow(FRow - step);
        return;
    }
    SetTopRow(FTopRow - step);
    if (FRow >= FTopRow + FRowsPerPage) SetRow(FRow - step);
}

void TEditor::KeyDown(bool Ctrl) {
    const int step = FKeyRepeat && FRow == FTopRow + FRowsPerPage - 1 ? FSpeed->CaretVerticalAc() : 1;
    if (!Ctrl) {
        if (GetRowAttribute(FRow) != raEndOfText) SetRow(FRow + step);
        return;
    }
    SetTopRow(FTopRow + step);
    if (FRow < FTopRow) SetRow(FRow + step);
}

void TEditor::DeleteKey() {
    if (FReadOnly) return;
    if (IsSelected()) {
        DeleteSelection();
        return;
    }
    if (IsHitSelected()) CancelSelection();
    if (FRow < 0 || FRow >= RowCount()) return;
    const std::string_view t = RowView(FRow);
    const int ref = ReferenceRow(FRow);
    const int i = CaretStringIndex(FRow, FCol);
    if (i >= static_cast<int>(t.size())) {
        if (GetRowAttribute(FRow) == raEndOfText) return;
        std::string text = std::string(t) + Blanks(i - static_cast<int>(t.size()));
        int end = FRow;
        if (FRow + 1 < RowCount()) {
            end = FRow + 1;
            text += RowText(end);
        }
        ReplaceRows(FRow, end, text, ref, LineOffset(ref, FRow, FCol));
        return;
    }
    const std::string cls = ClassString(FRow);
    int col = FCol;
    while (ClassAt(cls, col) == ccTabFill) --col;
    EraseInRow(CaretStringIndex(FRow, col), ClassAt(cls, col) == ccDoubleFirst ? 2 : 1, ref, col);
}

void TEditor::EraseInRow(int Index, int Length, int Ref, int ACol) {
    const int offset = LineOffset(Ref, FRow, ACol);
    if (ReplaceInRow(FRow, Index, Length, {}, Ref, offset)) return;
    std::string text = GetRowString(FRow);
    text.erase(static_cast<std::size_t>(Index), static_cast<std::size_t>(Length));
    FStore->AddLineBreak(FRow, text);
    ReplaceRows(FRow, FRow, text, Ref, offset);
}

void TEditor::BackSpace() {
    if (FReadOnly) return;
    if (IsSelected()) {
        DeleteSelection();
        return;
    }
    if (RowCount() == 0) {
        SetCol(FCol - 1);
        return;
    }
    if (IsHitSelected()) CancelSelection();
    const std::string_view t = RowView(FRow);
    const int i = CaretStringIndex(FRow, FCol);
    if (i < 1) {
        if (FRow == 0) return;
        const int prev = FRow - 1;
        std::string kept = GetRowString(prev);
        if (GetRowAttribute(prev) == raWrapped) {
            std::size_t last = 0; // start of the last character
            for (std::size_t k = 0; k < kept.size(); k += IsLeadByte(kept[k]) && k + 1 < kept.size() ? 2 : 1) last = k;
            kept.resize(last);
        }
        const int ref = ReferenceRow(prev);
        const int offset = RowsStep(ref, prev) + static_cast<int>(kept.size());
        std::string text = kept;
        int end = prev;
        if (FRow < RowCount()) {
            text += RowText(FRow);
            end = FRow;
        }
        ReplaceRows(prev, end, text, ref, offset);
        return;
    }
    bool blanksOnly = std::all_of(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\t'; });
    if (FCaret->BackSpaceUnIndent() && (t.empty() || blanksOnly || FCol == IndentOf(t))) {
        UnIndent();
        return;
    }
    if (i > static_cast<int>(t.size())) {
        SetCol(FCol - 1);
        return;
    }
    const std::string cls = ClassString(FRow);
    int col = FCol - 1;
    int bytes = 1;
    if (ClassAt(cls, col) == ccDoubleSecond) {
        --col;
        bytes = 2;
    }
    while (ClassAt(cls, col) == ccTabFill) --col;
    EraseInRow(CaretStringIndex(FRow, col), bytes, ReferenceRow(FRow), col);
}

void TEditor::UnIndent() {
    const int lineStart = FStore->LogicalLineStart(FRow);
    int r = FRow - 1;
    int indent = -1;
    for (;; --r) {
        indent = IndentOf(GetRowString(r));
        if (r <= 0) break;
        if (r >= lineStart ? indent > 0 && indent < FCol : indent < FCol) break;
    }
    const int target = indent >= 0 && indent < FCol ? indent : 0;
    const std::string t = GetRowString(FRow);
    if (DisplayWidth(t) <= target) {
        SetCol(target);
        return;
    }
    const std::string cls = ClassString(FRow);
    std::string prefix;
    if (ClassAt(cls, target) == ccDoubleSecond) {
        prefix = t.substr(0, static_cast<std::size_t>(CaretStringIndex(FRow, target - 1))) + " ";
    } else if (ClassAt(cls, target) == ccTabFill) {
        int tab = target;
        while (ClassAt(cls, tab) == ccTabFill) --tab;
        prefix = t.substr(0, static_cast<std::size_t>(CaretStringIndex(FRow, tab))) + Blanks(target - tab);
    } else {
        prefix = t.substr(
            0, static_cast<std::size_t>(std::min<int>(CaretStringIndex(FRow, target), static_cast<int>(t.size()))));
    }
    int fill = 0;
    std::size_t restFrom =
        static_cast<std::size_t>(std::min<int>(CaretStringIndex(FRow, FCol), static_cast<int>(t.size())));
    if (ClassAt(cls, FCol) == ccTabFill) {
        int end = FCol;
        while (ClassAt(cls, end) == ccTabFill) ++end;
        fill = end - FCol;
        restFrom = static_cast<std::size_t>(CaretStringIndex(FRow, FCol)) + 1;
    }
    std::string text = prefix + Blanks(fill) + t.substr(std::min(restFrom, t.size()));
    FStore->AddLineBreak(FRow, text);
    const int ref = ReferenceRow(FRow);
    ReplaceRows(FRow, FRow, text, ref, RowsStep(ref, FRow) + static_cast<int>(prefix.size()));
}

void TEditor::TabKey() {
    if (ShiftDown() || CtrlDown() || FReadOnly || !FWantTabs) return;
    const int tabs = FCaret->TabSpaceCount();
    int fill = tabs - FCol % tabs;
    if (FStore->WordWrap()) {
        const int wrap = FStore->WrapOption().WrapByte();
        fill = std::min(fill, wrap - FCol % wrap);
    }
    if (FOverWrite)
        SetCol(FCol + fill);
    else
        TypeText(FCaret->SoftTab() ? Blanks(fill) : std::string("\t"));
}

std::string TEditor::IndentText(int Indent) const {
    if (!FCaret->TabIndent()) return Blanks(Indent);
    const int tabs = FCaret->TabSpaceCount();
    return std::string(static_cast<std::size_t>(Indent / tabs), '\t') + Blanks(Indent % tabs);
}

int TEditor::ReturnIndent() const {
    if (!FCaret->AutoIndent()) return 0;
    const int first = FStore->LogicalLineStart(FRow);
    const int indent = IndentOf(GetRowString(first));
    // An empty line takes the indent of the line above it; the caret column limits only the line's
    // own indent (a caret inside the leading blanks).
    if (indent < 1 && FCaret->PrevSpaceIndent() && FRow == first && GetRowString(FRow).empty())
        return PrevLineIndent(FRow);
    if (FRow == first && FCol < indent) return FCol;
    return std::max(0, indent);
}

void TEditor::ReturnKey(bool Shift) {
    if (FReadOnly) return;
    if (IsSelected()) {
        if (Shift) return;
        DeleteSelection();
    }
    if (IsHitSelected()) CancelSelection();
    if (FRow >= RowCount()) {
        const int row = FRow;
        CaretBeginUpdate();
        FStore->UpdateRows(RowCount(), 0, "\r\n");
        SetRowCol(row + 1, 0);
        CaretEndUpdate();
        return;
    }
    if (FOverWrite) {
        SetRowCol(FRow + 1, 0);
        return;
    }
    const std::string indent = IndentText(ReturnIndent());
    if (Shift) {
        const int first = FStore->LogicalLineStart(FRow);
        const int ref = ReferenceRow(first);
        ReplaceRows(first, first - 1, indent + "\r\n", ref, RowsStep(ref, first) + static_cast<int>(indent.size()));
        return;
    }
    const std::string t = GetRowString(FRow);
    const std::size_t i = static_cast<std::size_t>(StringIndex(FRow, FCol));
    std::string text = t.substr(0, i) + "\r\n" + indent + t.substr(i);
    FStore->AddLineBreak(FRow, text);
    const int ref = ReferenceRow(FRow);
    ReplaceRows(FRow, FRow, text, ref, RowsStep(ref, FRow) + static_cast<int>(i + 2 + indent.size()));
}

void TEditor::WMChar(int Key) {
    switch (Key) {
    case VK_BACK: BackSpace(); return;
    case VK_TAB: TabKey(); return;
    case VK_RETURN: ReturnKey(ShiftDown()); return;
    default: break;
    }
    if (Key > 0xFF) {
        const int lead = Key >> 8, trail = Key & 0xFF;
        if (!IsLeadByte(static_cast<char>(lead)) || trail < 0x40) return;
        if (FImeSkip >= 1) {
            FImeSkip = std::max(0, FImeSkip - 2);
        } else if (!FReadOnly) {
            if (FImePending) MoveImeWindow();
            TypeText(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        }
        return;
    }
    if (IsLeadByte(static_cast<char>(Key))) return; // its trail byte did not follow
    if ((Key >= 0x20 && Key <= 0x7E) || Key >= 0xA0) {
        if (FImeSkip >= 1) {
            --FImeSkip;
        } else if (!FReadOnly) {
            if (FImePending) MoveImeWindow();
            TypeText(std::string(1, static_cast<char>(Key)));
        }
    }
}

TWParam TEditor::WholeCharacter(TWParam Key) {
    if (Key > 0xFF || !IsLeadByte(static_cast<char>(Key))) return Key;
    const int trail = FHost ? FHost->TakeTrailByte() : -1;
    return trail < 0x40 || trail > 0xFF ? Key : Key * 256 + static_cast<TWParam>(trail);
}

void TEditor::WMImeComposition(TLParam Flags) {
    if (!(Flags & GCS_RESULTSTR) || FReadOnly || !FHost) return;
    const std::string s = FHost->CompositionResult();
    FImeSkip = static_cast<int>(s.size());
    TypeText(s);
}

} // namespace quillon
