#include "Cp932.h"
#include "FormUtils.h"
#include "ItemSearch.h"
#include "QtSettingsStore.h"
#include "QtText.h"
#include "Repl.h"
#include "Srch.h"
#include "SrchItem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace quillon;

namespace {

class FindDialogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TQtSettingsStore> store;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<TQtSettingsStore>(dir.filePath("quillon.ini"));
    }
    void SetHistory(const std::string& section, const QStringList& items) { WriteHistory(*store, section, items); }
    QStringList History(const std::string& section) {
        return QStr(store->ReadString(section, "Text", "")).split("\r\n", Qt::SkipEmptyParts);
    }
    // Each character as a key press carrying it, as an input method gives Japanese text.
    static void Type(QComboBox* box, const QString& text) {
        box->lineEdit()->clear();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box->lineEdit(), &press);
        }
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
    }
};

// Each case ticks boxes by clicking, in order, and expects the option bits.
TEST_F(FindDialogTest, OptionBitsFollowTheTickedBoxes) {
    struct Case {
        std::vector<const char*> Clicks;
        std::uint8_t Options;
    } cases[] = {
        {{}, 0},
        {{"chkMatchCase"}, 1},
        {{"chkRegExp"}, 2},
        {{"chkRegExp", "chkAimai"}, 6},
        {{"chkRegExp", "chkAimai", "chkMatchCase"}, 7},
        {{"chkWholeWord"}, 8},
        {{"chkWholeWord", "chkMatchCase"}, 9},
        {{"chkWholeWord", "chkRegExp"}, 8},          // the second box is disabled
        {{"chkRegExp", "chkWholeWord"}, 2},          // likewise
        {{"chkAimai"}, 0},                           // fuzzy is offered only with a regular expression
        {{"chkRegExp", "chkAimai", "chkRegExp"}, 0}, // a ticked but disabled fuzzy box adds nothing alone
    };
    for (const Case& c : cases) {
        TFormSearch form(*store);
        form.show();
        std::string trace;
        for (const char* name : c.Clicks) {
            Click(form.findChild<QCheckBox*>(name));
            trace += std::string(name) + " ";
        }
        SCOPED_TRACE(trace);
        Type(form.ComboBox1, "x");
        QTest::mouseClick(form.btnOK, Qt::LeftButton);
        std::string text;
        std::uint8_t options = 0xFF;
        bool backward = true;
        ASSERT_TRUE(form.Result(text, options, backward));
        EXPECT_EQ(options, c.Options);
        EXPECT_FALSE(backward);
        EXPECT_EQ(text, "x");
        store->EraseSection(OptionsSection);
    }
}

TEST_F(FindDialogTest, OptionBoxesLockEachOther) {
    TFormSearch form(*store);
    form.show();
    EXPECT_TRUE(form.chkRegExp->isEnabled());
    EXPECT_FALSE(form.chkAimai->isEnabled());
    Click(form.chkWholeWord);
    EXPECT_FALSE(form.chkRegExp->isEnabled());
    EXPECT_FALSE(form.chkAimai->isEnabled());
    Click(form.chkWholeWord);
    EXPECT_TRUE(form.chkRegExp->isEnabled());
    EXPECT_FALSE(form.chkAimai->isEnabled());
    Click(form.chkRegExp);
    EXPECT_FALSE(form.chkWholeWord->isEnabled());
    EXPECT_TRUE(form.chkAimai->isEnabled());
    Click(form.chkRegExp);
    EXPECT_TRUE(form.chkWholeWord->isEnabled());
    EXPECT_FALSE(form.chkAimai->isEnabled());
}

TEST_F(FindDialogTest, StoredOptionsAreLoadedAndTheRegExpBoxDecidesTheEnabling) {
    for (const char* name : {"WholeWord", "MatchCase", "RegExp", "Fuzzy"}) store->WriteBool(OptionsSection, name, true);
    TFormSearch form(*store);
    form.show();
    EXPECT_TRUE(form.chkWholeWord->isChecked());
    EXPECT_TRUE(form.chkRegExp->isChecked());
    EXPECT_TRUE(form.chkAimai->isChecked());
    EXPECT_FALSE(form.chkWholeWord->isEnabled());
    EXPECT_TRUE(form.chkRegExp->isEnabled());
    EXPECT_TRUE(form.chkAimai->isEnabled());
    // Neither box is stuck: unticking the regular expression frees the whole word.
    Click(form.chkRegExp);
    EXPECT_TRUE(form.chkWholeWord->isEnabled());
    Click(form.chkRegExp);
    Type(form.ComboBox1, "a");
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    std::string text;
    std::uint8_t options = 0;
    bool backward = false;
    ASSERT_TRUE(form.Result(text, options, backward));
    EXPECT_EQ(options, 7); // the stored whole word is dropped beside the regular expression
}

