#pragma once
// Rows of a wrapped logical line parsed with the whole rest of their line behind them: the reference
// for the windows on a line that the editor parses rows with (LineWindow.h).
#include "Colourer.h"
#include "RowAttrStrings.h"

#include <string>
#include <vector>

namespace quillon::test {

// The text of the rows after row Index up to the end of its logical line.
inline std::string LineTextAfter(const TRowStateStore& Strings, int Index) {
    std::string text;
    for (int row = Index; row + 1 < Strings.RowCount() && Strings.RowAttributeOf(row) == raWrapped; ++row)
        text += Strings.RowText(row + 1);
    return text;
}

// Every byte of row Index as a paint from State sees it, the row parsed with the whole rest of its
// logical line: the kind of the token that covers it, -1 for a byte between tokens.
inline std::vector<int> RowKinds(TColourerParser& Parser, const TRowStateStore& Strings, int Index,
                                 const TRowAttributeData& State) {
    const std::string_view row = Strings.RowText(Index);
    const std::string text = std::string(row) + LineTextAfter(Strings, Index);
    const int size = static_cast<int>(row.size());
    std::vector<int> kinds(row.size(), -1);
    Parser.NewData(text.c_str(), State);
    while (Parser.NextToken() != tkEnd && Parser.SourcePos() < size) {
        for (int i = Parser.SourcePos(); i < Parser.SourcePos() + Parser.TokenLength(); ++i)
            if (i < size) kinds[static_cast<std::size_t>(i)] = Parser.TokenKind();
    }
    return kinds;
}

} // namespace quillon::test
