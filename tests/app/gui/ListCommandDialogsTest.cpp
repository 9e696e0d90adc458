#include "ListCommandDialogs.h"

#include "EditorTestHost.h"
#include "EnvDlg.h"
#include "FormUtils.h"
#include "ListKinds.h"
#include "MakePattern.h"
#include "MessageBox.h"
#include "MotionTestLines.h"
#include "PatMakeFixtures.h"
#include "ReNumDlg.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace quillon {
namespace {

namespace fs = std::filesystem;

// Acts on the modal dialog that the next call opens, once its loop runs.
void OnNextDialog(std::function<void(QDialog&)> Act) {
    QTimer::singleShot(0, [Act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        Act(*dialog);
    });
}

class ListDialogs : public ::testing::Test {
protected:
    TMotionFormatterOptions MotionOptions;
    TCommandFormatterOptions CommandOptions;
    TZCommandFormatterOptions ZCommandOptions;
    TMakerOptions MakerOptions;
    TListOptions Options{MotionOptions, CommandOptions, ZCommandOptions, MakerOptions};
    QWidget Window;
    TfrmRenum Renum;
    TQtListCommandDialogs Dialogs{&Window, Renum};
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
};

TEST_F(ListDialogs, EnvironmentControlsTakeAndGiveEveryOption) {
    MotionOptions.SetHeaderAlign(false);
    MotionOptions.SetCanDockMinus(true);
    MotionOptions.SetFlagMethod(fmPadZeros);
    CommandOptions.SetFlagAlign(false);
    CommandOptions.SetFlagMethod(fmCutZeros);
    ZCommandOptions.SetAddSemiColon(false);
    MakerOptions = {false, 3, 0};

    TfrmSetEnv form;
    FillEnvDialog(form, Options, 2);
    EXPECT_EQ(form.pctlTypes->currentIndex(), 2);
    EXPECT_FALSE(form.chkMotionHeaderAlign->isChecked());
    EXPECT_TRUE(form.chkMotionCanDockMinus->isChecked());
    EXPECT_EQ(ItemIndex(form.rgpMotionFlagMethod), 2);
    EXPECT_TRUE(form.chkMotionAddSemicolon->isChecked());
    EXPECT_FALSE(form.chkCommandFlagAlign->isChecked());
    EXPECT_EQ(ItemIndex(form.rgpCommandFlagMethod), 1);
    EXPECT_TRUE(form.chkZCommandHeaderAlign->isChecked());
    EXPECT_FALSE(form.chkZCommandAddSemicolon->isChecked());
    EXPECT_EQ(ItemIndex(form.rgpZCommandFlagMethod), 0);
    EXPECT_FALSE(form.chkUseDecColorDepth->isChecked());
    EXPECT_EQ(ItemIndex(form.rdgDecColorDepth), 3);
    EXPECT_EQ(ItemIndex(form.rgpCreateMode), 0);

    form.chkMotionHeaderAlign->setChecked(true);
    form.chkCommandAddSemicolon->setChecked(false);
    SetItemIndex(form.rgpZCommandFlagMethod, 1);
    form.chkZCommandFlagAlign->setChecked(false);
    form.chkUseDecColorDepth->setChecked(true);
    SetItemIndex(form.rdgDecColorDepth, 1);
    SetItemIndex(form.rgpCreateMode, 2);
    ReadEnvDialog(form, Options);
    EXPECT_TRUE(MotionOptions.HeaderAlign());
    EXPECT_TRUE(MotionOptions.CanDockMinus());
    EXPECT_EQ(MotionOptions.FlagMethod(), fmPadZeros);
    EXPECT_FALSE(CommandOptions.AddSemiColon());
    EXPECT_EQ(CommandOptions.FlagMethod(), fmCutZeros);
    EXPECT_EQ(ZCommandOptions.FlagMethod(), fmCutZeros);
    EXPECT_FALSE(ZCommandOptions.FlagAlign());
    EXPECT_TRUE(MakerOptions.UseDecColorDepth);
    EXPECT_EQ(MakerOptions.DecColorDepthMethod, 1);
    EXPECT_EQ(MakerOptions.CreateMode, 2);

    // A group left without a choice reads as its first item, never as -1.
    SetItemIndex(form.rgpCreateMode, -1);
    SetItemIndex(form.rgpMotionFlagMethod, -1);
    ReadEnvDialog(form, Options);
    EXPECT_EQ(MakerOptions.CreateMode, 0);
    EXPECT_EQ(MotionOptions.FlagMethod(), fmKeep);
}

TEST_F(ListDialogs, EnvironmentOkWritesBackCancelKeepsEverything) {
    OnNextDialog([this](QDialog& d) {
        auto& form = dynamic_cast<TfrmSetEnv&>(d);
        EXPECT_EQ(form.parentWidget(), &Window);
        EXPECT_EQ(form.pctlTypes->currentIndex(), 2); // opened from a Vantor command list
        form.chkZCommandHeaderAlign->setChecked(false);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(SetEnvironment(lkZCommand, Options, Dialogs));
    EXPECT_FALSE(ZCommandOptions.HeaderAlign());

    OnNextDialog([](QDialog& d) {
        auto& form = dynamic_cast<TfrmSetEnv&>(d);
        EXPECT_EQ(form.pctlTypes->currentIndex(), 3);
        form.chkZCommandHeaderAlign->setChecked(true);
        form.chkUseDecColorDepth->setChecked(false);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    EXPECT_FALSE(SetEnvironment(lkBmp, Options, Dialogs));
    EXPECT_FALSE(ZCommandOptions.HeaderAlign());
    EXPECT_TRUE(MakerOptions.UseDecColorDepth);
}

TEST_F(ListDialogs, RenumberDialogGivesTheRequest) {
    SetItemIndex(Renum.rgpRenumMode, 1);
    SetItemIndex(Renum.rgpJump, 2);
    Renum.chkMulti->setChecked(true);
    FillRenumDialog(Renum, 42);
    EXPECT_EQ(Renum.edtStartNum->text(), "42");
    const TRenumberRequest r = ReadRenumDialog(Renum);
    EXPECT_EQ(r.StartNum, "42");
    EXPECT_EQ(r.JumpMode, rjInRange);
    EXPECT_TRUE(r.Duplicates);
    EXPECT_TRUE(r.OffsetMode);
}

TEST_F(ListDialogs, RenumberingTheEditorThroughTheDialog) {
    TTestHost host;
    TEditor editor;
    editor.SetHost(&host);
    std::string text;
    for (const char* num : {"5", "6", "7"}) {
        testlines::TMotionFields f;
        f.Num = num;
        f.Comment = "c";
        text += testlines::Motion(f) + "\r\n";
    }
    editor.Lines().SetText(text);
    editor.SetSelStart(0);
    editor.SetSelLength(editor.RowOffset(2));

    OnNextDialog([](QDialog& d) {
        auto& form = dynamic_cast<TfrmRenum&>(d);
        EXPECT_EQ(form.edtStartNum->text(), "5");
        QTest::mouseClick(form.btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(ReNumSelection(editor, Dialogs));
    EXPECT_EQ(editor.Lines().Text(), text);

    OnNextDialog([](QDialog& d) {
        auto& form = dynamic_cast<TfrmRenum&>(d);
        form.edtStartNum->setText("100");
        SetItemIndex(form.rgpRenumMode, 0);
        QTest::mouseClick(form.btnRun, Qt::LeftButton);
    });
    ASSERT_TRUE(ReNumSelection(editor, Dialogs));
    EXPECT_EQ(editor.Lines().Get(0).substr(0, 4), " 100");
    EXPECT_EQ(editor.Lines().Get(1).substr(0, 4), " 101");
    EXPECT_EQ(editor.Lines().Get(2).substr(0, 4), "   7");
}

TEST_F(ListDialogs, AStartNumberOfFiveDigitsIsRenumberedFromAsItStands) {
    TTestHost host;
    TEditor editor;
    editor.SetHost(&host);
    std::string text;
    for (auto [num, to] : {std::pair{"12345", "12350"}, {"12350", "12351"}, {"12351", "12345"}}) {
        testlines::TMotionFields f;
        f.Num = num;
        f.To = to;
        text += testlines::Motion(f) + "\r\n";
    }
    editor.Lines().SetText(text);
    editor.SetSelStart(0);
    editor.SetSelLength(static_cast<int>(text.size()));

    SetItemIndex(Renum.rgpRenumMode, 0);
    SetItemIndex(Renum.rgpJump, 1);
    OnNextDialog([](QDialog& d) {
        auto& form = dynamic_cast<TfrmRenum&>(d);
        EXPECT_EQ(form.edtStartNum->text(), "12345");
        QTest::mouseClick(form.btnRun, Qt::LeftButton);
    });
    ASSERT_TRUE(ReNumSelection(editor, Dialogs));
    const std::pair<int, int> expected[] = {{12345, 12346}, {12346, 12347}, {12347, 12345}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        TMotionLineObj obj;
        ASSERT_TRUE(ParseMotionLine(editor.Lines().Get(i), obj));
        EXPECT_EQ(obj.Num, expected[i].first);
        EXPECT_EQ(obj.ToNum, expected[i].second);
    }
}

TEST_F(ListDialogs, TheMakerDialogMakesTheFilesBesideTheList) {
    testing::TTempDir dir;
    testing::WritePicture(dir / "p.bmp", 32, 32, 24,
                          [](int x, int y) { return (x + y) ? 0x102030u * (x % 3 + 1) : 0u; });
    MakerOptions = {false, 0, 0};
    Boxes.Answer(TMsgResult::Yes);
    Boxes.Answer(TMsgResult::Ok);
    Boxes.Answer(TMsgResult::Ok);
    ASSERT_TRUE(MakePatternFromBitmapList({"1 p.bmp"}, dir / "BMP4.LST", MakerOptions, Dialogs));
    EXPECT_TRUE(fs::exists(dir / "CHARA4.BMP"));
    EXPECT_TRUE(fs::exists(dir / "PATTERN4.PAT"));
    // Without colour reduction the 24-bit sheet is announced before the run's end.
    ASSERT_EQ(Boxes.Shown.size(), 3u);
    EXPECT_EQ(Boxes.Shown[1].Title, "減色");
    EXPECT_EQ(Boxes.Shown[2].Title, "ファイル作成");
}

} // namespace
} // namespace quillon