TEST_F(FindDialogTest, DirectionIsReadForwardUnlessStoredBackward) {
    struct Case {
        const char* Stored;
        bool Backward;
    } cases[] = {{"0", true}, {"1", false}, {"5", false}, {"-1", false}, {"x", false}, {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Stored ? c.Stored : "absent");
        if (c.Stored)
            store->WriteValue(OptionsSection, "Direction", c.Stored);
        else
            store->DeleteValue(OptionsSection, "Direction");
        TFormSearch form(*store);
        form.show();
        EXPECT_EQ(ItemIndex(form.rgpDirection), c.Backward ? 0 : 1);
        Type(form.ComboBox1, "a");
        QTest::mouseClick(form.btnOK, Qt::LeftButton);
        std::string text;
        std::uint8_t options = 0;
        bool backward = !c.Backward;
        ASSERT_TRUE(form.Result(text, options, backward));
        EXPECT_EQ(backward, c.Backward);
        EXPECT_EQ(store->ReadValue(OptionsSection, "Direction"), c.Backward ? "0" : "1");
    }
}

TEST_F(FindDialogTest, ConfirmedTextMovesToTheTopOfTheHistory) {
    SetHistory(FindHistorySection, {"x", "abc", "y"});
    TFormSearch form(*store);
    form.show();
    EXPECT_EQ(form.ComboBox1->currentText(), "x"); // the newest entry stands in the box
    EXPECT_EQ(form.focusWidget(), form.ComboBox1);
    Type(form.ComboBox1, "abc");
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    EXPECT_EQ(History(FindHistorySection), QStringList({"abc", "x", "y"}));
    EXPECT_EQ(store->ReadValue(FindHistorySection, "Text"), "abc\r\nx\r\ny");
}

TEST_F(FindDialogTest, HistoryKeepsTheNewest32) {
    QStringList full;
    for (int i = 0; i < 40; ++i) full << QString::number(i);
    SetHistory(FindHistorySection, full); // more than a history holds, as an edited store might
    TFormSearch form(*store);
    form.show();
    EXPECT_EQ(form.ComboBox1->count(), 32);
    Type(form.ComboBox1, "new");
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    QStringList expected = full.mid(0, 31);
    expected.prepend("new");
    EXPECT_EQ(History(FindHistorySection), expected);
}

TEST_F(FindDialogTest, EmptyLinesInAStoredHistoryArePassedOver) {
    store->WriteString(FindHistorySection, "Text", "a\r\n\r\nb\r\n");
    EXPECT_EQ(ReadHistory(*store, FindHistorySection), QStringList({"a", "b"}));
}

TEST_F(FindDialogTest, ConfirmingAnEmptyTextStoresOnlyTheOptions) {
    SetHistory(FindHistorySection, {"x"});
    TFormSearch form(*store);
    form.show();
    Click(form.chkMatchCase);
    form.ComboBox1->lineEdit()->clear();
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    std::string text = "keep";
    std::uint8_t options = 0;
    bool backward = false;
    EXPECT_FALSE(form.Result(text, options, backward));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(store->ReadValue(OptionsSection, "MatchCase"), "1");
    EXPECT_EQ(History(FindHistorySection), QStringList({"x"}));
}

TEST_F(FindDialogTest, CancelStoresNothing) {
    TFormSearch form(*store);
    form.show();
    Click(form.chkMatchCase);
    Type(form.ComboBox1, "abc");
    QTest::mouseClick(form.btnCancel, Qt::LeftButton);
    std::string text;
    std::uint8_t options = 0;
    bool backward = false;
    EXPECT_FALSE(form.Result(text, options, backward));
    EXPECT_FALSE(store->SectionExists(OptionsSection));
    EXPECT_FALSE(store->SectionExists(FindHistorySection));
}

