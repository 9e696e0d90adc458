// TEditorEx: the find string's matches, and finding them one at a time.
#include "EditorEx.h"

#include "AnsiCase.h"
#include "PlainFind.h"

#include <algorithm>
#include <climits>

namespace quillon {

void TEditorEx::TakeWholeLineBreak(std::size_t Length, std::size_t& Start, std::size_t& End, std::size_t& Next) {
    if (Start == Length + 1) Start = Length;
    if (End == Length + 1) {
        End = Length + 2;
        Next = std::max(Next, End);
    }
}

std::string TEditorEx::WithCrLf(std::string_view S) {
    std::string r;
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '\r' && S[i] != '\n') {
            r += S[i];
            continue;
        }
        r += "\r\n";
        if (S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n') ++i;
    }
    return r;
}

std::string TEditorEx::SearchPattern() const {
    return FSearchOptions & sfoMatchCase ? FFindString : LowerCaseFileName(FFindString);
}

int TEditorEx::CollectFindMatches(int Row) {
    const std::string pattern = SearchPattern();
    const std::uint64_t version = ScreenStrings().Version();
    if (FMatchesFirst <= Row && Row <= FMatchesLast && FMatchesVersion == version && FMatchesPattern == pattern &&
        FMatchesOptions == FSearchOptions)
        return static_cast<int>(FMatches.size());
    FMatches.clear();
    FMatchesLast = -1; // kept only once collected: a bad pattern raises every time
    PrepareFinder(pattern);
    CollectLineMatches(LogicalLineText(Row), GetRowAttribute(LastRowOfLine(Row)) == raEndOfText, pattern, FMatches);
    if (Row >= 0) {
        FMatchesFirst = FMatchesRow = FirstRowOfLine(Row);
        FMatchesLast = LastRowOfLine(Row);
        FMatchesRowStart = 0;
        FMatchesVersion = version;
        FMatchesPattern = pattern;
        FMatchesOptions = FSearchOptions;
    }
    return static_cast<int>(FMatches.size());
}

void TEditorEx::PrepareFinder(const std::string& Pattern) {
    if (FSearchOptions & sfoRegExp) FFinder->SetRegExp(Pattern);
}

void TEditorEx::CollectLineMatches(std::string_view Line, bool EndsText, const std::string& Pattern,
                                   TFindMatchList& Matches) {
    std::string folded;
    if (!(FSearchOptions & sfoMatchCase)) Line = folded = LowerCaseFileName(Line);
    if (FSearchOptions & sfoRegExp) {
        // "$" matches before the line break under the CR LF separator.
        if (EndsText) {
            CollectRegExp(Line, Line.size(), Matches);
        } else {
            FLineAndBreak.assign(Line).append("\r\n");
            CollectRegExp(FLineAndBreak, Line.size(), Matches);
        }
    } else {
        CollectPlain(Line, Pattern, Matches);
    }
}

void TEditorEx::CollectRegExp(std::string_view Text, std::size_t LineLength, TFindMatchList& Matches) const {
    std::size_t from = 0, start = 0, end = 0;
    while (FFinder->FindFrom(Text, from, start, end)) {
        if (end == start) continue;
        TakeWholeLineBreak(LineLength, start, end, from);
        Matches.push_back({static_cast<int>(start) + 1, static_cast<int>(end - start)});
    }
}

void TEditorEx::CollectPlain(std::string_view Line, std::string_view Pattern, TFindMatchList& Matches) const {
    if (Pattern.empty()) return;
    const bool wholeWord = FSearchOptions & sfoWholeWord;
    const int length = static_cast<int>(Pattern.size());
    std::size_t from = 0, start = 0;
    while (FindPlainFrom(Line, Pattern, from, start)) {
        const int position = static_cast<int>(start) + 1;
        if (!wholeWord || IsWholeWord(Line, position, length)) Matches.push_back({position, length});
    }
}

