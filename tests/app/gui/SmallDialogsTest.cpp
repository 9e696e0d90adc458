#include "EnvDlg.h"
#include "FormUtils.h"
#include "ReNumDlg.h"
#include "inscond.h"

#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

QStringList ItemTexts(const QGroupBox* group) {
    QStringList texts;
    for (const QRadioButton* item : group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        texts << item->text();
    return texts;
}

// A radio button takes clicks on its indicator and caption only, not on the rest of its row.
void ClickItem(QWidget* form, const char* name) {
    auto* item = form->findChild<QRadioButton*>(name);
    ASSERT_NE(item, nullptr) << name;
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
}

TEST(RadioGroup, ItemIndexFollowsTheCheckedButton) {
    TfrmRenum form;
    EXPECT_EQ(ItemIndex(form.rgpJump), 0);
    SetItemIndex(form.rgpJump, 2);
    EXPECT_EQ(ItemIndex(form.rgpJump), 2);
    ClickItem(&form, "rgpJumpItem1");
    EXPECT_EQ(ItemIndex(form.rgpJump), 1);
    SetItemIndex(form.rgpJump, -1);
    EXPECT_EQ(ItemIndex(form.rgpJump), -1);
}

TEST(RenumberDialog, StartsWithItsDefaults) {
    TfrmRenum form;
    EXPECT_EQ(form.windowTitle(), "リナンバ");
    EXPECT_EQ(form.lblNumTitle->text(), "開始番号：");
    EXPECT_EQ(form.edtStartNum->maxLength(), 4);
    EXPECT_EQ(ItemTexts(form.rgpRenumMode), QStringList({"連番", "オフセット"}));
    EXPECT_EQ(ItemIndex(form.rgpRenumMode), 0);
    EXPECT_EQ(ItemTexts(form.rgpJump),
              QStringList({"リナンバしない", "すべてのジャンプ元をリナンバ", "選択行のジャンプ元だけリナンバ"}));
    EXPECT_EQ(ItemIndex(form.rgpJump), 0);
    EXPECT_FALSE(form.chkMulti->isChecked());
    EXPECT_FALSE(form.btnRun->isEnabled());
    EXPECT_TRUE(form.btnRun->isDefault());
    EXPECT_EQ(form.btnCancel->text(), "ｷｬﾝｾﾙ");
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowSystemMenuHint);
}

TEST(RenumberDialog, RunIsEnabledOnlyForAStartNumberInRange) {
    struct Case {
        const char* Typed;
        bool Enabled;
    } cases[] = {
        {"10", true},  {"0", true},  {"9999", true}, {" 12 ", true}, {"+5", true},   {"", false},
        {"-1", false}, {"a", false}, {"1a", false},  {"1 2", false}, {"   ", false},
    };
    TfrmRenum form;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        form.edtStartNum->clear();
        QTest::keyClicks(form.edtStartNum, QString::fromUtf8(c.Typed));
        EXPECT_EQ(form.btnRun->isEnabled(), c.Enabled);
    }
    // The caller's own start number counts like a typed one.
    form.edtStartNum->setText("-3");
    EXPECT_FALSE(form.btnRun->isEnabled());
    form.edtStartNum->setText("120");
    EXPECT_TRUE(form.btnRun->isEnabled());
    form.edtStartNum->setText("１２"); // full-width digits are not a number
    EXPECT_FALSE(form.btnRun->isEnabled());
    // At most four characters.
    form.edtStartNum->clear();
    QTest::keyClicks(form.edtStartNum, "65536");
    EXPECT_EQ(form.edtStartNum->text(), "6553");
}

TEST(RenumberDialog, TheCallersStartNumberArrivesWholeAndTypingStaysLimited) {
    TfrmRenum form;
    form.show();
    form.SetStartNum("12345");
    EXPECT_EQ(form.edtStartNum->text(), "12345");
    EXPECT_TRUE(form.btnRun->isEnabled());
    // The user cannot lengthen it, may shorten it, and is back at four characters then.
    form.edtStartNum->end(false);
    QTest::keyClicks(form.edtStartNum, "6");
    EXPECT_EQ(form.edtStartNum->text(), "12345");
    QTest::keyClick(form.edtStartNum, Qt::Key_Home);
    QTest::keyClick(form.edtStartNum, Qt::Key_Delete);
    EXPECT_EQ(form.edtStartNum->text(), "2345");
    QTest::keyClicks(form.edtStartNum, "9");
    EXPECT_EQ(form.edtStartNum->text(), "2345");
    QTest::keyClick(form.edtStartNum, Qt::Key_Backspace, Qt::NoModifier);
    QTest::keyClick(form.edtStartNum, Qt::Key_End);
    QTest::keyClick(form.edtStartNum, Qt::Key_Backspace);
    QTest::keyClicks(form.edtStartNum, "78");
    EXPECT_EQ(form.edtStartNum->text(), "2347");
    // A start the dialog cannot run from arrives whole too, and "実行" stays disabled.
    form.SetStartNum("70000");
    EXPECT_EQ(form.edtStartNum->text(), "70000");
    EXPECT_FALSE(form.btnRun->isEnabled());
    form.SetStartNum("42");
    EXPECT_EQ(form.edtStartNum->maxLength(), 4);
    // Shown again, the dialog lets a typed number replace the caller's, and holds it to four.
    form.SetStartNum("12345");
    form.hide();
    form.show();
    QTest::keyClicks(form.edtStartNum, "20");
    EXPECT_EQ(form.edtStartNum->text(), "20");
    QTest::keyClicks(form.edtStartNum, "789");
    EXPECT_EQ(form.edtStartNum->text(), "2078");
}

