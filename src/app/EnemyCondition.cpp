#include "EnemyCondition.h"

#include "AsciiText.h"

#include <algorithm>

namespace quillon {

namespace {

// A radio group's index for Value: the last item beyond its end, no item below 0.
int RadioIndex(int Value, int Items) { return Value < 0 ? -1 : std::min(Value, Items - 1); }

int DigitValue(char c) { return static_cast<unsigned char>(c) - '0'; }

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

std::optional<std::string> InsertCondition(TCondDialog& Dialog) {
    const std::optional<TCondChoice> choice = Dialog.Execute("条件の挿入", std::nullopt);
    if (!choice) return std::nullopt;
    return ConditionCode(*choice);
}

std::optional<std::string> EditCondition(std::string_view Token, TCondDialog& Dialog) {
    const std::optional<TCondChoice> initial = ParseConditionCode(Token);
    if (!initial) return std::nullopt;
    const std::optional<TCondChoice> choice = Dialog.Execute("条件の編集", initial);
    if (!choice) return std::nullopt;
    return ConditionCode(*choice) + std::string(Token.substr(4));
}

} // namespace quillon