std::optional<TFindMatch> TEditorEx::MatchAfter(int Row, int Start) {
    CollectFindMatches(Row);
    const auto it =
        std::find_if(FMatches.begin(), FMatches.end(), [Start](const TFindMatch& m) { return m.Position > Start; });
    if (it == FMatches.end() || (!WordWrap() && it->Position > kMaxColumns)) return std::nullopt;
    return *it;
}

std::optional<TFindMatch> TEditorEx::MatchUpTo(int Row, int Start) {
    CollectFindMatches(Row);
    const auto it =
        std::find_if(FMatches.rbegin(), FMatches.rend(), [Start](const TFindMatch& m) { return m.Position <= Start; });
    if (it == FMatches.rend()) return std::nullopt;
    return *it;
}

void TEditorEx::MarkMatch(int FirstRow, const TFindMatch& Match, bool CaretToStart) {
    CancelSelection();
    SetCaretToLineOffset(FirstRow, Match.Position - 1);
    SetHitSelLength(Match.Length);
    if (CaretToStart) SetCaretToLineOffset(FirstRow, Match.Position - 1);
}

int TEditorEx::NextSearchStart(int First) const {
    return LineOffset(First, Row(), Col()) + (HitStyle() == hsCaret ? HitSelLength() : 0);
}

int TEditorEx::PrevSearchStart(int First) const {
    return std::min(LineOffset(First, Row(), Col()), WordWrap() ? INT_MAX : kMaxColumns);
}

bool TEditorEx::FindNext() {
    if (const std::string pattern = SearchPattern(); UsesChunkFind(pattern)) return FindNextInChunks(pattern);
    int row = Row();
    int first = FirstRowOfLine(row);
    std::optional<TFindMatch> match = MatchAfter(row, NextSearchStart(first));
    while (!match && row < RowCount()) {
        row = first = LastRowOfLine(row) + 1;
        match = MatchAfter(row, 0);
    }
    if (!match) return false;
    MarkMatch(first, *match, false);
    return true;
}

bool TEditorEx::FindPrev() {
    if (const std::string pattern = SearchPattern(); UsesChunkFind(pattern)) return FindPrevInChunks(pattern);
    const int limit = WordWrap() ? INT_MAX : kMaxColumns;
    int row = Row();
    int first = FirstRowOfLine(row);
    std::optional<TFindMatch> match = MatchUpTo(row, PrevSearchStart(first));
    while (!match) {
        row = first - 1;
        if (row < 0) return false;
        first = FirstRowOfLine(row);
        const int length = static_cast<int>(LogicalLineText(row).size());
        match = MatchUpTo(row, std::min(length + 2, limit));
    }
    MarkMatch(first, *match, HitStyle() != hsCaret);
    return true;
}

// ---- The Find command over chunks of lines
//
// A plain find string that TChunkFind serves is sought in chunks of whole logical lines (about
// kSearchChunkSize bytes each), which hold the same matches at the same places as the lines do
// (PlainFind.h): the command then costs about one memmem over the text, not a copy and a search of
// every line. The rules of the line search still apply, line by line: forwards, a line whose first
// match after the search start lies past column kMaxColumns (without word wrap) offers none;
// backwards, the last match of a line before the search start (the caret's line) or before column
// kMaxColumns (without word wrap) is taken. A match never leaves its line, so a chunk of whole
// lines decides every match in it, and each chunk is read once.

bool TEditorEx::UsesChunkFind(const std::string& Pattern) const {
    return !(FSearchOptions & sfoRegExp) && TChunkFind::Serves(Pattern);
}

