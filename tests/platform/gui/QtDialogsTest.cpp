// Boxes and dialogs open over the window they speak for, with Qt's own texts in Japanese.
#include "QtDialogs.h"
#include "QtMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTranslator>
#include <QWidget>
#include <gtest/gtest.h>

namespace quillon {
namespace {

// A shown and active top-level window away from the screen's centre.
class OwnerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Window.setGeometry(10, 20, 420, 300);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    QWidget Window;
};

QString Plain(const QAbstractButton* button) { return button->text().remove(QLatin1Char('&')); }

TEST_F(OwnerFixture, MessageBoxOpensCentredOverTheActiveWindow) {
    ASSERT_EQ(OwnerWindow(), &Window);
    const auto box =
        CreateMessageBox(OwnerWindow(), "保存しますか？", "確認", TMsgIcon::Question, TMsgButtons::YesNoCancel);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    // The screen's centre is far from the window's: a box placed by the screen would fail here.
    ASSERT_NE(Window.frameGeometry().center(), Window.screen()->availableGeometry().center());
    EXPECT_LE((box->frameGeometry().center() - Window.frameGeometry().center()).manhattanLength(), 2);
}

TEST(QtTranslation, StandardButtonsReadJapanese) {
    QTranslator translator;
    ASSERT_TRUE(InstallQtTranslation(translator)) << "Qt's Japanese translation (qtbase_ja) is not installed";
    const auto box =
        CreateMessageBox(nullptr, "置換しますか？", "確認", TMsgIcon::Question, TMsgButtons::YesNoCancelAll);
    EXPECT_TRUE(Plain(box->button(QMessageBox::Yes)).startsWith(QStringLiteral("はい")));
    EXPECT_TRUE(Plain(box->button(QMessageBox::No)).startsWith(QStringLiteral("いいえ")));
    EXPECT_TRUE(Plain(box->button(QMessageBox::Cancel)).startsWith(QStringLiteral("キャンセル")));
    EXPECT_FALSE(Plain(box->button(QMessageBox::YesToAll)).contains(QStringLiteral("Yes")));
}

// With no window active (the focus elsewhere), a box speaks for the program's one window on the
// screen; with two, it cannot tell which.
TEST(OwnerWindow, TheOnlyWindowWhenNoneIsActive) {
    QWidget only;
    only.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&only));
    QApplication::setActiveWindow(nullptr); // the focus goes to another program
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(OwnerWindow(), &only);
    QWidget second;
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(OwnerWindow(), nullptr);
}

TEST_F(OwnerFixture, ModalDialogInFrontOwnsTheNextBox) {
    QDialog dialog(&Window);
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == &dialog; }));
    EXPECT_EQ(OwnerWindow(), &dialog);
}

TEST_F(OwnerFixture, CentreOverPlacesADialogOverEachOwnerInTurn) {
    QWidget other;
    other.setGeometry(380, 260, 400, 300);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QDialog dialog; // lives apart from its owners, like the dialogs kept for the whole run
    dialog.resize(200, 120);
    for (const QWidget* owner : {static_cast<const QWidget*>(&Window), static_cast<const QWidget*>(&other)}) {
        CentreOver(dialog, owner);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_LE((dialog.frameGeometry().center() - owner->frameGeometry().center()).manhattanLength(), 1)
            << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y() << " " << dialog.frameGeometry().width()
            << " owner " << owner->frameGeometry().x() << "," << owner->frameGeometry().y() << " "
            << owner->frameGeometry().width();
        dialog.hide();
    }
}

} // namespace
} // namespace quillon
