#pragma once
// Inserting and editing enemy condition codes through the condition dialog.
//
// A condition code is "E" (a condition on the opponent) or "C" (on oneself), then three digits:
// position 0-4, state 0-9 and power gauge 0-9, optionally followed by more characters ("E123#").
// The commands work on one logical line of the editor and its caret; the window hands the result
// back to the editor as one replacement.
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

// A logical line of the editor (CP932) with its caret and selection as byte indexes into it. The
// selection runs between Anchor and Caret; nothing is selected when they are equal.
struct TCaretLine {
    std::string Line;
    int Caret = 0;
    int Anchor = 0;
};

// The insert command: shows the dialog as "条件の挿入" with its last choices; on OK the code
// replaces the selection, or goes in at the caret, and the caret ends after it. False on Cancel.
bool InsertCondition(TCaretLine& Text, TCondDialog& Dialog);

// The edit command for a list of kind Kind (an enemy list with nothing selected, or a Quessa
// source): the condition code token under the caret, as the kind's colourer cuts the line, opens
// the dialog as "条件の編集" with its choices; on OK the token is replaced by the new code followed
// by the rest of the old token ("e123#" becomes "C023#"), and the caret ends after it. False when
// there is no such token or on Cancel; the line is then unchanged.
bool EditCondition(int Kind, TCaretLine& Text, TCondDialog& Dialog);

} // namespace quillon
