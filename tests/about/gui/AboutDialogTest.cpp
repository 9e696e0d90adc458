#include "AboutDlg.h"
#include "ChgVerDlg.h"
#include "ExtVCLs.h"
#include "QtAbout.h"
#include "QtDIBImage.h"
#include "QtSettingsStore.h"
#include "VersionInfo.h"

#include <QCheckBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

TProgramIdentity Running(const std::string& version) { return {"Quillon", version, "Copyright (C) Talvane"}; }

struct TNotice {
    QString Caption, Last, Now, Message, Arrow;
    bool HelpVisible;
    int OkLeft;
};

class AboutDialogTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString File() const { return Dir.filePath("quillon.ini"); }

    // Answers every dialog at once, remembering the notices it saw.
    void RecordNotices(TAbout& about, std::vector<TNotice>& notices) {
        about.ExecDialog = [&notices](QDialog& dialog) {
            auto& form = dynamic_cast<TfrmChgVer&>(dialog);
            notices.push_back({form.windowTitle(), form.lblLastVersion->text(), form.lblNowVersion->text(),
                               form.VisualLabel1->text(), form.Label3->text(), !form.btnHelp->isHidden(),
                               form.btnOk->x()});
            return int(QDialog::Accepted);
        };
    }
};

} // namespace

TEST_F(AboutDialogTest, VersionNoticeTable) {
    struct Case {
        const char* Stored;
        const char* Running;
        bool Notice;
    } cases[] = {{nullptr, "1.2", false}, {"1.1", "1.2", true}, {"1.2", "1.2", false}};
    for (const Case& c : cases) {
        QFile::remove(File());
        std::vector<TNotice> notices;
        {
            TQtSettingsStore store(File());
            if (c.Stored) store.WriteString("Check", "Version", c.Stored);
            TAbout about(store, Running(c.Running));
            RecordNotices(about, notices);
            about.CheckVersion(true);
            about.SaveVersion(); // at exit
            about.Shutdown();
        }
        ASSERT_EQ(notices.size(), c.Notice ? 1u : 0u) << c.Running;
        EXPECT_EQ(TQtSettingsStore(File()).ReadString("Check", "Version", ""), c.Running);
        if (!c.Notice) continue;
        EXPECT_EQ(notices[0].Caption, "Quillon");
        EXPECT_EQ(notices[0].Last, "1.1");
        EXPECT_EQ(notices[0].Now, "1.2");
        EXPECT_EQ(notices[0].Message, "このアプリケーションのバージョンが変更されました。");
        EXPECT_EQ(notices[0].Arrow, "↓");
        EXPECT_TRUE(notices[0].HelpVisible);
        EXPECT_EQ(notices[0].OkLeft, 52);
    }
}

TEST_F(AboutDialogTest, EnglishNoticeWithoutHelpCentresOk) {
    TQtSettingsStore store(File());
    store.WriteString("Check", "Version", "0.9");
    TAbout about(store, Running("1.0"));
    about.SetUseJapanese(false);
    about.SetShowVerHelp(false);
    std::vector<TNotice> notices;
    RecordNotices(about, notices);
    EXPECT_TRUE(about.CheckVersion(true));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].Message, "This application version changed");
    EXPECT_EQ(notices[0].Arrow, "");
    EXPECT_FALSE(notices[0].HelpVisible);
    EXPECT_EQ(notices[0].OkLeft, 313 / 2 - 99 / 2);
}

TEST_F(AboutDialogTest, NoticeLanguageSwitch) {
    TfrmChgVer form;
    form.SetUseJapanese(false);
    EXPECT_EQ(form.Label1->text(), "Last version : Version");
    EXPECT_EQ(form.btnHelp->text(), "&Help");
    EXPECT_EQ(form.btnOk->toolTip(), "Close this dialog");
    EXPECT_EQ(form.font().family(), "Arial");
    form.SetUseJapanese(true);
    EXPECT_EQ(form.Label1->text(), "以前の version : Version");
    EXPECT_EQ(form.Label2->text(), "今の version : Version");
    EXPECT_EQ(form.Label3->text(), "↓");
    EXPECT_EQ(form.font().family(), "ＭＳ Ｐゴシック");
}