bool TEditorEx::FindNextInChunks(const std::string& Pattern) {
    const int rows = RowCount(); // a word wrap still being cut is finished first
    const int row = Row();
    if (row >= rows) return false;
    const TEditorScreenStrings& store = ScreenStrings();
    TChunkFind finder(Pattern, FSearchOptions & sfoMatchCase, FSearchOptions & sfoWholeWord);
    std::string chunk;
    std::vector<TEditorScreenStrings::TLineStart> lines;
    // The first chunk starts with the caret's row, or the row before it for the character before a
    // match; the offset of its start in the caret's line counts for that line's matches.
    const int first = FirstRowOfLine(row), top = row > first ? row - 1 : first;
    std::size_t topOffset = static_cast<std::size_t>(LineOffset(first, top, 0));
    if (top > first) lines.push_back({first, 0});
    int next = store.AppendLines(top, rows, kSearchChunkSize, chunk, lines);
    // Where the search starts in the chunk: never past the caret's line.
    const std::size_t from = static_cast<std::size_t>(std::max(NextSearchStart(first), 0));
    std::size_t start = std::min(from - std::min(from, topOffset), lines.size() > 1 ? lines[1].Offset : chunk.size());
    for (;;) {
        finder.SetChunk(chunk);
        std::size_t line = 0;
        for (std::size_t at = finder.Next(start); at != std::string::npos;) {
            while (line + 1 < lines.size() && lines[line + 1].Offset <= at) ++line;
            const std::size_t offset = at - lines[line].Offset + (line == 0 ? topOffset : 0);
            if (WordWrap() || offset < static_cast<std::size_t>(kMaxColumns)) {
                MarkMatch(lines[line].Row, {static_cast<int>(offset) + 1, static_cast<int>(finder.Length())}, false);
                return true;
            }
            // The line's first match lies past the last column: the search goes on in the next line.
            at = line + 1 < lines.size() ? finder.Next(lines[line + 1].Offset) : std::string::npos;
        }
        if (next >= rows) return false;
        chunk.clear();
        lines.clear();
        next = store.AppendLines(next, rows, kSearchChunkSize, chunk, lines);
        start = topOffset = 0;
    }
}

bool TEditorEx::FindPrevInChunks(const std::string& Pattern) {
    const int rows = RowCount(); // a word wrap still being cut is finished first
    const TEditorScreenStrings& store = ScreenStrings();
    TChunkFind finder(Pattern, FSearchOptions & sfoMatchCase, FSearchOptions & sfoWholeWord);
    const std::size_t limit = WordWrap() ? std::string::npos : static_cast<std::size_t>(kMaxColumns);
    // The caret's line is searched before the search start, and alone; the lines above it in chunks.
    int caretLine = -1, top = rows, bottom = rows;
    std::size_t before = 0;
    if (Row() < rows) {
        caretLine = top = FirstRowOfLine(Row());
        bottom = LastRowOfLine(Row()) + 1;
        before = static_cast<std::size_t>(std::max(PrevSearchStart(caretLine), 0));
    } else {
        top = store.LinesAbove(rows, kSearchChunkSize);
    }
    std::string chunk;
    std::vector<TEditorScreenStrings::TLineStart> lines;
    for (;;) {
        chunk.clear();
        lines.clear();
        store.AppendLines(top, bottom, std::string::npos, chunk, lines);
        finder.SetChunk(chunk);
        // The last match of the chunk that its line's bound leaves.
        std::optional<std::pair<int, TFindMatch>> last;
        std::size_t line = 0;
        for (std::size_t at = finder.Next(0); at != std::string::npos; at = finder.Next(at + 1)) {
            while (line + 1 < lines.size() && lines[line + 1].Offset <= at) ++line;
            const std::size_t offset = at - lines[line].Offset;
            if (offset < (lines[line].Row == caretLine ? before : limit))
                last = {lines[line].Row, {static_cast<int>(offset) + 1, static_cast<int>(finder.Length())}};
        }
        if (last) {
            MarkMatch(last->first, last->second, HitStyle() != hsCaret);
            return true;
        }
        if (top == 0) return false;
        bottom = top;
        top = store.LinesAbove(top, kSearchChunkSize);
    }
}

void TEditorEx::ReplaceHit(const std::string& Replacement, bool Backward) {
    if (HitStyle() != hsSelect) HitToSelection();
    // The caret goes behind the text as the rows hold it.
    const std::string with = WithCrLf(Replacement);
    SetSelText(with);
    if (Backward) SetSelStart(SelStart() - static_cast<int>(with.size()));
}
} // namespace quillon
