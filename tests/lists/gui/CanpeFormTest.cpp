#include "CanpeForm.h"

#include "Cp932.h"
#include "QtText.h"

#include <QApplication>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quillon;

TEST(HintViewer, ShowsTheTitleAndTheBodyReadOnly) {
    TfrmCanpe form;
    form.SetHint(Utf8ToCp932("ソ表の説明"), Utf8ToCp932("一行目\r\n\r\n三行目 ソ\r\n"));
    EXPECT_EQ(form.windowTitle(), QStr("ソ表の説明"));
    EXPECT_EQ(form.Memo1->toPlainText(), QStr("一行目\n\n三行目 ソ\n"));
    EXPECT_TRUE(form.Memo1->isReadOnly());
    EXPECT_EQ(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form.Memo1->font().pixelSize(), 12);
    EXPECT_TRUE(form.Button1->isDefault());
    EXPECT_EQ(form.Button1->text(), "OK");
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(HintViewer, ExecuteShowsTheHintModallyUntilOK) {
    QString caption, text;
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TfrmCanpe*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        caption = form->windowTitle();
        text = form->Memo1->toPlainText();
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        clicked = true;
    });
    ShowItemHint("Num title", "line 1\r\nline 2\r\n");
    EXPECT_TRUE(clicked);
    EXPECT_EQ(caption, "Num title");
    EXPECT_EQ(text, "line 1\nline 2\n");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
