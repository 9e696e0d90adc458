#include "RowStates.h"

#include "Colourer.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

namespace quillon {

void TColourerParser::ScanRow(int Index, const TRowStateStore& Strings, TRowAttributeData& Data) {
    Data.RowAttribute = Strings.RowAttributeOf(Index);
    const std::string_view row = Strings.RowText(Index);
    const int L = static_cast<int>(row.size());
    // A token, or a left bracket, that the row before cut, and that covers this whole row: it ends
    // further down, or here (a left bracket leaves the next row inside its bracket).
    if (Data.Remain < 0 && -Data.Remain >= L) {
        Data.Remain += L;
        if (Data.Remain == 0 || Data.RowAttribute != raWrapped) {
            Data.ContinuedToken = 0;
            Data.Remain = 0;
        }
        return;
    }
    if (Data.Remain > 0 && Data.Remain >= L && Data.ContinuedToken != tkBracket) {
        Data.Remain -= L;
        if (Data.Remain == 0 || Data.RowAttribute != raWrapped) {
            Data.ContinuedToken = 0;
            Data.Remain = 0;
        }
        return;
    }
    // A comment re-scanned by its method: the whole row belongs to it, and it ends with the line.
    if (Data.Remain == 0 && GetLineEndTokenKinds().test(static_cast<std::size_t>(Data.ContinuedToken))) {
        if (Data.RowAttribute != raWrapped) Data.ContinuedToken = 0;
        return;
    }
    if (Data.Remain == 0 && Data.PrevRowAttribute == raWrapped &&
        row.find_first_not_of(' ') == std::string_view::npos) {
        // An empty or all-blank row inside a line passes the state on, but a token carried over a
        // wrap ends at a real line break here as everywhere else.
        if (Data.RowAttribute != raWrapped) Data.ContinuedToken = 0;
        return;
    }
    // A long line of one row (word wrap off) is scanned in stretches between marks, kept beside the
    // store: after a change inside it only the stretches around the change are read again.
    const auto* longRows = L >= TLongRowScans::MinLength ? dynamic_cast<const TLongRowStore*>(&Strings) : nullptr;
    if (longRows && Data.Remain == 0 && Data.ContinuedToken == 0 && Data.PrevRowAttribute != raWrapped &&
        Data.RowAttribute != raWrapped) {
        longRows->LongRowScans().Scan(*this, Index, row, Data);
        return;
    }
    // A wrapped row is scanned with as much of the rest of its line as its last token needs.
    for (std::size_t ahead = TLineWindow::MinAhead;; ahead *= 2) {
        TRowAttributeData data = Data;
        ScanText(FLine.Row(Strings, Index, row, ahead), L, data);
        if (FLine.Covers(static_cast<std::size_t>(FNextPtr - FBuffer))) {
            Data = std::move(data);
            return;
        }
    }
}

bool TColourerParser::ScanText(const char* Text, int L, TRowAttributeData& Data,
                               const std::function<int(int Pos)>* Visit, int First) {
    int B = Data.BracketIndex, F = Data.FieldIndex, P = Data.ParseValue, K = tkEnd;
    bool opens = false; // the latest token starts with its left bracket
    NewData(Text, Data);
    // A row that starts a line may start its parser afresh (a list's first field), tokens or none.
    Data.FieldIndex = FFieldIndex;
    Data.ParseValue = FParseValue;
    Data.ParseFlag = FParseFlag;
    int visit = Visit ? First : std::numeric_limits<int>::max();
    for (;;) {
        if (FNextPtr - FBuffer >= visit && (visit = (*Visit)(static_cast<int>(FNextPtr - FBuffer))) < 0) return false;
        if (NextToken() == tkEnd || SourcePos() >= L) break;
        K = FTokenKind;
        opens = K == tkBracket && Data.BracketIndex < 0;
        Data.BracketIndex = FBracketIndex;
        if (K == tkBracket) B = FLastBracketIndex;
        F = FFieldIndex;
        P = FParseValue;
        if (SourcePos() + TokenLength() > L) break; // the token crosses the row end
        Data.FieldIndex = FFieldIndex;
        Data.ParseValue = FParseValue;
        Data.ParseFlag = FParseFlag;
    }
    if (FTokenKind != tkEnd && SourcePos() >= L) {
        // The next token starts in the next row, which starts in the state before it: after the
        // row's last token, or, in a row without a token of its own (blanks), the state the row
        // started in, an open bracket or a token continued over the wrap included.
        if (K != tkEnd) Data.Remain = Data.ContinuedToken = 0;
        return true;
    }
    Data.Remain = 0;
    Data.ContinuedToken = 0;
    const int E = SourcePos() + TokenLength();
    if (SourcePos() >= L || E <= L) return true;
    // The token starts in this row and ends in a later one.
    Data.FieldIndex = F;
    Data.ParseValue = P;
    if (K == tkBracket) {
        TColourerBracketItem* bracket = BracketAt(B);
        const int leftEnd = SourcePos() + (opens ? static_cast<int>(bracket->LeftBracket().size()) : 0);
        if (leftEnd > L) {
            // The wrap cuts the left bracket: the next row starts with its rest, then inside the bracket,
            // where the rest must not be read as a right bracket (the "*" of "/*" before "/").
            Data.BracketIndex = B;
            Data.ContinuedToken = tkBracket;
            Data.Remain = L - leftEnd;
            return true;
        }
        if (Data.BracketIndex != biNone) return true; // still open: the next row starts inside it
        // Closed in the next row: the next row starts inside it, or inside its cut right bracket.
        Data.BracketIndex = B;
        if (bracket && static_cast<int>(bracket->RightBracket().size()) > E - L) {
            Data.ContinuedToken = tkBracket;
            Data.Remain = E - L;
        }
        return true;
    }
    CheckReserveWord(K);
    Data.ContinuedToken = K;
    if (GetQuotedTokenKinds().test(static_cast<std::size_t>(K))) return true; // re-scanned by its method
    // The parse saw the rest of the logical line, so the token's end is known exactly.
    Data.Remain = E - L;
    return true;
}

TRowAttributeData TColourerParser::StateHere() const {
    TRowAttributeData data;
    data.RowAttribute = FRowAttribute;
    data.PrevRowAttribute = raWrapped;
    data.BracketIndex = FBracketIndex;
    data.FieldIndex = FFieldIndex;
    data.Remain = FRemain;
    data.ParseValue = FParseValue;
    data.ContinuedToken = FContinuedToken;
    data.ParseFlag = FParseFlag;
    data.DataStr = FDataStr;
    return data;
}

// Long rows

namespace {

constexpr int kMarkStep = 4096; // bytes between two marks of a long row
constexpr std::size_t kLongRowsKept = 8;

} // namespace

void TLongRowScans::Scan(TColourerParser& Parser, int Index, std::string_view Text, TRowAttributeData& Data) {
    auto it = std::find_if(FRows.begin(), FRows.end(), [&](const TRowScan& r) {
        return r.Row == Index && r.Colourer == Parser.Colourer() && r.Entry.RowAttribute == Data.RowAttribute &&
               SameRowState(r.Entry, Data);
    });
    if (it == FRows.end()) {
        if (FRows.size() >= kLongRowsKept) FRows.erase(FRows.begin());
        FRows.push_back({Index, Parser.Colourer(), Data, {}, {}});
        it = FRows.end() - 1;
        it->Dirty = true; // from the row's start
    } else {
        std::rotate(it, it + 1, FRows.end()); // the latest last
        it = FRows.end() - 1;
    }
    if (it->Dirty) Rescan(Parser, Text, *it);
    Data = it->Exit;
}

void TLongRowScans::Rescan(TColourerParser& Parser, std::string_view Text, TRowScan& Scan) {
    // The last mark that the change cannot reach by a look past a token's end: kTokenLookAhead bytes
    // or more before it, with a byte that is no address character between (as RescanStart keeps
    // rows); without one, the row's start in its own state.
    int run = Scan.From;
    while (run > 0 && IsMailChar(Text[static_cast<std::size_t>(run - 1)])) --run;
    const int limit = std::min(Scan.From - static_cast<int>(kTokenLookAhead), run - 1);
    auto resume = std::upper_bound(Scan.Marks.begin(), Scan.Marks.end(), limit,
                                   [](int Pos, const TMark& m) { return Pos < m.Pos; });
    std::vector<TMark> marks(Scan.Marks.begin(), resume);
    const int base = marks.empty() ? 0 : marks.back().Pos;
    TRowAttributeData data = marks.empty() ? Scan.Entry : marks.back().State;
    // The old marks after the change: where the new scan reaches one of them in the same state, the
    // rest of the row scans as before.
    auto old = std::lower_bound(Scan.Marks.begin(), Scan.Marks.end(), Scan.To,
                                [](const TMark& m, int Pos) { return m.Pos < Pos; });
    int nextMark = base + kMarkStep;
    const std::function<int(int)> visit = [&](int Rel) {
        const int pos = base + Rel;
        while (old != Scan.Marks.end() && old->Pos < pos) ++old;
        const TRowAttributeData here = Parser.StateHere();
        if (old != Scan.Marks.end() && old->Pos == pos && SameRowState(old->State, here)) return -1;
        if (pos >= nextMark) {
            marks.push_back({pos, here});
            nextMark = pos + kMarkStep;
        }
        return std::min(nextMark, old != Scan.Marks.end() ? old->Pos : nextMark) - base;
    };
    const int first = std::min(nextMark, old != Scan.Marks.end() ? old->Pos : nextMark) - base;
    if (Parser.ScanText(Text.data() + base, static_cast<int>(Text.size()) - base, data, &visit, first)) {
        data.PrevRowAttribute = Scan.Entry.PrevRowAttribute;
        Scan.Exit = data;
    } else {
        marks.insert(marks.end(), old, Scan.Marks.end());
    }
    Scan.Marks = std::move(marks);
    Scan.Dirty = false;
}

void TLongRowScans::Changed(int Row, int Index, int Length, int NewLength) {
    const int end = Index + Length, delta = NewLength - Length;
    for (TRowScan& scan : FRows) {
        if (scan.Row != Row) continue;
        std::erase_if(scan.Marks, [&](const TMark& m) { return m.Pos > Index && m.Pos < end; });
        for (TMark& m : scan.Marks)
            if (m.Pos >= end) m.Pos += delta;
        const int to = !scan.Dirty || scan.To <= Index ? scan.To : scan.To >= end ? scan.To + delta : Index;
        scan.From = scan.Dirty ? std::min(scan.From, Index) : Index;
        scan.To = std::max(scan.Dirty ? to : 0, Index + NewLength);
        scan.Dirty = true;
    }
}

TRowAttributeData InitialRowState() { return TRowAttributeData(); }

static bool Computed(const TRowStateStore& Strings, int Index) {
    return Strings.GetRowAttributeData(Index).BracketIndex != biNotComputed;
}

// The row from which a change of the text from row Index on is scanned again. A row's state depends
// on the text below it through the token that runs into the row (how many of its bytes are left,
// its kind) and through what a parser looks at past a token's end. So the scan starts at a computed
// row above Index, in its logical line, that starts at a token boundary (no continued token) and has
// at least kTokenLookAhead bytes, one of them no address character, between its start and Index; or
// at the line's first row.
static int RescanStart(const TRowStateStore& Strings, int Index) {
    std::size_t bytes = 0;
    bool addressEnds = false;
    int row = Index;
    while (row > 0 && Strings.RowAttributeOf(row - 1) == raWrapped) {
        --row;
        const std::string_view text = Strings.RowText(row);
        bytes += text.size();
        addressEnds = addressEnds || !std::all_of(text.begin(), text.end(), IsMailChar);
        if (bytes < kTokenLookAhead || !addressEnds) continue;
        const TRowAttributeData data = Strings.GetRowAttributeData(row);
        if (data.BracketIndex != biNotComputed && data.ContinuedToken == 0) break;
    }
    return row;
}

int UpdateRowStates(TRowStateStore& Strings, TColourer& Colourer, int Index, int LookAhead, bool Invalidate,
                    int Reach) {
    const int count = Strings.RowCount();
    if (Index < 0 || Index >= count) return 0;
    const int start = Invalidate ? RescanStart(Strings, Index) : Index;
    int row = Index - 1;
    while (row >= 0 && !Computed(Strings, row)) {
        if (Index - row >= Reach) {
            // Left to later, with the computed rows of the changed line that the change made stale.
            if (start + 1 < Index && Computed(Strings, start + 1)) Strings.MarkNotComputed(start + 1);
            return 0;
        }
        --row;
    }
    row = std::min(row, start - 1);
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    TRowAttributeData data = InitialRowState();
    if (row >= 0) {
        data = Strings.GetRowAttributeData(row);
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    const int last = std::min(Index + std::max(LookAhead, 0), count - 1);
    int changed = 0;
    for (++row; row <= last; ++row) {
        if (!SameRowState(Strings.GetRowAttributeData(row), data)) {
            Strings.PutRowState(row, data);
            if (Invalidate) {
                ++changed;
                Strings.RowStateChanged(row);
                // The token that runs into the row changed, and the row above shows it too.
                if (row > 0 && Strings.RowAttributeOf(row - 1) == raWrapped) Strings.RowStateChanged(row - 1);
            }
        } else if (row >= Index) {
            return changed;
        }
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    Strings.MarkNotComputed(row);
    return changed;
}

void ResetRowStates(TRowStateStore& Strings, TColourer& Colourer, int Last) {
    Strings.MarkNotComputed(0);
    ComputeRowStates(Strings, Colourer, 0, Last + 1);
}

int ComputeRowStates(TRowStateStore& Strings, TColourer& Colourer, int From, int MaxRows) {
    const int count = Strings.RowCount();
    int row = Strings.FirstNotComputed(From);
    if (row >= count || MaxRows <= 0) return row;
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    TRowAttributeData data = InitialRowState();
    if (row > 0) {
        data = Strings.GetRowAttributeData(row - 1);
        parser->ScanRow(row - 1, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row - 1);
    }
    for (const int end = std::min(count, row + MaxRows); row < end; ++row) {
        Strings.PutRowState(row, data);
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    return row;
}

const TRowAttributeData* TProvisionalStates::Find(int Row) const {
    const int i = Row - FFirst;
    return i >= 0 && i < static_cast<int>(FStates.size()) ? &FStates[static_cast<std::size_t>(i)] : nullptr;
}

void TProvisionalStates::Compute(TRowStateStore& Strings, TColourer& Colourer, int Row, int Screen) {
    const int count = Strings.RowCount();
    if (Row < 0 || Row >= count) return;
    // A logical line starts in the initial state but for its bracket; a line longer than the reach
    // is entered at the reach's top, as the continuation it is.
    const int reach = std::max(Row - 2 * Screen, 0);
    int start = std::max(Row - Screen, 0);
    while (start > reach && Strings.RowAttributeOf(start - 1) == raWrapped) --start;
    const int last = std::min(Row + Screen, count - 1);
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    TRowAttributeData data = InitialRowState();
    if (start > 0) data.PrevRowAttribute = Strings.RowAttributeOf(start - 1);
    std::vector<TRowAttributeData> states;
    states.reserve(static_cast<std::size_t>(last - start + 1));
    for (int row = start; row <= last; ++row) {
        data.RowAttribute = Strings.RowAttributeOf(row);
        states.push_back(data);
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    // The new window first: a repaint that a report asks for at once must find it.
    const int oldFirst = std::exchange(FFirst, start);
    const std::vector<TRowAttributeData> old = std::exchange(FStates, std::move(states));
    for (std::size_t i = 0; i < old.size(); ++i) {
        const int row = oldFirst + static_cast<int>(i);
        const TRowAttributeData* now = Find(row);
        if (!now || !SameRowState(old[i], *now)) Strings.RowStateChanged(row);
    }
}

void TProvisionalStates::Confirm(TRowStateStore& Strings) {
    std::size_t n = 0;
    for (; n < FStates.size(); ++n) {
        const int row = FFirst + static_cast<int>(n);
        const TRowAttributeData exact = Strings.GetRowAttributeData(row);
        if (exact.BracketIndex == biNotComputed) break;
        if (!SameRowState(exact, FStates[n])) Strings.RowStateChanged(row);
    }
    FStates.erase(FStates.begin(), FStates.begin() + static_cast<std::ptrdiff_t>(n));
    FFirst += static_cast<int>(n);
}

void TProvisionalStates::Drop(TRowStateStore& Strings) {
    // Cleared first: a repaint that a report asks for at once must not find them.
    const int first = FFirst, size = static_cast<int>(FStates.size());
    FStates.clear();
    for (int row = first; row < first + size; ++row) Strings.RowStateChanged(row);
}

} // namespace quillon
