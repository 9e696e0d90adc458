#include "MessageBox.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(MessageBox, ScriptedServiceRecordsAndAnswers) {
    TScriptedMessages script;
    TMessageServiceScope scope(script);
    script.Answer(TMsgResult::Yes);
    EXPECT_EQ(Messages().Show("保存しますか", "確認", TMsgIcon::Question, TMsgButtons::YesNoCancel), TMsgResult::Yes);
    // Without a scripted answer a box is dismissed.
    EXPECT_EQ(Messages().Show("q", "確認", TMsgIcon::Question, TMsgButtons::YesNoCancel), TMsgResult::Cancel);
    ShowError("ファイルを開けませんでした");
    ASSERT_EQ(script.Shown.size(), 3u);
    EXPECT_EQ(script.Shown[2].Title, "エラー");
    EXPECT_EQ(script.Shown[2].Icon, TMsgIcon::Error);
    EXPECT_EQ(script.Shown[2].Buttons, TMsgButtons::OK);
}

TEST(MessageBox, DismissingAnswersTheSafeChoice) {
    EXPECT_EQ(DismissAnswer(TMsgButtons::OK), TMsgResult::Ok);
    EXPECT_EQ(DismissAnswer(TMsgButtons::OKCancel), TMsgResult::Cancel);
    EXPECT_EQ(DismissAnswer(TMsgButtons::YesNo), TMsgResult::No);
    EXPECT_EQ(DismissAnswer(TMsgButtons::YesNoCancel), TMsgResult::Cancel);
}
