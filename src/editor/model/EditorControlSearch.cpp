// TEditor: text search.
#include "EditorControl.h"

#include <algorithm>

namespace quillon {

// ---- Search
//
// The search core (TextSearch.h) works on one buffer; the editor gives it chunks of whole logical
// lines, about kSearchChunkSize bytes at a time, so that a search costs the same wherever it starts
// in a long text. The chunks are the row store's (AppendLines, LinesAbove), as the extended
// editor's Find command reads them; but where a match of that command never leaves its line, so
// that a chunk of whole lines decides every match in it, a match here may pass over line breaks,
// and so the search needs the reach below. Since a chunk holds whole logical lines, every byte the core reads around a
// match (the byte before a word start, the byte after a whole word, a voiced mark that joins a half-width kana) is the
// same in the chunk as in the whole text. What a chunk can still get wrong is a match that runs on past its end, over
// line breaks that stSkipLineBreaks passes over: the chunk would miss it, or answer a shorter one. So an answer is
// trusted only at a start from which the chunk holds the whole of any match.
//
// The reach says how much that is, counted in the bytes that a match cannot pass over (the
// significant bytes: all but the line breaks and blanks that the skip options pass over, of which a
// match may take any number). A match takes at most two significant bytes per pattern byte: the
// core compares with the pattern widened to full width, at most twice the pattern's bytes, and a
// text character never takes more bytes than the pattern character it matches (a half-width "A"
// becomes the two bytes of a full-width one, which the text may hold). Reach is that bound plus two
// bytes of margin: a start with more than Reach significant bytes after it in the chunk is decided
// there, as in the whole text.
//
// Forwards, the chunk is searched from the caret; a match at a decided start is the answer. When
// the chunk holds none, every start up to the last Reach significant bytes is decided, and the next
// chunk begins with the logical line that holds the first start not decided; when one line holds
// them all, the chunk grows to twice its size instead. Backwards, the chunk ends where enough text
// follows the caret to decide every start tried (KeepDecidingRows); when it holds no match, every
// start in it is decided, and the next chunk is the rows above it with as much of its head as
// decides the starts tried again there. Either way a byte is searched a bounded number of times.

namespace {

// The bytes of Text that a match cannot pass over. An ideographic space's bytes are passed over
// wherever they stand, which can only make the count smaller (the chunk then grows sooner).
std::size_t SignificantBytes(std::string_view Text, TSearchOptions Options) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const auto c = static_cast<unsigned char>(Text[i]);
        const bool lineBreak = (Options & stSkipLineBreaks) && (c == '\r' || c == '\n');
        const bool blank = (Options & stSkipBlanks) &&
                           (c == '\t' || c == ' ' || (c == 0x81 && i + 1 < Text.size() && Text[i + 1] == 0x40));
        if (blank && c == 0x81)
            ++i;
        else if (!lineBreak && !blank)
            ++count;
    }
    return count;
}

// Whether Chunk from Pos on holds more than Reach bytes that a match cannot pass over.
bool Decided(std::string_view Chunk, std::size_t Pos, std::size_t Reach, TSearchOptions Options) {
    return SignificantBytes(Chunk.substr(std::min(Pos, Chunk.size())), Options) > Reach;
}

// The first start of Chunk that is not decided: the one after which only Reach bytes that a match
// cannot pass over are left.
std::size_t FirstUndecided(std::string_view Chunk, std::size_t Reach, TSearchOptions Options) {
    std::size_t undecided = Chunk.size(), counted = 0;
    while (undecided > 0 && counted <= Reach) counted += SignificantBytes(Chunk.substr(--undecided, 1), Options);
    return undecided;
}

} // namespace

bool TEditor::SearchText(std::string_view Pattern, TSearchOptions Options) {
    if (RowCount() == 0 || (RowCount() == 1 && RowTextSize(0) == 0)) return false; // an empty text
    const std::size_t reach = 2 * Pattern.size() + 2;
    return Options & stDown ? SearchForward(Pattern, Options, reach) : SearchBackward(Pattern, Options, reach);
}

