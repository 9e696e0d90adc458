#include "LineWindow.h"

#include "Colourer.h"

#include <algorithm>

namespace quillon {

namespace {

// The rows behind the window are dropped once they fill half of it and at least this much.
constexpr std::size_t kSpentDropped = 64 * 1024;

} // namespace

bool TLineWindow::More(const TRowStateStore& Strings) const {
    return FLast + 1 < Strings.RowCount() && Strings.RowAttributeOf(FLast) == raWrapped;
}

const char* TLineWindow::Row(const TRowStateStore& Strings, int Row, std::string_view Head, std::size_t Ahead) {
    if (Strings.RowAttributeOf(Row) != raWrapped) {
        FRow = -1;
        FWhole = true;
        return Head.data();
    }
    const std::string_view stored = Strings.RowText(Row);
    const bool known = &Strings == FStore && FRow >= 0;
    const bool same =
        known && Row == FRow && FEnd - FStart == Head.size() && FText.compare(FStart, Head.size(), Head) == 0;
    // The next row is joined already; its head (longer only by expanded tabs) takes its stored text's
    // place over the spent part in front of it.
    const bool next = known && Row == FRow + 1 && FLast >= Row && Head.size() <= FEnd + stored.size() &&
                      FText.compare(FEnd, stored.size(), stored) == 0;
    if (next) {
        const std::size_t end = FEnd + stored.size();
        FStart = end - Head.size();
        FText.replace(FStart, Head.size(), Head);
        FEnd = end;
    } else if (!same) {
        FStore = &Strings;
        FText.assign(Head);
        FStart = 0;
        FEnd = Head.size();
        FLast = Row;
    }
    FRow = Row;
    if (FStart >= kSpentDropped && FStart >= FText.size() - FStart) {
        FText.erase(0, FStart);
        FEnd -= FStart;
        FStart = 0;
    }
    while (FText.size() - FEnd < Ahead && More(Strings)) FText += Strings.RowText(++FLast);
    FWhole = !More(Strings);
    return FText.c_str() + FStart;
}

bool TLineWindow::Covers(std::size_t End) const {
    if (FWhole) return true;
    const std::size_t end = FStart + End;
    if (end + kTokenLookAhead > FText.size()) return false;
    // An address look from a token before End that reached End goes on to the first byte that is no
    // address character: the window must hold it.
    return std::any_of(FText.begin() + static_cast<std::ptrdiff_t>(end), FText.end(),
                       [](char c) { return !IsMailChar(c); });
}

} // namespace quillon
