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

constexpr std::size_t kChunkSize = 65536;

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
    for (int row = First; row <= Last; ++row) AppendRowText(text, row);
    return text;
}

bool TEditor::SearchText(std::string_view Pattern, TSearchOptions Options) {
    if (RowCount() == 0 || (RowCount() == 1 && RowTextSize(0) == 0)) return false; // an empty text
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
        // The logical lines that begin in the chunk: their first rows and offsets, in order.
        std::vector<std::pair<int, std::size_t>> lines{{top, 0}};
        int lastAttr = row > top ? raWrapped : raLineBreak; // of the chunk's last row
        for (std::size_t size = kChunkSize;;) {
            while (next <= last && (next == row || chunk.size() < size || lastAttr == raWrapped)) {
                if (lastAttr != raWrapped && next != top) lines.emplace_back(next, chunk.size());
                lastAttr = GetRowAttribute(next);
                chunk += FStore->Get(next++);
                if (lastAttr == raLineBreak) chunk += "\r\n";
            }
            TSearchInfo info = from;
            const bool found = quillon::SearchText(chunk, info, Pattern, Options);
            if (found && decided(chunk, static_cast<std::size_t>(info.Start), next > last)) return FoundAt(top, info);
            if (!found && next > last) return false;
            // Every start before the last Reach bytes that a match cannot pass over is decided: the
            // next chunk begins with the logical line that holds the first start not decided.
            std::size_t undecided = chunk.size(), counted = 0;
            while (undecided > 0 && counted <= reach)
                counted += SignificantBytes(std::string_view(chunk).substr(--undecided, 1), Options);
            auto line = std::upper_bound(lines.begin(), lines.end(), undecided,
                                         [](std::size_t At, const auto& Line) { return At < Line.second; }) -
                        1;
            if (line == lines.begin()) {
                size *= 2; // one line holds every undecided start: the chunk grows instead
                continue;
            }
            const std::size_t lineStart = line->second;
            top = line->first;
            lines.erase(lines.begin(), line);
            for (auto& l : lines) l.second -= lineStart;
            chunk.erase(0, lineStart);
            const std::int64_t start = std::max<std::int64_t>(std::int64_t{from.Start} + from.Length, undecided);
            from = TSearchInfo{static_cast<std::int32_t>(start - static_cast<std::int64_t>(lineStart)), 0};
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
            added += RowTextSize(--above);
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