bool TEditor::SearchForward(std::string_view Pattern, TSearchOptions Options, std::size_t Reach) {
    TSearchInfo from;
    int row = 0;
    if (IsSelectedOrHit()) {
        row = FSelStr.EndRow;
        from.Start = FSelStr.End + 1;
    } else {
        row = FRow;
        from.Start = StringIndex(FRow, FCol);
    }
    if (FHitStyle == hsCaret && FHitLength >= 1) from.Length = FHitLength;
    const int last = RowCount() - 1;
    int top = FStore->LogicalLineStart(row);
    std::string chunk;
    // The logical lines that begin in the chunk: their first rows and offsets, in order.
    std::vector<TEditorScreenStrings::TLineStart> lines;
    FStore->AppendLines(top, row, std::string::npos, chunk, lines);
    from.Start += static_cast<std::int32_t>(chunk.size());
    int next = row; // the first row after the chunk
    for (std::size_t size = kSearchChunkSize;;) {
        next = FStore->AppendLines(next, last + 1, size, chunk, lines);
        TSearchInfo info = from;
        const bool found = quillon::SearchText(chunk, info, Pattern, Options);
        if (found && (next > last || Decided(chunk, static_cast<std::size_t>(info.Start), Reach, Options)))
            return FoundAt(top, info);
        if (!found && next > last) return false;
        // The next chunk begins with the logical line that holds the first start not decided.
        const std::size_t undecided = FirstUndecided(chunk, Reach, Options);
        auto line = std::upper_bound(lines.begin(), lines.end(), undecided,
                                     [](std::size_t At, const auto& Line) { return At < Line.Offset; }) -
                    1;
        if (line == lines.begin()) {
            size *= 2; // one line holds every undecided start: the chunk grows instead
            continue;
        }
        const std::size_t lineStart = line->Offset;
        top = line->Row;
        lines.erase(lines.begin(), line);
        for (auto& l : lines) l.Offset -= lineStart;
        chunk.erase(0, lineStart);
        const std::int64_t start = std::max<std::int64_t>(std::int64_t{from.Start} + from.Length, undecided);
        from = TSearchInfo{static_cast<std::int32_t>(start - static_cast<std::int64_t>(lineStart)), 0};
        size = kSearchChunkSize;
    }
}

bool TEditor::SearchBackward(std::string_view Pattern, TSearchOptions Options, std::size_t Reach) {
    int row = 0, index = 0;
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
    int top = FStore->LogicalLineStart(row);
    std::string chunk;
    std::vector<TEditorScreenStrings::TLineStart> lines;
    FStore->AppendLines(top, row, std::string::npos, chunk, lines);
    TSearchInfo from{static_cast<std::int32_t>(chunk.size()) + index, 0};
    KeepDecidingRows(chunk, row, static_cast<std::size_t>(from.Start), Reach, Options);
    for (;;) {
        TSearchInfo info = from;
        if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(top, info);
        if (top == 0) return false;
        // The next chunk is the rows above this one with as much of its head as decides the starts
        // tried again there (the first Reach bytes).
        const std::size_t retried = std::min({Reach, static_cast<std::size_t>(from.Start), chunk.size()});
        chunk.resize(0);
        KeepDecidingRows(chunk, top, retried, Reach, Options);
        const int above = FStore->LinesAbove(top, kSearchChunkSize);
        std::string head;
        lines.clear(); // backwards no line start is looked up
        FStore->AppendLines(above, top, std::string::npos, head, lines);
        chunk.insert(0, head);
        from = TSearchInfo{static_cast<std::int32_t>(head.size() + retried), 0};
        top = above;
    }
}

void TEditor::KeepDecidingRows(std::string& Chunk, int Row, std::size_t Start, std::size_t Reach,
                               TSearchOptions Options) const {
    const int last = RowCount() - 1;
    std::size_t after = SignificantBytes(std::string_view(Chunk).substr(std::min(Start, Chunk.size())), Options);
    for (int next = Row; next <= last && (next == Row || GetRowAttribute(next - 1) == raWrapped || after <= Reach);) {
        const std::size_t at = Chunk.size();
        AppendRowText(Chunk, next++);
        const std::string_view text = std::string_view(Chunk).substr(at);
        const std::size_t skipped = Start > at ? Start - at : 0;
        after += SignificantBytes(text.substr(std::min(skipped, text.size())), Options);
    }
}

bool TEditor::FoundAt(int FirstRow, const TSearchInfo& Info) {
    CancelSelection();
    SetCaretToLineOffset(FirstRow, Info.Start);
    SetHitSelLength(Info.Length);
    EMScrollCaret();
    return true;
}

} // namespace quillon
