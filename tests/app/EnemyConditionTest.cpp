#include "EnemyCondition.h"

#include "ListKinds.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;

namespace {

// A dialog that keeps its choices between uses, as the real one does, and a user who either
// presses OK after picking Pick (when set) or cancels.
class TFakeCondDialog : public TCondDialog {
public:
    TCondChoice Choice;              // the groups as they stand
    std::optional<TCondChoice> Pick; // what the user picks before OK
    bool Cancel = false;
    std::vector<std::string> Captions;
    std::vector<std::optional<TCondChoice>> Initials;

    std::optional<TCondChoice> Execute(const std::string& Caption, const std::optional<TCondChoice>& Initial) override {
        Captions.push_back(Caption);
        Initials.push_back(Initial);
        if (Initial) Choice = *Initial;
        if (Cancel) return std::nullopt;
        if (Pick) Choice = *Pick;
        return Choice;
    }
};

} // namespace

TEST(EnemyCondition, CodeOfTheChoices) {
    EXPECT_EQ(ConditionCode({0, 1, 0, 0}), "E100");
    EXPECT_EQ(ConditionCode({1, 4, 9, 9}), "C499");
    EXPECT_EQ(ConditionCode({1, 0, 0, 0}), "C000");
    EXPECT_EQ(ConditionCode({0, -1, -1, -1}), "E-1-1-1"); // groups without a choice
}

TEST(EnemyCondition, ChoicesOfACode) {
    struct {
        const char* Code;
        std::optional<TCondChoice> Choice;
    } const cases[] = {
        {"E100", TCondChoice{0, 1, 0, 0}},
        {"e123#", TCondChoice{0, 1, 2, 3}},
        {"C499", TCondChoice{1, 4, 9, 9}},
        {"c000", TCondChoice{1, 0, 0, 0}},
        {"E1:/", TCondChoice{0, 1, 9, -1}},      // beyond the last item, below the first
        {"C2\x82\xA0", TCondChoice{1, 2, 9, 9}}, // bytes above 0x7F are far beyond
        {"E500", std::nullopt},                  // position only 0 to 4
        {"E/00", std::nullopt},
        {"X100", std::nullopt},
        {"E10", std::nullopt}, // fewer than 4 characters
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseConditionCode(c.Code), c.Choice) << c.Code;
}

TEST(EnemyCondition, InsertGoesInAtTheCaretOrOverTheSelection) {
    TFakeCondDialog dialog;
    dialog.Pick = TCondChoice{0, 1, 0, 0};
    TCaretLine text{"10 100 [5K]", 7, 7};
    ASSERT_TRUE(InsertCondition(text, dialog));
    EXPECT_EQ(text.Line, "10 100 E100[5K]");
    EXPECT_EQ(text.Caret, 11);
    EXPECT_EQ(text.Anchor, 11);
    EXPECT_EQ(dialog.Captions.back(), "条件の挿入");
    EXPECT_EQ(dialog.Initials.back(), std::nullopt); // the dialog keeps its last choices

    dialog.Pick = TCondChoice{1, 2, 3, 4};
    text = {"10 100 E100[5K]", 11, 7}; // selected from right to left
    ASSERT_TRUE(InsertCondition(text, dialog));
    EXPECT_EQ(text.Line, "10 100 C234[5K]");
    EXPECT_EQ(text.Caret, 11);

    text = {"ab", 9, -3}; // out of the line: the whole line is the selection
    ASSERT_TRUE(InsertCondition(text, dialog));
    EXPECT_EQ(text.Line, "C234");
}

TEST(EnemyCondition, InsertOffersTheLastChoicesAndCancelChangesNothing) {
    TFakeCondDialog dialog;
    dialog.Choice = TCondChoice{1, 3, 5, 7}; // left from the last use
    TCaretLine text{"x", 1, 1};
    ASSERT_TRUE(InsertCondition(text, dialog));
    EXPECT_EQ(text.Line, "xC357");

    dialog.Cancel = true;
    text = {"x", 0, 1};
    EXPECT_FALSE(InsertCondition(text, dialog));
    EXPECT_EQ(text.Line, "x");
    EXPECT_EQ(text.Caret, 0);
    EXPECT_EQ(text.Anchor, 1);
}

