#include "EnemyCondition.h"

#include "AsciiText.h"
#include "ListKinds.h"
#include "QesEnemyColourer.h"

#include <algorithm>
#include <memory>

namespace quillon {

namespace {

// A radio group's index for Value: the last item beyond its end, no item below 0.
int RadioIndex(int Value, int Items) { return Value < 0 ? -1 : std::min(Value, Items - 1); }

int DigitValue(char c) { return static_cast<unsigned char>(c) - '0'; }

// Where the selection of Text begins and ends, kept within the line.
std::pair<size_t, size_t> Selection(const TCaretLine& Text) {
    const int size = static_cast<int>(Text.Line.size());
    const int a = std::clamp(Text.Anchor, 0, size), b = std::clamp(Text.Caret, 0, size);
    return {static_cast<size_t>(std::min(a, b)), static_cast<size_t>(std::max(a, b))};
}

// Replaces Length bytes at Start by S and puts the caret after S, with nothing selected.
void ReplaceAndPlaceCaret(TCaretLine& Text, size_t Start, size_t Length, const std::string& S) {
    Text.Line.replace(Start, Length, S);
    Text.Caret = Text.Anchor = static_cast<int>(Start + S.size());
}

std::unique_ptr<TOrvColourer> EnemyColourer(int Kind) {
    if (Kind == lkQes) return std::make_unique<TQesEnemyColourer>(nullptr);
    return std::make_unique<TStdEnemyColourer>(nullptr);
}

struct TToken {
    size_t Start = 0;
    std::string Text;
};

// The condition code token under the caret, as the list's colourer cuts the line.
std::optional<TToken> ConditionTokenAt(int Kind, const TCaretLine& Text) {
    if (Text.Caret < 0 || Text.Caret >= static_cast<int>(Text.Line.size())) return std::nullopt;
    const int index = Text.Caret; // tokens cover whole characters, a trail byte included
    auto colourer = EnemyColourer(Kind);
    auto parser = colourer->CreateParserWithMode(pmFull);
    parser->NewData(Text.Line.c_str(), TRowAttributeData());
    while (int kind = parser->NextToken()) {
        if (index < parser->SourcePos() || index >= parser->SourcePos() + parser->TokenLength()) continue;
        if (kind != etEnemy && kind != etMySelf) return std::nullopt;
        return TToken{static_cast<size_t>(parser->SourcePos()), parser->TokenString()};
    }
    return std::nullopt;
}

} // namespace

std::string ConditionCode(const TCondChoice& Choice) {
    return (Choice.Type == 0 ? "E" : "C") + IntToStr(Choice.Condition1) + IntToStr(Choice.Condition2) +
           IntToStr(Choice.Condition3);
}

std::optional<TCondChoice> ParseConditionCode(std::string_view Code) {
    if (Code.size() < 4) return std::nullopt;
    const char type = Code[0];
    if (type != 'E' && type != 'e' && type != 'C' && type != 'c') return std::nullopt;
    if (Code[1] < '0' || Code[1] > '4') return std::nullopt;
    return TCondChoice{type == 'E' || type == 'e' ? 0 : 1, DigitValue(Code[1]),
                       RadioIndex(DigitValue(Code[2]), kCondition2Items),
                       RadioIndex(DigitValue(Code[3]), kCondition3Items)};
}

bool InsertCondition(TCaretLine& Text, TCondDialog& Dialog) {
    const std::optional<TCondChoice> choice = Dialog.Execute("条件の挿入", std::nullopt);
    if (!choice) return false;
    const auto [start, end] = Selection(Text);
    ReplaceAndPlaceCaret(Text, start, end - start, ConditionCode(*choice));
    return true;
}

bool EditCondition(int Kind, TCaretLine& Text, TCondDialog& Dialog) {
    const bool selected = Text.Caret != Text.Anchor;
    if (!(Kind == lkEnemy && !selected) && Kind != lkQes) return false;
    const std::optional<TToken> token = ConditionTokenAt(Kind, Text);
    if (!token) return false;
    const std::optional<TCondChoice> initial = ParseConditionCode(token->Text);
    if (!initial) return false;
    const std::optional<TCondChoice> choice = Dialog.Execute("条件の編集", initial);
    if (!choice) return false;
    ReplaceAndPlaceCaret(Text, token->Start, token->Text.size(), ConditionCode(*choice) + token->Text.substr(4));
    return true;
}

} // namespace quillon
