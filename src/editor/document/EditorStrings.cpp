#include "EditorStrings.h"

#include "Streams.h"

#include <algorithm>

namespace quillon {

const std::vector<int>& TEditorStrings::LineStarts() const {
    const TEditorScreenStrings& s = Store();
    if (FLineStartsVersion == s.Version()) return FLineStarts;
    FLineStarts.assign(1, 0);
    const int last = s.Count() - 1;
    for (int r = 0; r <= last; ++r)
        if (s.RowAttribute(r) != raWrapped || r == last) FLineStarts.push_back(r + 1);
    FLineStartsVersion = s.Version();
    return FLineStarts;
}

int TEditorStrings::LineToRow(int Index) const {
    if (!WordWrap()) return Index;
    if (Index < 1) return 0;
    // A line that starts in the rows still waiting for the word wrap's cut starts where the whole cut
    // puts it.
    if (Index < static_cast<int>(LineStarts().size()) &&
        LineStarts()[static_cast<std::size_t>(Index)] >= Store().RewrapFrom())
        Store().FinishRewrap();
    const std::vector<int>& starts = LineStarts();
    if (Index >= static_cast<int>(starts.size())) throw EStringListError();
    return starts[static_cast<std::size_t>(Index)];
}

int TEditorStrings::Count() const { return WordWrap() ? static_cast<int>(LineStarts().size()) - 1 : Store().Count(); }

std::string TEditorStrings::Get(int Index) const {
    if (!WordWrap()) return std::string(Store().Get(Index));
    std::string line = Store().GetRowsText(LineToRow(Index), -1);
    while (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
    return line;
}

std::string TEditorStrings::Text() const { return Store().GetRowsText(0, Store().Count()); }

void TEditorStrings::Replace(int Row, int Count, std::string_view Text, int CaretOffset) {
    FEditor.CaretBeginUpdate();
    Store().UpdateRows(Row, Count, Text);
    FEditor.SetCaretToLineOffset(Row, CaretOffset);
    FEditor.CaretEndUpdate();
}

void TEditorStrings::Put(int Index, std::string_view S) {
    FEditor.CancelSelection();
    const int first = LineToRow(Index);
    if (first < 0 || first >= Store().Count()) throw EStringListError();
    const int last = Store().LogicalLineEnd(first);
    std::string text(S);
    Store().AddLineBreak(last, text);
    Replace(first, last - first + 1, text, static_cast<int>(text.size()));
}

void TEditorStrings::Insert(int Index, std::string_view S) {
    const int row = LineToRow(Index);
    if (row == Store().Count()) {
        Add(S);
        return;
    }
    if (row > Store().Count()) return;
    FEditor.CancelSelection();
    std::string text = std::string(S) + "\r\n";
    Replace(row, 0, text, static_cast<int>(text.size()));
}

int TEditorStrings::Add(std::string_view S) {
    FEditor.CancelSelection();
    const int lines = Count();
    TEditorScreenStrings& s = Store();
    s.FinishRewrap(); // the last row's number
    const int n = s.Count();
    if (n == 0 || s.RowAttribute(n - 1) == raLineBreak) {
        std::string text = std::string(S) + "\r\n";
        Replace(n, 0, text, static_cast<int>(text.size()));
    } else {
        std::string text = std::string(s.Get(n - 1)) + "\r\n" + std::string(S);
        Replace(n - 1, 1, text, static_cast<int>(text.size()));
    }
    return lines;
}

void TEditorStrings::Delete(int Index) {
    FEditor.CancelSelection();
    const int first = LineToRow(Index);
    const int rows = Store().LogicalLineEnd(first) - first + 1;
    Replace(first, rows, "", 0);
}

void TEditorStrings::Clear() { Store().Clear(); }

void TEditorStrings::TakeText(std::string_view Text) {
    Store().LoadText(Text);
    Store().ResetRowStates();
}

void TEditorStrings::SetText(std::string_view S) {
    BeginUpdate();
    Clear();
    TakeText(S);
    EndUpdate();
}

void TEditorStrings::LoadFromFile(const std::filesystem::path& FileName) {
    TFileStream stream(FileName, fmOpenRead);
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    // A NUL or a Ctrl+Z ends the text.
    bytes.resize(std::min({bytes.find('\0'), bytes.find('\x1A'), bytes.size()}));
    BeginUpdate();
    Clear();
    TakeText(bytes);
    Store().RefreshEditors();
    EndUpdate();
}

void TEditorStrings::Assign(const std::vector<std::string>& Source) {
    std::string text;
    for (const std::string& line : Source) text.append(line).append("\r\n");
    SetText(text);
    FEditor.SetRow(Store().Count());
    FEditor.SetCol(0);
}

void TEditorStrings::Assign(const TEditorStrings& Source) {
    std::vector<std::string> lines;
    for (int i = 0, n = Source.Count(); i < n; ++i) lines.push_back(Source.Get(i));
    Assign(lines);
}

void TEditorStrings::BeginUpdate() {
    if (FUpdateCount++ > 0) return;
    Store().BeginUpdate();
    FEditor.LinesUpdateBegun();
}

// The rows changed inside the bracket are not painted one by one (a text set whole records no
// change of rows at all): every editor repaints once at the end.
void TEditorStrings::EndUpdate() {
    if (FUpdateCount == 0 || --FUpdateCount > 0) return;
    Store().EndUpdate();
    FEditor.LinesUpdateEnded();
    Store().RepaintEditors();
}

} // namespace quillon
