// TEditor: text search.
#include "EditorControl.h"

#include <algorithm>

namespace quillon {

// ---- Search
//
// The search core works on one buffer; the editor gives it chunks of whole logical lines (so that a
// whole-word test sees the same neighbours as in the whole text) and trusts an answer only where the
// whole text would give the same one. A match takes at most two text bytes per pattern byte (a
// half-width letter matches a full-width one) besides the blanks and line breaks that the skip
// options pass over, so a match tried from a position with more than Reach such bytes after it in
// the chunk is decided inside the chunk. A forward search goes on from the logical line that holds
// the first start not decided; a chunk that cannot decide grows to twice its size. The work stays
// proportional to the text searched.

namespace {

constexpr std::size_t kChunkSize = 8192;

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

} // namespace

std::string TEditor::RowsText(int First, int Last) const {
    std::string text;
    for (int row = First; row <= Last; ++row) text += RowText(row);
    return text;
}

bool TEditor::SearchText(std::string_view Pattern, TSearchOptions Options) {
    if (GetTextLength() == 0) return false;
    const std::size_t reach = 2 * Pattern.size() + 2;
    const int last = RowCount() - 1;
    // Whether Chunk from Pos on holds enough of the text to decide every match tried there.
    auto decided = [&](const std::string& Chunk, std::size_t Pos, bool ToTheEnd) {
        return ToTheEnd ||
               SignificantBytes(std::string_view(Chunk).substr(std::min(Pos, Chunk.size())), Options) > reach;
    };
    TSearchInfo from;
    int row = 0;
    if (Options & stDown) {
        if (IsSelectedOrHit()) {
            row = FSelStr.EndRow;
            from.Start = FSelStr.End + 1;
        } else {
            row = FRow;
            from.Start = StringIndex(FRow, FCol);
        }
        if (FHitStyle == hsCaret && FHitLength >= 1) from.Length = FHitLength;
        int top = FStore->LogicalLineStart(row);
        std::string chunk = RowsText(top, row - 1);
        from.Start += static_cast<std::int32_t>(chunk.size());
        int next = row; // the first row after the chunk
        for (std::size_t size = kChunkSize;;) {
            while (next <= last && (next == row || chunk.size() < size || GetRowAttribute(next - 1) == raWrapped))
                chunk += RowText(next++);
            TSearchInfo info = from;
            const bool found = quillon::SearchText(chunk, info, Pattern, Options);
            if (found && decided(chunk, static_cast<std::size_t>(info.Start), next > last)) return FoundAt(top, info);
            if (!found && next > last) return false;
            // Every start before the last Reach bytes that a match cannot pass over is decided: the
            // next chunk begins with the logical line that holds the first start not decided.
            std::size_t undecided = chunk.size(), counted = 0;
            while (undecided > 0 && counted <= reach)
                counted += SignificantBytes(std::string_view(chunk).substr(--undecided, 1), Options);
            int lineTop = top;
            std::size_t lineStart = 0, rowStart = 0;
            for (int r = top; r < next && rowStart <= undecided; rowStart += RowText(r++).size())
                if (r == top || GetRowAttribute(r - 1) != raWrapped) lineTop = r, lineStart = rowStart;
            if (lineTop == top) {
                size *= 2; // one line holds every undecided start: the chunk grows instead
                continue;
            }
            chunk.erase(0, lineStart);
            const std::int64_t start = std::max<std::int64_t>(std::int64_t{from.Start} + from.Length, undecided);
            from = TSearchInfo{static_cast<std::int32_t>(start - static_cast<std::int64_t>(lineStart)), 0};
            top = lineTop;
            size = kChunkSize;
        }
    }
    int index = 0;
    if (IsSelectedOrHit()) {
        row = FSelStr.StartRow;
        index = FSelStr.Start;
    } else if (FRow >= RowCount()) {
        row = last;
        index = RowStep(row);
    } else {
        row = FRow;
        index = StringIndex(FRow, FCol);
    }
    // The chunk ends where enough text follows the search's start to decide every start tried.
    int top = FStore->LogicalLineStart(row);
    std::string chunk = RowsText(top, row - 1);
    from.Start = static_cast<std::int32_t>(chunk.size()) + index;
    KeepDecidingRows(chunk, row, static_cast<std::size_t>(from.Start), reach, Options);
    for (;;) {
        TSearchInfo info = from;
        if (quillon::SearchText(chunk, info, Pattern, Options)) return FoundAt(top, info);
        if (top == 0) return false;
        // Every start of the chunk is decided. The next chunk is the rows above it with as much of
        // its head as decides the starts tried again there (the first Reach bytes).
        const std::size_t retried = std::min({reach, static_cast<std::size_t>(from.Start), chunk.size()});
        chunk.resize(0);
        KeepDecidingRows(chunk, top, retried, reach, Options);
        int above = top;
        std::size_t added = 0;
        while (above > 0 && (added < kChunkSize || GetRowAttribute(above - 1) == raWrapped))
            added += RowText(--above).size();
        chunk.insert(0, RowsText(above, top - 1));
        from = TSearchInfo{static_cast<std::int32_t>(added + retried), 0};
        top = above;
    }
}

void TEditor::KeepDecidingRows(std::string& Chunk, int Row, std::size_t Start, std::size_t Reach,
                               TSearchOptions Options) const {
    const int last = RowCount() - 1;
    std::size_t after = SignificantBytes(std::string_view(Chunk).substr(std::min(Start, Chunk.size())), Options);
    for (int next = Row; next <= last && (next == Row || GetRowAttribute(next - 1) == raWrapped || after <= Reach);) {
        const std::string text = RowText(next++);
        const std::size_t skipped = Start > Chunk.size() ? Start - Chunk.size() : 0;
        after += SignificantBytes(std::string_view(text).substr(std::min(skipped, text.size())), Options);
        Chunk += text;
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
