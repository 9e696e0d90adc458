#include "Cp932.h"
#include "FormUtils.h"
#include "QtSettingsStore.h"
#include "QtText.h"
#include "SrchItem.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace quillon;

namespace {

class ItemSearchDialog : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TQtSettingsStore> store;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<TQtSettingsStore>(dir.filePath("quillon.ini"));
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
    }
    static void Confirm(TfrmSrchItem& form, const QString& text) {
        form.ComboBox1->lineEdit()->setText(text);
        QTest::mouseClick(form.btnOK, Qt::LeftButton);
    }
};

TEST_F(ItemSearchDialog, ShowsItsFieldsAndDefaults) {
    TfrmSrchItem form(*store);
    form.show();
    EXPECT_EQ(form.Label1->text(), "検索文字列：");
    EXPECT_EQ(form.rgpTokens->title(), "検索対象");
    QStringList items;
    for (const QRadioButton* item : form.rgpTokens->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        items << item->text();
    EXPECT_EQ(items,
              QStringList({"&Num", "&To", "Sp", "&Pic", "De",   "Ci", "&V",   "Vx",   "Rx",   "Vy",   "Ry",
                           "C",    "CL",  "G",  "Da",   "&Hit", "H",  "Flag", "Def1", "Def2", "Att1", "Comment"}));
    EXPECT_EQ(ItemIndex(form.rgpTokens), 0);
    EXPECT_EQ(ItemIndex(form.rgpDirection), 1);
    EXPECT_EQ(form.chkSubString->text(), "部分一致(&I)");
    EXPECT_TRUE(form.chkWholeWord->isEnabled());
    EXPECT_FALSE(form.chkAimai->isEnabled());
    EXPECT_TRUE(form.btnOK->isDefault());
    EXPECT_EQ(form.btnCancel->text(), "キャンセル");
    EXPECT_EQ(form.ComboBox1->currentIndex(), -1);
}

TEST_F(ItemSearchDialog, TheRequestFollowsTheControls) {
    struct Case {
        std::vector<const char*> Clicks;
        int Token;
        int Direction;
        int Kind, Options, RequestDirection;
    };
    const Case cases[] = {
        {{}, 0, 1, 50, 0, idDown},
        {{"chkSubString"}, 3, 0, 53, 16, idUp},
        {{"chkWholeWord", "chkMatchCase"}, 21, 1, 7, 9, idDown},
        {{"chkRegExp", "chkAimai", "chkSubString"}, 15, 1, 67, 22, idDown},
        {{"chkWholeWord", "chkRegExp"}, 12, 1, 64, 8, idDown}, // regular expression disabled by whole word
        {{"chkRegExp", "chkWholeWord"}, 18, 1, 71, 2, idDown},
    };
    for (const Case& c : cases) {
        TfrmSrchItem form(*store);
        form.show();
        for (const char* name : c.Clicks) Click(form.findChild<QCheckBox*>(name));
        SetItemIndex(form.rgpTokens, c.Token);
        SetItemIndex(form.rgpDirection, c.Direction);
        Confirm(form, "12");
        TItemSearchRequest request;
        ASSERT_TRUE(form.Result(request));
        EXPECT_EQ(request.ItemText, "12");
        EXPECT_EQ(request.ItemKind, c.Kind);
        EXPECT_EQ(request.ItemOptions, c.Options) << c.Token;
        EXPECT_EQ(request.ItemDirection, c.RequestDirection);
        store->EraseSection("SearchItemOptions");
    }
}

TEST_F(ItemSearchDialog, OptionsAndHistoryAreStoredAndShownAgain) {
    {
        TfrmSrchItem form(*store);
        form.show();
        Click(form.chkRegExp);
        Click(form.chkSubString);
        SetItemIndex(form.rgpTokens, 5);
        SetItemIndex(form.rgpDirection, 0);
        Confirm(form, QStringLiteral("立ち"));
    }
    EXPECT_EQ(store->ReadString("SearchItemOptions", "RegExp", ""), "1");
    EXPECT_EQ(store->ReadString("SearchItemOptions", "SearchToken", ""), "5");
    EXPECT_EQ(store->ReadString("SearchItemOptions", "Direction", ""), "0");
    TfrmSrchItem form(*store);
    form.show();
    EXPECT_TRUE(form.chkRegExp->isChecked() && form.chkSubString->isChecked());
    EXPECT_FALSE(form.chkWholeWord->isEnabled());
    EXPECT_TRUE(form.chkAimai->isEnabled());
    EXPECT_EQ(ItemIndex(form.rgpTokens), 5);
    EXPECT_EQ(ItemIndex(form.rgpDirection), 0);
    EXPECT_EQ(form.ComboBox1->currentText(), QStringLiteral("立ち"));
    Confirm(form, "a");
    EXPECT_EQ(ReadItemHistory(*store), (std::vector<std::string>{"a", "立ち"}));
}

TEST_F(ItemSearchDialog, AnEmptyTextStoresOnlyTheOptions) {
    TfrmSrchItem form(*store);
    form.show();
    Click(form.chkMatchCase);
    Confirm(form, "");
    TItemSearchRequest request;
    EXPECT_FALSE(form.Result(request));
    EXPECT_TRUE(store->ReadBool("SearchItemOptions", "MatchCase", false));
    EXPECT_FALSE(store->ValueExists("SearchItems", "ItemText"));
}

TEST_F(ItemSearchDialog, WholeWordStoredWithRegExpLeavesTheRegExpBoxUsable) {
    store->WriteBool("SearchItemOptions", "WholeWord", true);
    store->WriteBool("SearchItemOptions", "RegExp", true);
    store->WriteInteger("SearchItemOptions", "Direction", 5);
    TfrmSrchItem form(*store);
    form.show();
    EXPECT_TRUE(form.chkRegExp->isEnabled());
    EXPECT_FALSE(form.chkWholeWord->isEnabled());
    EXPECT_EQ(ItemIndex(form.rgpDirection), 1);
}

TEST_F(ItemSearchDialog, ExecuteClearsTheRequestAndGivesTheConfirmedOne) {
    QTimer::singleShot(0, [] {
        auto* form = dynamic_cast<TfrmSrchItem*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        SetItemIndex(form->rgpTokens, 3);
        form->chkSubString->setChecked(true);
        form->ComboBox1->lineEdit()->setText(QStringLiteral("絵"));
        QTest::mouseClick(form->btnOK, Qt::LeftButton);
    });
    TItemSearchRequest request{"old", 60, 9, idUp};
    EXPECT_TRUE(TfrmSrchItem::Execute(*store, request));
    EXPECT_EQ(request.ItemText, Utf8ToCp932("絵"));
    EXPECT_EQ(request.ItemKind, 53);
    EXPECT_EQ(request.ItemOptions, 16);
    EXPECT_EQ(request.ItemDirection, idDown);

    QTimer::singleShot(0, [] {
        QTest::mouseClick(dynamic_cast<TfrmSrchItem*>(QApplication::activeModalWidget())->btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(TfrmSrchItem::Execute(*store, request));
    EXPECT_EQ(request.ItemText, "");
    EXPECT_EQ(request.ItemKind, 50);
    EXPECT_EQ(request.ItemOptions, 0);
}

} // namespace
