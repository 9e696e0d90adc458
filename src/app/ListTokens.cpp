#include "ListTokens.h"

#include "OrvColourer.h"
#include "RowStates.h"

namespace quillon {

std::vector<TListToken> FieldTokens(TOrvColourer& Colourer, const std::string& Line) {
    std::vector<TListToken> tokens;
    std::unique_ptr<TColourerParser> parser = Colourer.CreateParserWithMode(pmSimple);
    parser->NewData(Line.c_str(), InitialRowState());
    while (int kind = parser->NextToken()) tokens.push_back({kind, parser->SourcePos(), parser->TokenString()});
    return tokens;
}

TListToken FieldTokenAt(TOrvColourer& Colourer, const std::string& Line, int Col) {
    for (TListToken& token : FieldTokens(Colourer, Line))
        if (token.Start <= Col && Col < token.Start + static_cast<int>(token.Text.size())) return token;
    return {};
}

} // namespace quillon
