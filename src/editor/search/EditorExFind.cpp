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

void TEditorEx::ReplaceHit(const std::string& Replacement, bool Backward) {
    if (HitStyle() != hsSelect) HitToSelection();
    // The caret goes behind the text as the rows hold it.
    const std::string with = WithCrLf(Replacement);
    SetSelText(with);
    if (Backward) SetSelStart(SelStart() - static_cast<int>(with.size()));
}
} // namespace quillon