TEST_F(FindDialogTest, EnterConfirmsAndTheTextComesBackAsShiftJis) {
    TFormSearch form(*store);
    form.show();
    form.ComboBox1->lineEdit()->setText(QStringLiteral("ソ表"));
    QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    std::string text;
    std::uint8_t options = 0;
    bool backward = false;
    ASSERT_TRUE(form.Result(text, options, backward));
    EXPECT_EQ(text, Utf8ToCp932("ソ表"));
    EXPECT_EQ(History(FindHistorySection), QStringList({QStringLiteral("ソ表")}));
}

TEST_F(FindDialogTest, ExecuteClearsTheRequestAndGivesTheConfirmedOne) {
    store->WriteValue(OptionsSection, "Direction", "0");
    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<TFormSearch*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->ComboBox1->lineEdit()->setText("abc");
        form->chkRegExp->setChecked(true);
        QTest::mouseClick(form->btnOK, Qt::LeftButton);
    });
    std::string text = "old";
    std::uint8_t options = 9;
    bool backward = false;
    EXPECT_TRUE(ExecuteSearchDialog(*store, text, options, backward));
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(options, 2);
    EXPECT_TRUE(backward);

    QTimer::singleShot(0, [] {
        QTest::mouseClick(qobject_cast<TFormSearch*>(QApplication::activeModalWidget())->btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteSearchDialog(*store, text, options, backward));
    EXPECT_EQ(text, "");
    EXPECT_EQ(options, 0);
}

// A text box keeps what is typed: a prefix of a history entry was once completed inline into the
// entry ("ジャンプ[0-9]" became "ジャンプ[0-9]跳躍"), and a case-blind match took the entry's case.
TEST_F(FindDialogTest, EveryTextBoxKeepsWhatIsTypedOverItsHistory) {
    const QStringList history = {"ジャンプ[0-9]跳躍", "ABCDEF"};
    SetHistory(FindHistorySection, history);
    SetHistory("ReplaceItems", history);
    std::vector<std::string> items;
    for (const QString& text : history) items.push_back(StdStr(text));
    WriteItemHistory(*store, items);
    TFormSearch find(*store);
    TFormReplace replace(*store);
    TfrmSrchItem item(*store);
    for (QDialog* form : std::initializer_list<QDialog*>{&find, &replace, &item}) {
        form->show();
        for (QComboBox* box : form->findChildren<QComboBox*>()) {
            if (!box->isEditable()) continue;
            SCOPED_TRACE(box->objectName().toStdString() + " of " + form->windowTitle().toStdString());
            for (const QString& typed : {QStringLiteral("ジャンプ[0-9]"), QStringLiteral("abcdef")}) {
                Type(box, typed);
                EXPECT_EQ(box->currentText().toStdString(), typed.toStdString());
                QTest::keyClick(box->lineEdit(), Qt::Key_Return);
                EXPECT_EQ(box->currentText().toStdString(), typed.toStdString());
                form->show();
            }
        }
    }
}

TEST_F(FindDialogTest, ReplaceDialogOpensForwardWithConfirmationAndBothHistories) {
    store->WriteValue(OptionsSection, "Direction", "0");
    store->WriteBool(OptionsSection, "ReplaceConfirm", false);
    store->WriteBool(OptionsSection, "MatchCase", true);
    SetHistory(FindHistorySection, {"f1", "f2"});
    SetHistory("ReplaceItems", {"r1"});
    TFormReplace form(*store);
    form.show();
    EXPECT_EQ(form.windowTitle(), "置換");
    EXPECT_EQ(ItemIndex(form.rgpDirection), 1);
    EXPECT_TRUE(form.chkReplaceConfirm->isChecked());
    EXPECT_TRUE(form.chkMatchCase->isChecked());
    EXPECT_EQ(form.ComboBox1->currentText(), "f1");
    EXPECT_EQ(form.ComboBox2->count(), 1);
    EXPECT_EQ(form.ComboBox2->currentText(), "");
    EXPECT_EQ(form.focusWidget(), form.ComboBox1);
}

TEST_F(FindDialogTest, ReplaceConfirmsTextsIntoBothHistories) {
    SetHistory(FindHistorySection, {"f1", "f2"});
    SetHistory("ReplaceItems", {"r1", "r2"});
    TFormReplace form(*store);
    form.show();
    Type(form.ComboBox1, "f2");
    Type(form.ComboBox2, "r2");
    Click(form.chkReplaceConfirm);
    SetItemIndex(form.rgpDirection, 0);
    Click(form.chkWholeWord);
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    std::string find, replace;
    bool confirm = true, all = true, backward = false;
    std::uint8_t options = 0;
    ASSERT_TRUE(form.Result(find, replace, confirm, all, backward, options));
    EXPECT_EQ(find, "f2");
    EXPECT_EQ(replace, "r2");
    EXPECT_FALSE(confirm);
    EXPECT_FALSE(all);
    EXPECT_TRUE(backward);
    EXPECT_EQ(options, 8);
    EXPECT_EQ(History(FindHistorySection), QStringList({"f2", "f1"}));
    EXPECT_EQ(History("ReplaceItems"), QStringList({"r2", "r1"}));
    EXPECT_EQ(store->ReadValue(OptionsSection, "ReplaceConfirm"), "0");
    EXPECT_EQ(store->ReadValue(OptionsSection, "WholeWord"), "1");
    EXPECT_FALSE(store->ValueExists(OptionsSection, "Direction")); // the replace dialog keeps no direction
}

TEST_F(FindDialogTest, ReplaceAllWithAnEmptyReplacement) {
    TFormReplace form(*store);
    form.show();
    Type(form.ComboBox1, "abc");
    QTest::mouseClick(form.btnAll, Qt::LeftButton);
    EXPECT_EQ(form.result(), TFormReplace::mrAll);
    std::string find, replace = "old";
    bool confirm = false, all = false, backward = true;
    std::uint8_t options = 0xFF;
    ASSERT_TRUE(form.Result(find, replace, confirm, all, backward, options));
    EXPECT_EQ(find, "abc");
    EXPECT_EQ(replace, "");
    EXPECT_TRUE(confirm);
    EXPECT_TRUE(all);
    EXPECT_FALSE(backward);
    EXPECT_EQ(options, 0);
    EXPECT_TRUE(History("ReplaceItems").isEmpty());
}

TEST_F(FindDialogTest, ReplaceWithoutAFindTextGivesNothingButStoresTheOptions) {
    TFormReplace form(*store);
    form.show();
    Type(form.ComboBox2, "r");
    Click(form.chkRegExp);
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    std::string find, replace;
    bool confirm = false, all = false, backward = false;
    std::uint8_t options = 0;
    EXPECT_FALSE(form.Result(find, replace, confirm, all, backward, options));
    EXPECT_EQ(store->ReadValue(OptionsSection, "RegExp"), "1");
    EXPECT_EQ(History("ReplaceItems"), QStringList({"r"}));
}

TEST_F(FindDialogTest, ExecuteReplaceClearsTheRequestOnCancel) {
    QTimer::singleShot(0, [] {
        auto* form = qobject_cast<TFormReplace*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->ComboBox1->lineEdit()->setText("abc");
        QTest::mouseClick(form->btnCancel, Qt::LeftButton);
    });
    std::string find = "f", replace = "r";
    bool confirm = false, all = false, backward = false;
    std::uint8_t options = 3;
    EXPECT_FALSE(ExecuteReplaceDialog(*store, find, replace, confirm, all, backward, options));
    EXPECT_EQ(find, "");
    EXPECT_EQ(replace, "");
    EXPECT_EQ(options, 0);
    EXPECT_FALSE(store->SectionExists(OptionsSection));
}

TEST_F(FindDialogTest, FormsCarryTheirCaptionsAndNoSystemButtons) {
    TFormSearch search(*store);
    EXPECT_EQ(search.windowTitle(), "検索");
    EXPECT_EQ(search.Label1->text(), "検索する文字列(&T):");
    EXPECT_EQ(search.Label1->buddy(), search.ComboBox1);
    EXPECT_EQ(search.GroupBox1->title(), " ｵﾌﾟｼｮﾝ ");
    EXPECT_FALSE(search.chkAimai->isEnabled());
    EXPECT_TRUE(search.btnOK->isDefault());
    EXPECT_FALSE(search.windowFlags() & Qt::WindowCloseButtonHint);
    TFormReplace replace(*store);
    EXPECT_EQ(replace.Label2->text(), "置換える文字列(&R):");
    EXPECT_EQ(replace.btnAll->text(), "すべて置換(&A)");
    EXPECT_FALSE(replace.windowFlags() & Qt::WindowCloseButtonHint);
}

} // namespace