TEST_F(AboutDialogTest, AnimatesStopsWhenClosedAndItsCheckBoxReachesTheComponent) {
    TQtSettingsStore store(File());
    store.WriteString("Options", "History", "a.lst");
    TAbout about(store);
    about.SetTitle("Quillonについて");
    about.SetShowDelReg(true);
    about.SetShowAboutHelp(false);
    about.SetLogo(ProgramLogo());
    int markClicks = 0;
    about.OnMarkClick = [&](TCustomAbout& sender) {
        EXPECT_EQ(&sender, &about);
        ++markClicks;
    };
    int framesSeen = 0, amplitudeAtClose = -1;
    const TAboutDialog* shown = nullptr;
    about.ExecDialog = [&](QDialog& d) {
        auto& dialog = dynamic_cast<TAboutDialog&>(d);
        shown = &dialog;
        EXPECT_EQ(dialog.windowTitle(), "Quillonについて");
        EXPECT_EQ(dialog.lblProgName->text(), "Quillon");
        EXPECT_EQ(dialog.lblVersionNum->text(), QString("Version ") + kFileVersion);
        EXPECT_EQ(dialog.lblDeveloper->text(), kLegalCopyright);
        EXPECT_TRUE(dialog.btnHelp->isHidden());
        EXPECT_FALSE(dialog.imgLogo->Picture().isNull());
        dialog.show();
        EXPECT_TRUE(dialog.TimerEnabled());
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Animation().Amplitude() >= 5; }, 5000));
        framesSeen = dialog.Animation().Amplitude();
        EXPECT_FALSE(dialog.BufLogo->Picture().isNull());
        QTest::mouseClick(dialog.BufLogo, Qt::LeftButton);
        EXPECT_FALSE(dialog.chkDelReg->isHidden());
        QTest::mouseClick(dialog.chkDelReg, Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        EXPECT_FALSE(dialog.TimerEnabled());
        amplitudeAtClose = dialog.Animation().Amplitude();
        QCoreApplication::processEvents();                           // delivers a tick if one were still queued
        EXPECT_EQ(dialog.Animation().Amplitude(), amplitudeAtClose); // no tick after closing
        return dialog.result();
    };
    about.ShowAboutBox();
    EXPECT_NE(shown, nullptr);
    EXPECT_GE(framesSeen, 5);
    EXPECT_EQ(markClicks, 1);
    EXPECT_TRUE(about.DelReg());
    about.SaveVersion();
    about.Shutdown();
    EXPECT_FALSE(QFile::exists(File()));
    EXPECT_FALSE(TQtSettingsStore(File()).SectionExists("Options"));
}

TEST_F(AboutDialogTest, UntickingBeforeExitKeepsTheStore) {
    TQtSettingsStore store(File());
    TAbout about(store);
    about.SetShowDelReg(true);
    about.SetDelReg(true);
    about.ExecDialog = [](QDialog& d) {
        auto& dialog = dynamic_cast<TAboutDialog&>(d);
        EXPECT_TRUE(dialog.DelRegChecked());
        dialog.SetDelRegChecked(false);
        return int(QDialog::Accepted);
    };
    about.ShowAboutBox();
    EXPECT_FALSE(about.DelReg());
    about.SaveVersion();
    about.Shutdown();
    store.Flush();
    EXPECT_TRUE(QFile::exists(File()));
}

TEST(AboutDialog, LanguageSwitch) {
    TAboutDialog dialog;
    EXPECT_EQ(dialog.chkDelReg->text(), "ﾚｼﾞｽﾄﾘ情報を終了時に削除する");
    EXPECT_TRUE(dialog.chkDelReg->isHidden());
    dialog.SetUseJapanese(false);
    EXPECT_EQ(dialog.btnOk->text(), "&Ok");
    EXPECT_EQ(dialog.btnHelp->text(), "&Help");
    EXPECT_EQ(dialog.chkDelReg->text(), "Delete registry info at exit");
    EXPECT_EQ(dialog.chkDelReg->toolTip(), "Check this option only before you remove this application.");
    EXPECT_EQ(dialog.lblProgName->font().family(), "Arial");
    dialog.SetUseJapanese(true);
    EXPECT_EQ(dialog.btnOk->text(), "了解(&O)");
    EXPECT_EQ(dialog.btnOk->toolTip(), "このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます");
    EXPECT_EQ(dialog.chkDelReg->toolTip(), "このｱﾌﾟﾘｹｰｼｮﾝを削除する前にﾁｪｯｸして下さい");
}

TEST(AboutDialog, MissingPicturesRaise) { EXPECT_THROW(TAboutDialog(nullptr, TResourceModule{}), EBitFieldError); }

TEST(VisualLabel, OutlineInFrameColour) {
    auto render = [](TFrameType type, bool enabled) {
        TVisualLabel label;
        label.resize(60, 30);
        label.setAlignment(Qt::AlignCenter);
        QFont font = label.font();
        font.setPixelSize(20);
        label.setFont(font);
        label.setText("W");
        label.SetColor(clWhite);
        label.SetFontColor(clYellow);
        label.SetFrameColor(clRed);
        label.SetFrameType(type);
        label.setEnabled(enabled);
        return label.grab().toImage();
    };
    auto count = [](const QImage& image, QColor color) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == color;
        return n;
    };
    const QImage framed = render(TFrameType::ftFrame, true), plain = render(TFrameType::ftNone, true);
    EXPECT_GT(count(framed, Qt::red), 20);
    EXPECT_GT(count(framed, Qt::yellow), 5);
    EXPECT_EQ(count(plain, Qt::red), 0);
    EXPECT_GT(count(plain, Qt::yellow), 5);
    const QImage disabled = render(TFrameType::ftFrame, false);
    EXPECT_EQ(count(disabled, Qt::red), 0);
    EXPECT_EQ(count(disabled, Qt::yellow), 0);
    EXPECT_GT(count(disabled, ToQColor(clGrayText)), 20);
}

TEST(AboutDialog, TurnsBackwardsWhileTheMouseRestsOnThePicture) {
    TAboutDialog dialog;
    dialog.show();
    QCursor::setPos(dialog.BufLogo->mapToGlobal(QPoint(48, 48)));
    if (!dialog.BufLogo->rect().contains(dialog.BufLogo->mapFromGlobal(QCursor::pos())))
        GTEST_SKIP() << "this platform cannot place the mouse cursor";
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Animation().Amplitude() >= 1; }, 5000));
    dialog.close();
    EXPECT_GT(dialog.Animation().Angle(), 128); // from 0 backwards: 251 and on down; forwards: 4 and up
}
