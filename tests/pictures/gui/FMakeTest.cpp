#include "FMake.h"

#include "MessageBox.h"
#include "PatMakeFixtures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace quillon {
namespace {

using namespace quillon::testing;

class FileMake : public ::testing::Test {
protected:
    TTempDir Dir;
    TScriptedMessages Boxes;
    TMessageServiceScope Scope{Boxes};
    TfrmFileMake Form;
    std::vector<int> Progress;

    void SetUp() override {
        Form.OutputFolder = Dir.Path();
        for (int i = 0; i < 4; ++i) {
            std::string name = "p" + std::to_string(i) + ".bmp";
            WritePicture(Dir / name, 40, 40, 24, [i](int x, int y) {
                return x + y == 0 ? 0u : static_cast<std::uint32_t>((x * 3 + y * 40 + i) % 90) * 0x020305u + 1;
            });
            TBitmapListEntry e;
            e.Number = 10 + i;
            e.Path = Dir / name;
            Form.Entries.push_back(e);
        }
        QObject::connect(Form.ProgressBar, &QProgressBar::valueChanged, [this](int v) { Progress.push_back(v); });
    }

    // Shows the dialog as the edit window does and waits for the work to end it.
    int RunToEnd() {
        Form.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Form.isVisible(); }, 20000));
        return Form.result();
    }

    std::vector<std::string> Outputs() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir.Path()))
            if (e.path().extension() != ".bmp") names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileMake, LayoutAndTexts) {
    EXPECT_EQ(Form.windowTitle(), QString::fromUtf8("Brannic Pattern Maker ファイル作成中"));
    EXPECT_EQ(Form.size(), QSize(308, 116));
    EXPECT_EQ(Form.btnCancel->text(), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(Form.lblInfoTitle->text(), QString::fromUtf8("処理中"));
    EXPECT_FALSE(Form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(FileMake, RunsByItselfAfterShowing) {
    Form.CreateMode = 2;
    Form.Suffix = "1";
    Form.UseDecColorDepth = true;
    Form.DecColorDepthMethod = 1;
    EXPECT_EQ(RunToEnd(), 1);
    EXPECT_TRUE(Boxes.Shown.empty());
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"ZCHARA1.BMP", "ZPATTERN1.ZPT"}));
    EXPECT_EQ(Form.lblInfoNum->text(), QString("No 00013"));
    EXPECT_EQ(Form.lblInfoName->text(), QString("p3.bmp"));
    EXPECT_EQ(Form.Label1->text(), QString::fromUtf8("256色限定減色処理中"));
    EXPECT_TRUE(Form.lblInfoNum->isHidden());
    EXPECT_EQ(Progress.back(), 100);
}

TEST_F(FileMake, CancelBeforeTheWorkStarts) {
    Form.open();
    QTest::mouseClick(Form.btnCancel, Qt::LeftButton);
    EXPECT_TRUE(Form.isVisible()); // the button only raises the flag
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Form.isVisible(); }, 20000));
    EXPECT_EQ(Form.result(), 2);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "処理を中断しました");
    EXPECT_EQ(Boxes.Shown[0].Title, "パターン作成");
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(FileMake, CancelWhileCollecting) {
    QObject::connect(Form.ProgressBar, &QProgressBar::valueChanged, [this](int v) {
        if (v == 2) QTest::mouseClick(Form.btnCancel, Qt::LeftButton);
    });
    EXPECT_EQ(RunToEnd(), 2);
    EXPECT_EQ(Form.lblInfoNum->text(), QString("No 012"));
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(FileMake, EscapeAndCloseOnlyRequestCancel) {
    Form.UseDecColorDepth = true;
    Form.DecColorDepthMethod = 2;
    bool sent = false;
    QObject::connect(Form.ProgressBar, &QProgressBar::valueChanged, [&](int v) {
        if (Form.ProgressBar->maximum() != 100 || v < 10 || sent) return;
        sent = true;
        QTest::keyClick(&Form, Qt::Key_Escape);
        EXPECT_TRUE(Form.isVisible());
        QCloseEvent close;
        QApplication::sendEvent(&Form, &close);
        EXPECT_FALSE(close.isAccepted());
        EXPECT_TRUE(Form.isVisible());
    });
    EXPECT_EQ(RunToEnd(), 2);
    EXPECT_TRUE(sent);
    EXPECT_TRUE(Form.CancelRequested());
    EXPECT_TRUE(Boxes.Shown.empty()); // a cancel during reduction is silent
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(FileMake, FailureGivesResult3) {
    Form.Entries[2].Path = Dir / "missing.bmp";
    EXPECT_EQ(RunToEnd(), 3);
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Title, "エラー");
    EXPECT_TRUE(Outputs().empty());
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