TEST(EnemyCondition, EditReplacesTheCodeUnderTheCaretKeepingItsRest) {
    const std::string line = "     10   100  E100[5K@]e123#[6P@] ;comment";
    const int code = static_cast<int>(line.find("e123#"));
    for (int caret = code; caret < code + 5; ++caret) { // any byte of the token
        TFakeCondDialog dialog;
        dialog.Pick = TCondChoice{1, 0, 2, 3};
        TCaretLine text{line, caret, caret};
        ASSERT_TRUE(EditCondition(lkEnemy, text, dialog)) << caret;
        EXPECT_EQ(text.Line, "     10   100  E100[5K@]C023#[6P@] ;comment");
        EXPECT_EQ(text.Caret, code + 5);
        EXPECT_EQ(text.Anchor, code + 5);
        EXPECT_EQ(dialog.Captions, std::vector<std::string>{"条件の編集"});
        EXPECT_EQ(dialog.Initials[0], (TCondChoice{0, 1, 2, 3}));
    }
}

TEST(EnemyCondition, EditInAQuessaSourceAlsoWithASelection) {
    TFakeCondDialog dialog;
    dialog.Pick = TCondChoice{0, 4, 9, 0};
    TCaretLine text{"10 100 C311[K@]", 8, 0};
    ASSERT_TRUE(EditCondition(lkQes, text, dialog));
    EXPECT_EQ(text.Line, "10 100 E490[K@]");
    EXPECT_EQ(dialog.Initials[0], (TCondChoice{1, 3, 1, 1}));
    // The template of a FORMAT= line holds codes too.
    text = {"FORMAT=#E100[%0@]", 9, 9};
    ASSERT_TRUE(EditCondition(lkQes, text, dialog));
    EXPECT_EQ(text.Line, "FORMAT=#E490[%0@]");
}

TEST(EnemyCondition, EditDoesNothingWithoutACodeUnderTheCaret) {
    struct {
        const char* Name;
        int Kind;
        TCaretLine Text;
    } const cases[] = {
        {"an enemy list with a selection", lkEnemy, {"10 100 E100[K@]", 8, 7}},
        {"a list of another kind", lkMotion, {"10 100 E100[K@]", 8, 8}},
        {"a command", lkEnemy, {"10 100 E100[5K@]", 12, 12}},
        {"the distance", lkEnemy, {"10 100 E100[5K@]", 0, 0}},
        {"a blank", lkEnemy, {"10 100 E100[5K@]", 6, 6}},
        {"the comment", lkEnemy, {"10 100 E100 ;E100", 14, 14}},
        {"past the end", lkEnemy, {"10 100 E100", 11, 11}},
        {"a negative caret", lkEnemy, {"E100", -1, -1}},
        {"a code of position 5", lkEnemy, {"10 100 E500[K@]", 8, 8}},
        {"a code with too few digits", lkEnemy, {"10 100 E10[K@]", 8, 8}},
        {"a section label", lkQes, {":0 E100", 4, 4}},
    };
    for (const auto& c : cases) {
        TFakeCondDialog dialog;
        TCaretLine text = c.Text;
        EXPECT_FALSE(EditCondition(c.Kind, text, dialog)) << c.Name;
        EXPECT_EQ(text.Line, c.Text.Line) << c.Name;
        EXPECT_TRUE(dialog.Captions.empty()) << c.Name;
    }
}

TEST(EnemyCondition, CancellingAnEditChangesNothing) {
    TFakeCondDialog dialog;
    dialog.Cancel = true;
    TCaretLine text{"10 100 E100[K@]", 8, 8};
    EXPECT_FALSE(EditCondition(lkEnemy, text, dialog));
    EXPECT_EQ(text.Line, "10 100 E100[K@]");
    EXPECT_EQ(text.Caret, 8);
    EXPECT_EQ(dialog.Captions.size(), 1u);
}
