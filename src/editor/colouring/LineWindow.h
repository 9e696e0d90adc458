#pragma once
// A window on a logical line, from one of its rows on.
//
// A wrapped row is parsed with the rest of its logical line behind it, since its last token may run
// on into the rows below and a parser looks past a token's end to tell what the token is. Yet a parse
// of one row reads only to the end of the last token it takes and a little past it: joining the whole
// rest of the line for it (a copy of megabytes for a row of 80 bytes) is what made painting and
// colouring a long wrapped line cost time in proportion to the line.
//
// So a window joins the rest of the line only Ahead bytes past the row's end. The caller parses, then
// asks Covers with the end of the last token it took: when the parse may have seen the window's cut
// (the token runs to the cut, or a look past it could reach the cut), it asks again with twice the
// Ahead, up to the whole line. A parse of a window it covers reads what a parse of the whole line
// reads, so it gives the same tokens and states. What a parser may read past a token's end is bounded
// by kTokenLookAhead bytes, but for the look for an e-mail address, which reads on over address
// characters as far as they go: Covers asks for both.
//
// Rows of one line read in order share one join that moves down the line: each next row is already
// in it, rows are appended as the window needs them and the rows behind are dropped, so reading the
// rows of a line of n bytes one after another joins O(n) bytes in all, whatever Ahead is. A row that
// ends its line (the last row of a wrapped line, every row without word wrap) is read in place.
#include "RowAttrStrings.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// How far past the end of a token a parser may look to tell what the token is (a number's point, a
// bracket's or a comment's opening string, a field's end); only the look for an e-mail address reads
// on further, as far as address characters go.
constexpr std::size_t kTokenLookAhead = 256;

class TLineWindow {
public:
    // The first Ahead a window is asked for: a few tokens' looks past a row's end.
    static constexpr std::size_t MinAhead = 4 * kTokenLookAhead;

    // Head (row Row's text as it is parsed: its stored text, or longer by expanded tabs, NUL-terminated)
    // followed by at least Ahead bytes of the rows after Row in its logical line, or by all of them,
    // NUL-terminated. Valid until the next call; the rows must not change between calls.
    const char* Row(const TRowStateStore& Strings, int Row, std::string_view Head, std::size_t Ahead);
    // Whether a parse of the latest Row's text whose last token ended End bytes from the row's start
    // read only what the window holds as the whole line would.
    bool Covers(std::size_t End) const;

private:
    // Whether the line goes on after the last row joined.
    bool More(const TRowStateStore& Strings) const;

    const TRowStateStore* FStore = nullptr; // the rows FText was joined from
    std::string FText;                      // the head of FRow, then the stored text of FRow + 1..FLast
    int FRow = -1;                          // -1: the latest row was read in place
    int FLast = -1;
    std::size_t FStart = 0, FEnd = 0; // FRow's head in FText
    bool FWhole = true;               // FText reaches the end of the line
};

} // namespace quillon
