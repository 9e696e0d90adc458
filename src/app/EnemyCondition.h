#pragma once
// Inserting and editing enemy condition codes through the condition dialog.
//
// A condition code is "E" (a condition on the opponent) or "C" (on oneself), then three digits:
// position 0-4, state 0-9 and power gauge 0-9, optionally followed by more characters ("E123#").
// The commands give the text that replaces the selection or the token at the caret; the window
// decides when they are offered and puts the text in.
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The dialog's four radio groups as item indexes; -1 is a group without a choice.
struct TCondChoice {
    int Type = 0;       // 0 "E" (the opponent), 1 "C" (oneself)
    int Condition1 = 0; // position
    int Condition2 = 0; // state
    int Condition3 = 0; // power gauge
    bool operator==(const TCondChoice&) const = default;
};

// Items in each group of the dialog.
constexpr int kCondTypeItems = 2;
constexpr int kCondition1Items = 5;
constexpr int kCondition2Items = 10;
constexpr int kCondition3Items = 10;

// What the commands need of the condition dialog, which lives for the whole run and keeps the
// choices of its last use.
class TCondDialog {
public:
    virtual ~TCondDialog() = default;
    // Gives the dialog Caption (UTF-8) and shows it modally. Initial, when given, sets the four
    // groups first (every index is within its group or -1); without it the last choices stay. The
    // choices after OK; nothing after Cancel.
    virtual std::optional<TCondChoice> Execute(const std::string& Caption,
                                               const std::optional<TCondChoice>& Initial) = 0;
};

// "E" or "C" by Type, then the three indexes in decimal ("-1" for a group without a choice).
std::string ConditionCode(const TCondChoice& Choice);

// The choices that the first four characters of a code set: nothing unless the first is "E", "e",
// "C" or "c" and the second a digit from "0" to "4". Each of the other characters gives its code
// minus that of "0", which selects the last item beyond a group's end and no item below 0.
std::optional<TCondChoice> ParseConditionCode(std::string_view Code);

// The insert command: shows the dialog as "条件の挿入" with its last choices. The code to put in place
// of the selection (or at the caret) on OK; nothing on Cancel.
std::optional<std::string> InsertCondition(TCondDialog& Dialog);

// The edit command on Token, the condition token at the caret (as the window's one-token-per-field
// query cuts it): unless its first four characters are a code (ParseConditionCode), nothing; else
// opens the dialog as "条件の編集" with the code's choices. On OK the text that replaces the token:
// the new code followed by the rest of the old token ("e123#" becomes "C023#"); nothing on Cancel.
std::optional<std::string> EditCondition(std::string_view Token, TCondDialog& Dialog);

} // namespace quillon
