// TEditorEx: replacing every occurrence at once.
#include "EditorEx.h"

#include "AnsiCase.h"
#include "EditorUtils.h"
#include "GapText.h"
#include "PlainFind.h"

#include <algorithm>

namespace quillon {

bool TEditorEx::ScanStep(std::string_view Work, std::size_t Base, const std::string& Pattern, std::size_t From,
                         int Reach, std::size_t BreakAt, std::size_t Before, TScanStep& Step) const {
    From -= Base;
    Step.Next = From;
    if (FSearchOptions & sfoRegExp) {
        const bool found = FFinder->FindFrom(Work, Step.Next, Step.Start, Step.End, Before - std::min(Before, Base));
        // With nothing left to search, the end of Work tells that there is no match.
        const std::size_t readEnd = From < Work.size() ? From + FFinder->ReadEnd() : Work.size();
        if (!found) {
            Step.ReadEnd = Base + readEnd;
            return false;
        }
        Step.Counted = Step.End > Step.Start;
        if (Step.Counted && BreakAt != std::string::npos)
            TakeWholeLineBreak(BreakAt - Base, Step.Start, Step.End, Step.Next);
        Step.ReadEnd = std::max(readEnd, Step.End);
        Step.Passed = From + FFinder->PassedEnd();
    } else {
        if (Pattern.empty() || !FindPlainFrom(Work, Pattern, Step.Next, Step.Start)) return false;
        Step.End = Step.Next;
        Step.Counted = !(FSearchOptions & sfoWholeWord) ||
                       IsWholeWord(Work, static_cast<int>(Step.Start) + 1, static_cast<int>(Pattern.size()));
        Step.ReadEnd = Step.Passed = Step.Start + static_cast<std::size_t>(Reach);
    }
    // The search steps through the characters from From as this walk does; what it decided at a
    // character before Start - Reach + 1 read nothing from Start on.
    Step.Resume = From;
    if (Reach >= 0 && Step.Start + 1 >= From + static_cast<std::size_t>(Reach)) {
        const std::size_t last = Step.Start + 1 - static_cast<std::size_t>(Reach);
        Step.Resume = StartsChar(Work, From, last) ? last : last - 1;
    }
    for (std::size_t* offset : {&Step.Start, &Step.End, &Step.Next, &Step.Resume, &Step.ReadEnd, &Step.Passed})
        *offset += Base;
    return true;
}

// A plain step reads the occurrence and, for a whole word, the character after it (two bytes); a
// regular expression step as far as the finder's reach.
int TEditorEx::SearchReach(const std::string& Pattern) const {
    if (!(FSearchOptions & sfoRegExp))
        return static_cast<int>(Pattern.size()) + (FSearchOptions & sfoWholeWord ? 2 : 0);
    return FFinder->SearchReach();
}

// ---- Replacing every occurrence
//
// Replacing one occurrence at a time moves the caret, scrolls and paints, and records an undo step
// for each. ReplaceAll instead runs the same searches over a copy of the text and writes the
// changed part back in one change. After each replacement FindNext searches the caret's logical line
// again from its start: a later match may begin inside or right after the text just inserted, whole
// words see the new neighbours, a match found before it may now reach into it and hide one after it,
// and backwards a match may start before the replacement and end inside it. ReplaceAll keeps the
// steps of that search (see TScanStep) and repeats only those that read the changed text: a step
// that read nothing from the replacement on finds the same in the new line, and each step depends
// only on the text from where it searched. So it finds exactly what the search from the start
// finds, in time that grows with the line, not with the line times its replacements, unless a
// regular expression reads far from each place it tries (".*", or "a$" in a long run of a's).
//
// The line of the search is the caret's logical line of the text as it now stands: a match that
// takes the line break joins the next line to it, and a replacement holding line breaks cuts it,
// the search going on in the piece the caret stands in (forwards the last, backwards the first).
// The search goes on from where the replacement leaves the caret in the text: forwards after it,
// backwards before it. Every replacement takes at least one byte, so forwards the text after that
// place, backwards the text before it, shrinks with each one: the replacements always end.
//
// The text is held with a gap that follows the replacements (TGapText), so that a replacement of
// another length moves only the bytes between the gap and it, never the rest of the text. Backwards
// the searches read the line before the gap: they seek only matches before the replacement, which
// read past it only as far as their walks do, so the gap stays a little past the replacement and
// moves on only when a step reads up to it.

void TEditorEx::AddSpanBefore(std::vector<TSpan>& Spans, std::size_t Start, std::size_t End, std::size_t NewLength) {
    std::size_t end = End, oldEnd = End;
    std::ptrdiff_t shift = 0; // the text as it stands less the old text, after the spans merged so far
    while (!Spans.empty()) {
        const TSpan& b = Spans.back();
        const std::size_t bStart = b.Pos + static_cast<std::size_t>(shift);
        if (bStart > end) break;
        const std::size_t bEnd = bStart + b.NewLength;
        shift += static_cast<std::ptrdiff_t>(b.NewLength) - static_cast<std::ptrdiff_t>(b.OldLength);
        if (bEnd >= end) {
            end = bEnd;
            oldEnd = b.Pos + b.OldLength;
        } else {
            oldEnd = end - static_cast<std::size_t>(shift);
        }
        Spans.pop_back();
    }
    Spans.push_back({Start, oldEnd - Start, end - Start + NewLength - (End - Start)});
}

void TEditorEx::PushStep(TScanStep& Step, std::vector<TScanStep>& Steps) {
    Step.ReadBefore = std::max(Step.ReadEnd, Steps.empty() ? 0 : Steps.back().ReadBefore);
    Steps.push_back(Step);
}

std::optional<TEditorEx::TScanStep> TEditorEx::HitAfter(std::string_view Work, std::size_t Base,
                                                        const std::string& Pattern, std::size_t Start, int Reach,
                                                        std::size_t BreakAt, std::size_t& From,
                                                        std::vector<TScanStep>& Steps) const {
    TScanStep step;
    while (ScanStep(Work, Base, Pattern, From, Reach, BreakAt, std::string::npos, step)) {
        PushStep(step, Steps);
        From = step.Next;
        if (step.Counted && step.Start >= Start) return step;
    }
    return std::nullopt;
}

std::optional<TEditorEx::TScanStep> TEditorEx::HitBefore(std::string_view Work, std::size_t Base,
                                                         const std::string& Pattern, std::size_t Start, int Reach,
                                                         std::size_t BreakAt, std::size_t LineEnd, std::size_t& From,
                                                         std::vector<TScanStep>& Steps, bool& Short) const {
    // The steps that find matches before Start read no further than this.
    if (Reach >= 0) Work = Work.substr(0, std::min(Work.size(), Start + static_cast<std::size_t>(Reach) - Base));
    // Otherwise a step that read up to the end of a cut line may answer otherwise on the whole.
    const std::size_t workEnd = Base + Work.size();
    const bool cut = Reach < 0 && workEnd < LineEnd;
    // Only matches before Start are sought, so a step reads past it no further than its walks; one at
    // the LF of the line break is taken from the CR before it.
    TScanStep step;
    for (bool more = true; more;) {
        more = ScanStep(Work, Base, Pattern, From, Reach, BreakAt, Start + 1, step) && step.Start < Start;
        Short = cut && step.ReadEnd >= workEnd;
        if (Short) return std::nullopt;
        if (!more) break;
        PushStep(step, Steps);
        From = step.Next;
    }
    const auto hit = std::find_if(Steps.rbegin(), Steps.rend(),
                                  [Start](const TScanStep& s) { return s.Counted && s.Start < Start; });
    if (hit == Steps.rend()) return std::nullopt;
    return *hit;
}

std::size_t TEditorEx::RowsStart(int Row) const {
    std::size_t offset = 0;
    for (int r = 0; r < Row && r < RowCount(); ++r)
        offset += RowView(r).size() + (GetRowAttribute(r) == raLineBreak ? 2 : 0);
    return offset;
}

void TEditorEx::PlanReplaceAll(const std::string& Replacement, bool Backward, TReplacePlan& Plan) {
    const std::string pattern = SearchPattern();
    PrepareFinder(pattern);
    const bool regExp = FSearchOptions & sfoRegExp, fold = !(FSearchOptions & sfoMatchCase);
    const std::string with = WithCrLf(Replacement);
    const std::string workWith = fold ? LowerCaseFileName(with) : with;
    const std::size_t firstBreak = with.find('\r'), lastBreak = with.rfind('\r');
    const int reach = SearchReach(pattern);
    const std::size_t limit = WordWrap() ? std::string::npos : kMaxColumns;
    if (RowCount() == 0 || (!Backward && Row() >= RowCount())) return;
    TGapText text(Backward), folded(Backward);
    {
        std::string whole = ScreenStrings().GetRowsText(0, RowCount());
        if (fold) {
            std::string low = LowerCaseFileName(whole);
            folded.Take(low);
        }
        text.Take(whole);
    }
    TGapText& work = fold ? folded : text; // the text as the search reads it
    // The caret's logical line: its first row (backwards, a row of the text before any replacement),
    // its offset, its length and whether a line break follows it.
    int first = FirstRowOfLine(std::min(Row(), RowCount() - 1));
    std::size_t lineStart = RowsStart(first), length = 0, searchFrom = 0;
    bool lineBreak = false;
    // The end of the line that goes on at From, and whether a line break follows it.
    auto lineEnd = [&work](std::size_t From, bool& Break) {
        const std::size_t end = work.Find('\r', From);
        Break = end != std::string::npos;
        return Break ? end : work.Size();
    };
    length = lineEnd(lineStart, lineBreak) - lineStart;
    if (!Backward)
        searchFrom = static_cast<std::size_t>(std::max(NextSearchStart(first), 0));
    else if (Row() >= RowCount())
        searchFrom = std::min(length + 2, limit);
    else
        searchFrom = static_cast<std::size_t>(std::max(PrevSearchStart(first), 0));
    // Backwards, the lines after the caret's line, from the last to the next one: their lengths and
    // breaks, for a match that joins one to the line.
    std::vector<std::pair<std::size_t, bool>> below;
    if (Backward && lineBreak) {
        const std::size_t next = lineStart + length + 2;
        bool nextBreak = false;
        below.emplace_back(lineEnd(next, nextBreak) - next, nextBreak);
    }
    std::vector<TScanStep> steps;
    std::vector<TSpan> spans;
    std::ptrdiff_t shift = 0; // forwards: the text as it stands less the old text, before the caret
    // Backwards with an unbounded reach, how far past a replacement the gap leaves the line to read
    // (doubled while a step reads up to the gap, so that the bytes moved per replacement are about
    // what its search reads).
    constexpr std::size_t kAhead = 32;
    std::size_t ahead = kAhead;
    for (;;) {
        steps.clear();
        std::size_t next = 0; // where the search of the line goes on
        for (;;) {
            // The line as CollectLineMatches searches it, as far as it lies on the read side of the gap.
            const std::size_t viewEnd = lineStart + length + (regExp && lineBreak ? 2 : 0);
            const std::size_t viewStart = std::max(work.Base(), lineStart);
            const std::string_view read = work.Read();
            const std::string_view view =
                read.substr(viewStart - work.Base(), std::min(viewEnd, work.Base() + read.size()) - viewStart);
            const std::size_t base = viewStart - lineStart;
            const std::size_t breakAt = regExp && lineBreak ? length : std::string::npos;
            bool shortView = false;
            const std::optional<TScanStep> hit =
                Backward ? HitBefore(view, base, pattern, searchFrom, reach, breakAt, viewEnd - lineStart, next, steps,
                                     shortView)
                         : HitAfter(view, base, pattern, searchFrom, reach, breakAt, next, steps);
            if (shortView) {
                // The view grows each time, and is never short once it reaches the line's end.
                const std::size_t gap = std::min(viewEnd, viewStart + view.size() + ahead);
                ahead *= 2;
                text.MoveGap(gap);
                if (fold) folded.MoveGap(gap);
                continue;
            }
            if (!hit || (!Backward && hit->Start >= limit)) break;
            const std::size_t pos = hit->Start, end = hit->End;
            // The steps that read the replaced text search again, from where the first of them read it.
            // Forwards, where every later replacement lies after this one, a step whose passing over
            // the places before its match read nothing from Pos on searches again from its match.
            while (!steps.empty() && steps.back().ReadBefore > pos) {
                const TScanStep& step = steps.back();
                next = !Backward && step.Passed <= pos ? step.Start : step.Resume;
                steps.pop_back();
            }
            // So do the places before Next that a resumed step passed over without reading the text
            // after them (a step resumes before its start only with a bounded reach): those from
            // which the search reads the replaced text.
            const std::size_t reread = pos + 1 - std::min(pos + 1, static_cast<std::size_t>(std::max(reach, 0)));
            if (reach >= 0 && reread < next && (steps.empty() || steps.back().Next <= reread))
                next = reread <= base
                           ? std::max(base, steps.empty() ? 0 : steps.back().Next)
                           : static_cast<std::size_t>(CharStartOf(view, static_cast<int>(reread - base))) + base;
            // Forwards the search reads on from Next and Pos on, and the character before (a whole word
            // looks at it); backwards what the steps before Pos read (Reach bytes past it), and the byte
            // after the replacement (the end of the bytes read passes for a character start).
            const std::size_t resume = std::min(next, pos);
            std::size_t gap = lineStart;
            if (!Backward && resume > base)
                gap += static_cast<std::size_t>(CharStartOf(view, static_cast<int>(resume - 1 - base))) + base;
            if (Backward) {
                AddSpanBefore(spans, lineStart + pos, lineStart + end, with.size());
            } else {
                spans.push_back({lineStart + pos - static_cast<std::size_t>(shift), end - pos, with.size()});
                shift += static_cast<std::ptrdiff_t>(with.size()) - static_cast<std::ptrdiff_t>(end - pos);
            }
            text.Replace(lineStart + pos, end - pos, with);
            if (fold) folded.Replace(lineStart + pos, end - pos, workWith);
            ++Plan.Replacements;
            if (end > length) { // the match took the line break: the next line joins this one
                if (Backward) {
                    length = pos + with.size() + below.back().first;
                    lineBreak = below.back().second;
                    below.pop_back();
                } else {
                    length = lineEnd(lineStart + pos + with.size(), lineBreak) - lineStart;
                }
            } else {
                length = length + with.size() - (end - pos);
            }
            if (Backward) {
                Plan.Caret = lineStart + pos;
                searchFrom = pos;
                if (firstBreak != std::string::npos) {
                    // The line ends at the replacement's first line break; the pieces after it follow.
                    const std::size_t rest = length - pos - with.size();
                    std::size_t pieceEnd = with.size(), piece = lastBreak + 2;
                    below.emplace_back(pieceEnd - piece + rest, lineBreak);
                    while (piece > firstBreak + 2) {
                        pieceEnd = piece - 2;
                        piece = with.rfind('\r', pieceEnd - 1) + 2;
                        below.emplace_back(pieceEnd - piece, true);
                    }
                    length = pos + firstBreak;
                    lineBreak = true;
                }
                ahead = kAhead;
                gap = lineStart + pos + (reach < 0 ? ahead : static_cast<std::size_t>(reach)) + with.size() + 1;
                gap = std::min(gap, lineStart + length + 2);
            } else {
                Plan.Caret = lineStart + pos + with.size();
                searchFrom = pos + with.size();
                if (lastBreak != std::string::npos) {
                    // The search goes on in the line that starts after the replacement's last line break.
                    const std::size_t cut = pos + lastBreak + 2;
                    lineStart += cut;
                    length -= cut;
                    searchFrom -= cut;
                    steps.clear();
                    next = 0;
                    gap = lineStart;
                }
            }
            text.MoveGap(gap);
            if (fold) folded.MoveGap(gap);
        }
        if (Backward) {
            if (first <= 0) break;
            below.emplace_back(length, lineBreak);
            const int previous = FirstRowOfLine(first - 1);
            length = 0;
            for (int r = previous; r < first; ++r) length += RowView(r).size();
            lineStart -= length + 2;
            lineBreak = true;
            first = previous;
            searchFrom = std::min(length + 2, limit);
        } else {
            if (!lineBreak) break;
            lineStart += length + 2;
            length = lineEnd(lineStart, lineBreak) - lineStart;
            searchFrom = 0;
        }
    }
    if (Backward) std::reverse(spans.begin(), spans.end());
    Plan.Spans = std::move(spans);
    if (!Plan.Spans.empty()) Plan.Text = std::move(text).Text();
}

int TEditorEx::ReplaceAll(const std::string& Replacement, bool Backward) {
    // A read-only text keeps its occurrences: searching on from each would find the same one forever.
    if (ReadOnly()) return 0;
    TReplacePlan plan;
    PlanReplaceAll(Replacement, Backward, plan);
    if (plan.Replacements > 0) ApplyReplacePlan(plan);
    return plan.Replacements;
}

void TEditorEx::ApplyReplacePlan(const TReplacePlan& Plan) {
    const std::string_view text = Plan.Text;
    // The rows of the spans' first and last bytes (offsets of the text before the replacements).
    struct TRowOf {
        int Row;
        std::size_t Start; // of the row
    };
    std::vector<TRowOf> rows;
    rows.reserve(Plan.Spans.size() * 2);
    int row = 0;
    std::size_t rowStart = 0;
    auto rowOf = [&](std::size_t Offset) {
        for (;;) {
            const std::size_t next = rowStart + RowView(row).size() + (GetRowAttribute(row) == raLineBreak ? 2 : 0);
            if (Offset < next || row + 1 >= RowCount()) return TRowOf{row, rowStart};
            rowStart = next;
            ++row;
        }
    };
    bool inRows = !WordWrap();
    std::ptrdiff_t shift = 0;
    std::vector<TRowSplice> splices;
    for (const TSpan& span : Plan.Spans) {
        const TRowOf at = rowOf(span.Pos);
        rows.push_back(at);
        const TRowOf last = rowOf(span.Pos + span.OldLength - 1);
        rows.push_back(last);
        const std::string_view now = text.substr(span.Pos + static_cast<std::size_t>(shift), span.NewLength);
        shift += static_cast<std::ptrdiff_t>(span.NewLength) - static_cast<std::ptrdiff_t>(span.OldLength);
        // Unwrapped, a change inside one row is made inside it.
        inRows = inRows && at.Row == last.Row && span.Pos + span.OldLength <= at.Start + RowView(at.Row).size() &&
                 now.find_first_of("\r\n") == std::string_view::npos;
        if (inRows) splices.push_back({at.Row, span.Pos - at.Start, span.OldLength, now});
    }
    const int ref = rows.front().Row;
    const auto caret = static_cast<int>(Plan.Caret - rows.front().Start);
    CancelSelection();
    if (inRows && ReplaceInRows(splices, ref, caret)) return;
    // Otherwise the rows from the first changed line to the last are written again.
    int firstRow = FirstRowOfLine(ref);
    const int lastRow = LastRowOfLine(rows.back().Row);
    const std::size_t oldEnd = RowsStart(lastRow + 1);
    std::size_t start = RowsStart(firstRow);
    // Emptied lines at the end of the text leave their rows as the replacements one by one do.
    if (oldEnd + static_cast<std::size_t>(shift) == start && firstRow > 0) {
        firstRow = FirstRowOfLine(firstRow - 1);
        start = RowsStart(firstRow);
    }
    ReplaceRows(firstRow, lastRow, text.substr(start, oldEnd + static_cast<std::size_t>(shift) - start), firstRow,
                static_cast<int>(Plan.Caret - start));
}
} // namespace quillon