TEST(RenumberDialog, ShowsWithTheStartNumberFocusedAndKeepsItsChoicesWhenHidden) {
    TfrmRenum form;
    form.show();
    EXPECT_EQ(form.focusWidget(), form.edtStartNum);
    QTest::keyClicks(form.edtStartNum, "7");
    SetItemIndex(form.rgpRenumMode, 1);
    form.chkMulti->setChecked(true);
    QTest::mouseClick(form.btnRun, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_EQ(ItemIndex(form.rgpRenumMode), 1);
    EXPECT_TRUE(form.chkMulti->isChecked());
    QTest::mouseClick(form.btnCancel, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST(EnvironmentDialog, HasAPageOfOptionsPerListKind) {
    TfrmSetEnv form;
    EXPECT_EQ(form.windowTitle(), "環境設定");
    ASSERT_EQ(form.pctlTypes->count(), 4);
    const char* titles[] = {"MOTION.LST", "COMMAND.LST", "ZCOMMAND.LST", "BMP.LST"};
    const QWidget* pages[] = {form.tsMotion, form.tsCommand, form.tsZCommand, form.tsBitmap};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form.pctlTypes->tabText(i), titles[i]);
        EXPECT_EQ(form.pctlTypes->widget(i), pages[i]);
    }
    const QStringList flagItems{"何もしない(&N)", "末尾の不要な\"0\"を削除する(&C)",
                                "一番長いフラグにあわせて末尾に\"0\"を付加する(&P)"};
    for (const QGroupBox* group : {form.rgpMotionFlagMethod, form.rgpCommandFlagMethod, form.rgpZCommandFlagMethod})
        EXPECT_EQ(ItemTexts(group), flagItems);
    EXPECT_EQ(form.chkMotionAddSemicolon->text(), "コメントの先頭に \";\" を付加する(&S)");
    EXPECT_EQ(form.chkZCommandHeaderAlign->text(), "ヘッダを修正する(&H)");
    EXPECT_EQ(form.chkMotionCanDockMinus->text(), "符号等は前の項目と連結可能(&M)");
    EXPECT_EQ(form.tsCommand->findChild<QCheckBox*>("chkCommandCanDockMinus"), nullptr);
    EXPECT_EQ(ItemTexts(form.rgpCreateMode), QStringList({"Brannicモード(&B)", "B拡張モード(&E)", "Vantorモード(&Z)"}));
    EXPECT_EQ(ItemTexts(form.rdgDecColorDepth).size(), 4);
    EXPECT_EQ(form.Label8->text(), "がありません。");
    EXPECT_TRUE(form.Button1->isDefault());
}

TEST(EnvironmentDialog, ReductionMethodsFollowTheReduceBoxAndKeepTheirChoice) {
    TfrmSetEnv form;
    EXPECT_FALSE(form.chkUseDecColorDepth->isChecked());
    EXPECT_FALSE(form.rdgDecColorDepth->isEnabled());
    form.show();
    QTest::mouseClick(form.chkUseDecColorDepth, Qt::LeftButton);
    EXPECT_TRUE(form.rdgDecColorDepth->isEnabled());
    SetItemIndex(form.rdgDecColorDepth, 3);
    QTest::mouseClick(form.chkUseDecColorDepth, Qt::LeftButton);
    EXPECT_FALSE(form.rdgDecColorDepth->isEnabled());
    EXPECT_EQ(ItemIndex(form.rdgDecColorDepth), 3);
    // The caller's copy of the options counts like a click.
    form.chkUseDecColorDepth->setChecked(true);
    EXPECT_TRUE(form.rdgDecColorDepth->isEnabled());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(InsertConditionDialog, GivesTheConditionOfItsChoices) {
    TfrmInsCond form;
    EXPECT_EQ(form.windowTitle(), "条件の挿入");
    EXPECT_TRUE(form.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(ItemTexts(form.rgpType), QStringList({"&E：相手", "&C：自分"}));
    EXPECT_EQ(ItemTexts(form.rgpCondition1).size(), 5);
    EXPECT_EQ(ItemTexts(form.rgpCondition2).last(), "9：それ以外のキャンセル(～1番)或いは通常技が出せる");
    EXPECT_EQ(ItemTexts(form.rgpCondition3).size(), 10);
    EXPECT_EQ(ItemTexts(form.rgpCondition3)[9], "9：ゲージ9以上");
    EXPECT_EQ(form.Condition(), "E000");
    form.show();
    ClickItem(&form, "rgpTypeItem1");
    ClickItem(&form, "rgpCondition1Item2");
    ClickItem(&form, "rgpCondition2Item9");
    ClickItem(&form, "rgpCondition3Item4");
    EXPECT_EQ(form.Condition(), "C294");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    form.show();
    EXPECT_EQ(form.Condition(), "C294");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    // A group left without a choice (a code edited from a character below "0") gives "-1".
    SetItemIndex(form.rgpCondition2, -1);
    EXPECT_EQ(form.Choice(), (TCondChoice{1, 2, -1, 4}));
    EXPECT_EQ(form.Condition(), "C2-14");
}

TEST(InsertConditionDialog, GaugeGroupHasFourColumns) {
    TfrmInsCond form;
    auto* grid = qobject_cast<QGridLayout*>(form.rgpCondition3->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), 4);
    EXPECT_EQ(grid->rowCount(), 3);
}

} // namespace
