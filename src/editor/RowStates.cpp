#include "RowStates.h"

#include "Colourer.h"

#include <algorithm>
#include <memory>

namespace quillon {

void TColourerParser::ScanRow(int Index, const TRowStateStore& Strings, TRowAttributeData& Data) {
    Data.RowAttribute = Strings.RowAttributeOf(Index);
    // A comment: the whole row belongs to it, and it ends with the logical line.
    if (GetLineEndTokenKinds().test(static_cast<std::size_t>(Data.ContinuedToken))) {
        if (Data.RowAttribute != raWrapped) Data.ContinuedToken = 0;
        Data.Remain = 0;
        return;
    }
    const std::string& row = Strings.RowText(Index);
    if (row.find_first_not_of(' ') == std::string::npos) {
        // An empty or all-blank row passes the state on, but a token carried over a wrap ends at a
        // real line break here as everywhere else.
        if (Data.RowAttribute != raWrapped) {
            Data.ContinuedToken = 0;
            Data.Remain = 0;
        }
        return;
    }
    const int L = static_cast<int>(row.size());
    const bool hasNext = Index + 1 < Strings.RowCount();
    // A wrapped row is scanned with the next row after it, so that a token cut by the wrap is whole.
    std::string joined = Data.RowAttribute == raWrapped && hasNext ? row + Strings.RowText(Index + 1) : row;

    int B = Data.BracketIndex, F = Data.FieldIndex, P = Data.ParseValue, K = tkEnd;
    NewData(joined.c_str(), Data);
    while (NextToken() != tkEnd) {
        K = FTokenKind;
        Data.BracketIndex = FBracketIndex;
        if (K == tkBracket) B = FLastBracketIndex;
        F = FFieldIndex;
        P = FParseValue;
        if (SourcePos() + TokenLength() > L) break;  // the token crosses the row end
        Data.FieldIndex = FFieldIndex;
        Data.ParseValue = FParseValue;
        Data.ParseFlag = FParseFlag;
    }
    Data.Remain = 0;
    Data.ContinuedToken = 0;
    if (FTokenKind != tkEnd && SourcePos() >= L) {  // the token starts in the next row
        Data.BracketIndex = biNone;
        return;
    }
    const int E = SourcePos() + TokenLength();
    if (SourcePos() >= L || E <= L) return;
    // The token starts in this row and ends in the next one.
    Data.FieldIndex = F;
    Data.ParseValue = P;
    if (K == tkBracket) {
        if (Data.BracketIndex != biNone) return;  // still open: the next row starts inside it
        // Closed in the next row: the next row starts inside it, or inside its cut right bracket.
        Data.BracketIndex = B;
        TColourerBracketItem* bracket = BracketAt(B);
        if (bracket && static_cast<int>(bracket->RightBracket().size()) > E - L) {
            Data.ContinuedToken = tkBracket;
            Data.Remain = E - L;
        }
        return;
    }
    CheckReserveWord(K);
    Data.ContinuedToken = K;
    if (GetQuotedTokenKinds().test(static_cast<std::size_t>(K))) return;  // re-scanned by its method
    if (E >= static_cast<int>(joined.size()) && Strings.RowAttributeOf(Index + 1) == raWrapped) return;
    Data.Remain = E - L;
}

TRowAttributeData InitialRowState() { return TRowAttributeData(); }

int UpdateRowStates(TRowStateStore& Strings, TColourer& Colourer, int Index, int LookAhead, bool Invalidate) {
    const int count = Strings.RowCount();
    if (Index < 0 || Index >= count) return 0;
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    int row = Index - 1;
    while (row >= 0 && Strings.GetRowAttributeData(row).BracketIndex == biNotComputed) --row;
    TRowAttributeData data = InitialRowState();
    if (row >= 0) {
        data = Strings.GetRowAttributeData(row);
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    const int last = std::min(Index + std::max(LookAhead, 0), count - 1);
    int changed = 0;
    for (++row; row <= last; ++row) {
        if (SameRowState(Strings.GetRowAttributeData(row), data)) return changed;
        Strings.PutRowState(row, data);
        if (Invalidate) {
            ++changed;
            Strings.RowStateChanged(row);
        }
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
    const TRowAttributeData notComputed = NotComputedRowState();
    for (; row < count; ++row) Strings.PutRowState(row, notComputed);
    return changed;
}

void ResetRowStates(TRowStateStore& Strings, TColourer& Colourer, int Last) {
    const int count = Strings.RowCount();
    const TRowAttributeData notComputed = NotComputedRowState();
    for (int row = 0; row < count; ++row) Strings.PutRowState(row, notComputed);
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParser();
    TRowAttributeData data = InitialRowState();
    for (int row = 0; row <= std::min(Last, count - 1); ++row) {
        Strings.PutRowState(row, data);
        parser->ScanRow(row, Strings, data);
        data.PrevRowAttribute = Strings.RowAttributeOf(row);
    }
}

} // namespace quillon
