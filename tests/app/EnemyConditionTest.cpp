#include "EnemyCondition.h"

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

TEST(EnemyCondition, InsertOffersTheLastChoicesAndCancelGivesNothing) {
    TFakeCondDialog dialog;
    dialog.Choice = TCondChoice{1, 3, 5, 7}; // left from the last use
    EXPECT_EQ(InsertCondition(dialog), "C357");
    EXPECT_EQ(dialog.Captions.back(), "条件の挿入");
    EXPECT_EQ(dialog.Initials.back(), std::nullopt); // the dialog keeps its last choices
    dialog.Pick = TCondChoice{0, 1, 0, 0};
    EXPECT_EQ(InsertCondition(dialog), "E100");
    dialog.Cancel = true;
    EXPECT_EQ(InsertCondition(dialog), std::nullopt);
}

TEST(EnemyCondition, EditReplacesTheCodeKeepingTheRestOfTheToken) {
    TFakeCondDialog dialog;
    dialog.Pick = TCondChoice{1, 0, 2, 3};
    EXPECT_EQ(EditCondition("e123#", dialog), "C023#");
    EXPECT_EQ(dialog.Captions, std::vector<std::string>{"条件の編集"});
    EXPECT_EQ(dialog.Initials[0], (TCondChoice{0, 1, 2, 3}));
    dialog.Pick = TCondChoice{0, 4, 9, 0};
    EXPECT_EQ(EditCondition("C311[K@]", dialog), "E490[K@]");
    EXPECT_EQ(dialog.Initials[1], (TCondChoice{1, 3, 1, 1}));
}

TEST(EnemyCondition, EditOfATokenThatIsNoCodeAsksNothing) {
    for (const char* token : {"E500[K@]", "E10", "236P", "", "10"}) {
        TFakeCondDialog dialog;
        EXPECT_EQ(EditCondition(token, dialog), std::nullopt) << token;
        EXPECT_TRUE(dialog.Captions.empty()) << token;
    }
    TFakeCondDialog dialog;
    dialog.Cancel = true;
    EXPECT_EQ(EditCondition("E100", dialog), std::nullopt);
    EXPECT_EQ(dialog.Captions.size(), 1u);
}
