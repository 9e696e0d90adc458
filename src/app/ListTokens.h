#pragma once
// The field tokens of one list line, as the list colourers cut it for token queries: one token per
// field (ParseMode 1), each with its kind, its byte offset in the line and its text without the
// blanks around it. The line is parsed on its own, as the start of a logical line.
#include <string>
#include <vector>

namespace quillon {

class TOrvColourer;

struct TListToken {
    int Kind = 0;  // 0: no token
    int Start = 0; // byte offset in the line
    std::string Text;
};

// Every token of Line from the left.
std::vector<TListToken> FieldTokens(TOrvColourer& Colourer, const std::string& Line);

// The token that covers byte offset Col of Line; a token of kind 0 when none does.
TListToken FieldTokenAt(TOrvColourer& Colourer, const std::string& Line, int Col);

} // namespace quillon
