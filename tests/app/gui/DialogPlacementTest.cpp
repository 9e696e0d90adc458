// The renumber, insert-condition, maker-progress and about dialogs open centred over the window they
// serve, wherever that window is on the screen.
#include "AboutDlg.h"
#include "FMake.h"
#include "ListCommandDialogs.h"
#include "MakePattern.h"
#include "PatMakeFixtures.h"
#include "QtAbout.h"
#include "QtSettingsStore.h"
#include "ReNumDlg.h"
#include "inscond.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace quillon {
namespace {

// A shown, active edit-window stand-in in the screen's upper left corner, so that a dialog placed
// by the screen is told apart from one placed over the window.
class DialogPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        Window.setGeometry(10, 20, 440, 320);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        ASSERT_GT((Window.frameGeometry().center() - Window.screen()->availableGeometry().center()).manhattanLength(),
                  100);
    }
    // The dialog shown is centred over Window, moved only as far as it takes to stay inside the
    // screen's work area (some dialogs are wider than the window, or taller than the test screen).
    void ExpectCentredOverWindow(const QWidget& Dialog) {
        const QRect area = Window.screen()->availableGeometry();
        const QRect shown = Dialog.frameGeometry();
        const QPoint centre = Window.frameGeometry().center();
        auto expectAxis = [](int shownLow, int shownHigh, int size, int centre, int areaLow, int areaHigh) {
            const int low = std::clamp(centre - size / 2, areaLow, std::max(areaLow, areaHigh - size + 1));
            EXPECT_NEAR(shownLow, low, 1);
            EXPECT_GE(shownLow, areaLow);
            if (size <= areaHigh - areaLow + 1) {
                EXPECT_LE(shownHigh, areaHigh);
            }
        };
        SCOPED_TRACE(Dialog.metaObject()->className());
        expectAxis(shown.left(), shown.right(), shown.width(), centre.x(), area.left(), area.right());
        expectAxis(shown.top(), shown.bottom(), shown.height(), centre.y(), area.top(), area.bottom());
    }
    // Acts on the modal dialog the next call opens, once its loop runs.
    static void OnNextDialog(std::function<void(QDialog&)> Act) {
        QTimer::singleShot(0, [Act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            Act(*dialog);
        });
    }
    QWidget Window;
};

TEST_F(DialogPlacement, RenumberDialogKeptForTheRunOpensOverTheWindowOfTheCommand) {
    TfrmRenum renum; // made at start-up, before any window
    TQtListCommandDialogs dialogs(&Window, renum);
    bool seen = false;
    OnNextDialog([&](QDialog& d) {
        seen = true;
        ExpectCentredOverWindow(d);
        d.reject();
    });
    TRenumberRequest request;
    EXPECT_FALSE(dialogs.AskRenumber(12, request));
    EXPECT_TRUE(seen);
}

TEST_F(DialogPlacement, InsertConditionDialogOpensOverTheActiveWindow) {
    TfrmInsCond form; // made at start-up, before any window
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ExpectCentredOverWindow(form);
}

TEST_F(DialogPlacement, MakerProgressOpensOverItsWindow) {
    testing::TTempDir dir;
    TfrmRenum renum;
    TQtListCommandDialogs dialogs(&Window, renum);
    bool seen = false;
    OnNextDialog([&](QDialog& d) {
        seen = true;
        ExpectCentredOverWindow(d);
        QTest::mouseClick(dynamic_cast<TfrmFileMake&>(d).btnCancel, Qt::LeftButton);
    });
    TMakerJob job;
    job.OutputFolder = dir.Path();
    dialogs.RunMaker(job);
    EXPECT_TRUE(seen);
}

TEST_F(DialogPlacement, AboutBoxOpensOverTheWindowItWasAskedFrom) {
    QTemporaryDir folder;
    TQtSettingsStore store(folder.filePath("quillon.ini"));
    TAbout about(store);
    bool seen = false;
    about.ExecDialog = [&](QDialog& dialog) {
        seen = true;
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ExpectCentredOverWindow(dialog);
        dialog.close();
        return int(QDialog::Rejected);
    };
    about.ShowAboutBox();
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace quillon
