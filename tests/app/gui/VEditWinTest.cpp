#include "VEdt.h"

#include "ColorGrid.h"
#include "ColourerTestUtils.h"
#include "EditorColourer.h"
#include "EditorEx.h"
#include "FormUtils.h"
#include "KindProperties.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "PropertyWindows.h"
#include "QesEnemyColourer.h"
#include "QtSettingsStore.h"
#include "StreamUtils.h"

#include <QApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

using namespace quillon;

namespace {

void ClickCell(TColorGrid* grid, int cell, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(grid, button, {}, grid->CellRect(cell).center());
}

void ClickItem(QGroupBox* group, int index) {
    auto items = group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_LT(index, items.size());
    QTest::mouseClick(items[index], Qt::LeftButton, {}, QPoint(6, items[index]->height() / 2));
}

// The families fontconfig gives Spacing (FC_PROPORTIONAL, FC_DUAL, FC_MONO ...), every name of each.
QStringList FamiliesOfSpacing(int Spacing) {
    QStringList names;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_SPACING, FcTypeInteger, Spacing, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
            names.push_back(QString::fromUtf8(reinterpret_cast<const char*>(name)));
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return names;
}

bool Listed(const QListWidget* list, const QString& text) { return !list->findItems(text, Qt::MatchExactly).isEmpty(); }

int Row(QListWidget* list, const char* text) {
    const auto found = list->findItems(QString::fromUtf8(text), Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.first());
}

// A motion list's settings in an open window; the caller's objects beside it.
struct VEditWinTest : ::testing::Test {
    TEditorExProp Prop;
    TMotionColourer Motion{nullptr};
    TVEditWin Form;

    void SetUp() override {
        Motion.SetDefaultColors();
        ASSERT_TRUE(Form.Setup(Prop, &Motion, nullptr));
        Form.show();
    }
    TColourerColor& CopyNum() const { return Form.ColourerCopy()->ColorAt(0); }
};

TEST_F(VEditWinTest, ListsTheKindsColoursBetweenBasicAndTheMarks) {
    EXPECT_EQ(Form.Kind(), lkMotion);
    QListWidget* list = Form.ListBox_Colors;
    ASSERT_EQ(list->count(), 1 + 26 + 5);
    EXPECT_EQ(list->item(0)->text(), "基本");
    EXPECT_EQ(list->item(1)->text(), "Num");
    EXPECT_EQ(list->item(26)->text(), "エラー");
    EXPECT_EQ(list->item(31)->text(), "カーソル行下線");
    EXPECT_EQ(Form.PageControl1->currentWidget(), Form.TabSheet_Colors);
}

TEST_F(VEditWinTest, GridAndStyleBoxesEditTheSelectedColourOfTheCopyOnly) {
    Form.ListBox_Colors->setCurrentRow(Row(Form.ListBox_Colors, "Num"));
    ClickCell(Form.ColorGrid_Colors, 9);                   // clRed
    ClickCell(Form.ColorGrid_Colors, 11, Qt::RightButton); // clYellow
    QTest::mouseClick(Form.CheckBox13, Qt::LeftButton, {}, QPoint(6, Form.CheckBox13->height() / 2));
    EXPECT_EQ(CopyNum().Color(), clRed);
    EXPECT_EQ(CopyNum().BkColor(), clYellow);
    EXPECT_TRUE(HasStyle(CopyNum().Style(), fsBold));
    EXPECT_NE(Motion.ColorAt(0).Color(), clRed); // nothing reaches the caller before OK
}

TEST_F(VEditWinTest, RightClickOnClNoneClearsTheBackgroundAndShowsBG) {
    Form.ListBox_Colors->setCurrentRow(Row(Form.ListBox_Colors, "Num"));
    CopyNum().SetBkColor(clBlue);
    Form.ListBox_Colors->setCurrentRow(0);
    Form.ListBox_Colors->setCurrentRow(Row(Form.ListBox_Colors, "Num"));
    EXPECT_TRUE(Form.Label27->isHidden());
    QTest::mouseClick(Form.Panel1, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(CopyNum().BkColor(), clNone);
    EXPECT_FALSE(Form.Label27->isHidden());
    EXPECT_EQ(Form.ColorGrid_Colors->BackgroundIndex(), 16);
}

TEST_F(VEditWinTest, AMarkItemHasNoBackgroundNorStyle) {
    Form.ListBox_Colors->setCurrentRow(Row(Form.ListBox_Colors, "[EOF]マーク"));
    EXPECT_FALSE(Form.ColorGrid_Colors->BackgroundEnabled());
    EXPECT_FALSE(Form.CheckBox13->isEnabled());
    EXPECT_FALSE(Form.CheckBox15->isEnabled());
    ClickCell(Form.ColorGrid_Colors, 10); // clLime
    ClickCell(Form.ColorGrid_Colors, 12, Qt::RightButton);
    EXPECT_EQ(Form.EditorProp1().Marks().EofMark().Color(), clLime);
}

TEST_F(VEditWinTest, BasicItemWritesTheSetsColourAndFont) {
    Form.ListBox_Colors->setCurrentRow(0);
    ClickCell(Form.ColorGrid_Colors, 4, Qt::RightButton); // clNavy
    ClickCell(Form.ColorGrid_Colors, 15);                 // clWhite
    EXPECT_EQ(Form.EditorProp1().Color(), clNavy);
    EXPECT_EQ(Form.EditorProp1().Font().Color(), clWhite);
    EXPECT_EQ(Form.Editor_Colors->Color(), clNavy); // the sample shows it at once
}

TEST_F(VEditWinTest, ControlsWriteTheirProperties) {
    ClickItem(Form.RadioGroup_GaugeRange, 1);
    EXPECT_EQ(Form.EditorProp1().Ruler().GaugeRange(), 8);
    QTest::mouseClick(Form.CheckBox_FreeCaret, Qt::LeftButton, {}, QPoint(6, Form.CheckBox_FreeCaret->height() / 2));
    EXPECT_NE(Form.EditorProp1().Caret().FreeCaret(), Prop.Caret().FreeCaret());
    ClickItem(Form.RadioGroup_ScrollBars, 3);
    EXPECT_EQ(Form.EditorProp1().ScrollBars(), ssBoth);
    EXPECT_EQ(Form.Editor_FontSample->Editor().ScrollBars(), ssBoth); // the scroll bars reach this sample only
    EXPECT_NE(Form.Editor_Colors->Editor().ScrollBars(), ssBoth);
    Form.SpinEdit_TabSpaceCount->setValue(4);
    EXPECT_EQ(Form.Editor_SelMove->Editor().Caret().TabSpaceCount(), 4); // the caret options this one only
    EXPECT_NE(Form.Editor_Ruler->Editor().Caret().TabSpaceCount(), 4);
    Form.SpinEdit_LeftbarColumn->setValue(7);
    EXPECT_EQ(Form.EditorProp1().Leftbar().Column(), 7);
    Form.chkHankakuSpace->setChecked(true);
    Form.cboHankakuSpace->setCurrentIndex(9);
    emit Form.cboHankakuSpace->activated(9);
    auto& sample = dynamic_cast<TEditorEx&>(Form.Editor_Colors->Editor());
    EXPECT_TRUE(sample.ExMarks().SpaceMark().Visible()); // the samples show the visible marks
    EXPECT_EQ(sample.ExMarks().SpaceMark().Color(), clRed);
    Form.chkFindMark->setChecked(!Prop.ExMarks().FindMark().Visible());
    EXPECT_NE(Form.EditorProp1().ExMarks().FindMark().Visible(), Prop.ExMarks().FindMark().Visible());
    Form.Edit_FontSize->setText("x");
    EXPECT_EQ(Form.EditorProp1().Font().Height(), -13); // 10 points
    const struct {
        const char* Text;
        int Height;
    } sizes[] = {{"12", -16}, {"0", -13}, {"-4", -13}, {"99999", -267}, {"", -13}};
    for (const auto& size : sizes) {
        Form.Edit_FontSize->setText(size.Text);
        EXPECT_EQ(Form.EditorProp1().Font().Height(), size.Height) << size.Text;
    }
    Form.Edit_FontSize->setText("20");
    EXPECT_EQ(Form.Editor_FontSample->EditorQFont().pixelSize(), 27); // the sample follows while typing
}

TEST_F(VEditWinTest, EachCaretBoxReachesTheSelectionSampleAtOnce) {
    using C = TEditorCaret;
    const std::pair<QCheckBox*, bool (C::*)() const> boxes[] = {
        {Form.CheckBox_FreeCaret, &C::FreeCaret},   {Form.CheckBox_FreeRow, &C::FreeRow},
        {Form.CheckBox_AutoIndent, &C::AutoIndent}, {Form.CheckBox_BackSpaceUnIndent, &C::BackSpaceUnIndent},
        {Form.CheckBox_InTab, &C::InTab},           {Form.CheckBox_KeepCaret, &C::KeepCaret},
        {Form.CheckBox_LockScroll, &C::LockScroll}, {Form.CheckBox_NextLine, &C::NextLine},
        {Form.CheckBox_TabIndent, &C::TabIndent},   {Form.CheckBox_PrevSpaceIndent, &C::PrevSpaceIndent},
        {Form.CheckBox_SoftTab, &C::SoftTab},       {Form.CheckBox_RowSelect, &C::RowSelect},
        {Form.CheckBox_SelMove, &C::SelMove},
    };
    Form.PageControl1->setCurrentWidget(Form.TabSheet_Caret);
    const C& sample = Form.Editor_SelMove->Editor().Caret();
    for (const auto& [box, get] : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        const bool was = (sample.*get)();
        EXPECT_EQ(box->isChecked(), was);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        EXPECT_EQ((Form.EditorProp1().Caret().*get)(), !was);
        EXPECT_EQ((sample.*get)(), !was);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        EXPECT_EQ((sample.*get)(), was);
    }
}

TEST_F(VEditWinTest, OkCopiesEverythingBackCancelNothing) {
    Form.ListBox_Colors->setCurrentRow(Row(Form.ListBox_Colors, "Num"));
    ClickCell(Form.ColorGrid_Colors, 9);
    ClickItem(Form.RadioGroup_GaugeRange, 1);
    const TBytes before = WriteComponent(Prop), colours = WriteComponent(Motion);
    Form.Button_Cancel->click();
    EXPECT_EQ(WriteComponent(Prop), before);
    EXPECT_EQ(WriteComponent(Motion), colours);
    Form.Button_Ok->click();
    EXPECT_EQ(Prop.Ruler().GaugeRange(), 8);
    EXPECT_EQ(Motion.ColorAt(0).Color(), clRed);
}

TEST_F(VEditWinTest, UnifyButtonsAskFirst) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    Form.ListBox_Colors->setCurrentRow(0);
    messages.Answer(TMsgResult::Cancel);
    Form.Button_ColorsSameBkColor->click();
    EXPECT_EQ(messages.Shown.back().Text, "Change all BkColor to clNone");
    EXPECT_EQ(messages.Shown.back().Title, "確認");
    EXPECT_EQ(messages.Shown.back().Icon, TMsgIcon::Question);
    EXPECT_EQ(messages.Shown.back().Buttons, TMsgButtons::OKCancel);
    messages.Answer(TMsgResult::Ok);
    Form.EditorProp1().View().Colors().Ank().SetBkColor(clRed);
    Form.Button_ColorsSameBkColor->click();
    EXPECT_EQ(Form.EditorProp1().View().Colors().Ank().BkColor(), clNone);
}

TEST(VEditWin, QuessaColoursShownAndWrittenBackUnchanged) {
    TEditorExProp prop;
    TQesEnemyColourer qes(nullptr);
    qes.SetDefaultColors();
    qes.Reserve().SetColor(clPurple);
    const TBytes before = WriteComponent(qes);
    TVEditWin form;
    ASSERT_TRUE(form.Setup(prop, &qes, nullptr));
    form.ListBox_Colors->setCurrentRow(Row(form.ListBox_Colors, "エラー"));
    const TColor error = qes.KindColor(ltError)->Color();
    EXPECT_EQ(form.ColorGrid_Colors->ForegroundIndex(), ColorIndex(error));
    form.Button_Ok->click();
    EXPECT_EQ(WriteComponent(qes), before);
}

TEST(VEditWin, OtherColourersOpenNoWindow) {
    TEditorExProp prop;
    TEditorColourer plain(nullptr);
    TVEditWin form;
    EXPECT_FALSE(form.Setup(prop, &plain, nullptr));
    EXPECT_FALSE(EditEditorAndColourer(&prop, &plain, nullptr));
    EXPECT_FALSE(EditEditorAndColourer(nullptr, &plain, nullptr));
    EXPECT_FALSE(EditEditorProperties(nullptr, nullptr));
}

TEST(VEditWin, PlainTextListsTheEditorsOwnColoursAndPageHintPicksThePage) {
    TEditorExProp prop;
    TVEditWin form;
    ASSERT_TRUE(form.Setup(prop, nullptr, &prop.Caret()));
    EXPECT_EQ(form.Kind(), 0);
    EXPECT_EQ(form.ListBox_Colors->count(), 1 + 3 + 5);
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet_Caret);
    // No "@" family and, with variable pitch off, only families on fixed cells.
    const QStringList dual = FamiliesOfSpacing(FC_DUAL);
    for (int i = 0; i < form.ListBox_FontName->count(); ++i) {
        const QString family = form.ListBox_FontName->item(i)->text();
        EXPECT_FALSE(family.startsWith('@'));
        EXPECT_TRUE(QFontDatabase::isFixedPitch(family) || dual.contains(family)) << family.toStdString();
    }
}

TEST(VEditWin, SelectionAndHitSampleColoursFollowTheHitStyle) {
    TEditorExProp prop;
    prop.SetColor(clWhite);
    prop.Font().SetColor(clBlack);
    prop.View().Colors().Select().SetColor(clYellow);
    prop.View().Colors().Select().SetBkColor(clNone);
    prop.View().Colors().Hit().SetColor(clRed);
    prop.View().Colors().Hit().SetBkColor(clAqua);
    using P = std::pair<TColor, TColor>;
    EXPECT_EQ(SampleMarkColors(prop, false), P(clYellow, clBlack));
    const struct {
        TEditorHitStyle Style;
        P Hit;
    } cases[] = {{hsSelect, {clYellow, clBlack}}, {hsDraw, {clRed, clAqua}}, {hsCaret, {clWhite, clBlack}}};
    for (const auto& c : cases) {
        prop.SetHitStyle(c.Style);
        EXPECT_EQ(SampleMarkColors(prop, true), c.Hit) << c.Style;
    }
    prop.View().Colors().Hit().SetColor(clNone);
    prop.SetHitStyle(hsDraw);
    EXPECT_EQ(SampleMarkColors(prop, true).first, clWhite);
}

TEST_F(VEditWinTest, RulerSampleShowsItsSecondLineModifiedAndItsImageBarMarks) {
    TEditor& ruler = Form.Editor_Ruler->Editor();
    EXPECT_EQ(ruler.Lines().Text(), Form.Editor_Colors->Editor().Lines().Text());
    EXPECT_TRUE(ruler.ScreenStrings().RowModified(1));
    EXPECT_FALSE(ruler.ScreenStrings().RowModified(0));
}

TEST_F(VEditWinTest, ColoursSampleShowsTheSelectionColoursOverItsFirstRow) {
    Form.EditorProp1().View().Colors().Select().SetBkColor(clFuchsia);
    Form.PageControl1->setCurrentWidget(Form.TabSheet_Colors);
    const QImage image = Form.Editor_Colors->Render();
    int fuchsia = 0;
    for (int x = 0; x < image.width() / 2; ++x)
        for (int y = 0; y < 20 && y < image.height(); ++y)
            if (image.pixelColor(x, y) == QColor(255, 0, 255)) ++fuchsia;
    EXPECT_GT(fuchsia, 20);
}

// Runs Action on the settings window once it is shown modally.
void WhenShown(std::function<void(TVEditWin&)> Action) {
    QTimer::singleShot(0, [Action] {
        auto* form = dynamic_cast<TVEditWin*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        Action(*form);
    });
}

struct PropertyEditingTest : ::testing::Test {
    QTemporaryDir Dir;
    TQtSettingsStore Store{Dir.filePath("quillon.ini")};
    TEditorExProp Prop;
    TMotionColourer Motion{nullptr};
    TEditorWidget Window{std::make_unique<TEditorEx>()};
    int Applied = 0;

    bool Edit(int kind) {
        return EditKindProperties(Store, kind, Prop, kind == lkText ? nullptr : &Motion, SettingsWindowEditor(),
                                  [this](int, const TEditorExProp& prop, TOrvColourer* colourer) {
                                      ++Applied;
                                      ApplyPropertiesToWindow(Window, prop, colourer);
                                  });
    }
};

void ChangeNumAndGauge(TVEditWin& form) {
    form.ListBox_Colors->setCurrentRow(Row(form.ListBox_Colors, "Num"));
    ClickCell(form.ColorGrid_Colors, 9);
    ClickItem(form.RadioGroup_GaugeRange, 1);
}

TEST_F(PropertyEditingTest, ConfirmedStoresAndAppliesKeepingTheWindowsFindString) {
    auto& editor = static_cast<TEditorEx&>(Window.Editor());
    editor.SetFindString("abc");
    WhenShown([](TVEditWin& form) {
        ChangeNumAndGauge(form);
        form.Button_Ok->click();
    });
    ASSERT_TRUE(Edit(lkMotion));
    EXPECT_EQ(Applied, 1);
    TEditorExProp stored;
    ASSERT_TRUE(LoadKindProperties(Store, lkMotion, stored));
    EXPECT_EQ(stored.Ruler().GaugeRange(), 8);
    TMotionColourer colours(nullptr);
    colours.ReadFromRegistry(Store, ColourerPropertiesSection, "Motion");
    EXPECT_EQ(colours.ColorAt(0).Color(), clRed);
    EXPECT_EQ(Window.Editor().Ruler().GaugeRange(), 8);
    EXPECT_EQ(Window.Editor().Colourer(), &Motion);
    EXPECT_EQ(editor.FindString(), "abc");
}

TEST_F(PropertyEditingTest, CancelStoresNothing) {
    WhenShown([](TVEditWin& form) {
        ChangeNumAndGauge(form);
        form.Button_Cancel->click();
    });
    EXPECT_FALSE(Edit(lkMotion));
    EXPECT_EQ(Applied, 0);
    EXPECT_FALSE(Store.SectionExists(EditorPropertiesSection));
    EXPECT_FALSE(Store.SectionExists(ColourerPropertiesSection));
    EXPECT_NE(Prop.Ruler().GaugeRange(), 8);
    EXPECT_NE(Motion.ColorAt(0).Color(), clRed);
}

// Open and OK with nothing touched writes back the very bytes that were stored, for every kind:
// the colour items of the colours and ruler pages once copied their unloaded fields into the set
// (a bold font lost bold, the ruler's and left bar's colours became clNone).
TEST_F(PropertyEditingTest, OpenAndOkKeepsEveryStoredSetByteIdentical) {
    Prop.Font().SetColor(clMaroon);
    Prop.Font().SetStyle(StyleBit(fsBold));
    Prop.SetColor(clSilver);
    Prop.Ruler().SetColor(clGreen);
    Prop.Ruler().SetBkColor(clOlive);
    Prop.Ruler().SetMarkColor(clRed);
    Prop.Leftbar().SetColor(clNavy);
    Prop.Leftbar().SetBkColor(clPurple);
    Prop.Leftbar().SetModifiedColor(clTeal);
    Prop.Leftbar().SetModifiedBkColor(clYellow);
    for (int kind = lkText; kind < kListKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const std::string name(ListKindInfo(kind).ValueName);
        std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(kind);
        if (colourer) colourer->SetDefaultColors();
        Prop.WriteToRegistry(Store, EditorPropertiesSection, name);
        if (colourer) colourer->WriteToRegistry(Store, ColourerPropertiesSection, name);
        const auto prop = Store.ReadBinary(EditorPropertiesSection, name);
        const auto colours = Store.ReadBinary(ColourerPropertiesSection, name);
        WhenShown([](TVEditWin& form) { form.Button_Ok->click(); });
        TEditorExProp edited;
        edited.Assign(Prop);
        ASSERT_TRUE(EditKindProperties(Store, kind, edited, colourer.get(), SettingsWindowEditor(),
                                       [](int, const TEditorExProp&, TOrvColourer*) {}));
        EXPECT_EQ(Store.ReadBinary(EditorPropertiesSection, name), prop);
        EXPECT_EQ(Store.ReadBinary(ColourerPropertiesSection, name), colours);
    }
}

} // namespace

namespace {

// The font list offers the Japanese monospace fonts, which fontconfig calls dual-width and Qt does
// not count as fixed-pitch, and proportional families only with variable pitch on.
TEST(VEditWin, FontListHoldsDualWidthFamiliesAndProportionalOnesOnlyWhenAsked) {
    const QStringList dual = FamiliesOfSpacing(FC_DUAL);
    if (dual.isEmpty()) GTEST_SKIP() << "no dual-width font is installed";
    TEditorExProp prop;
    TVEditWin form;
    ASSERT_TRUE(form.Setup(prop, nullptr, nullptr));
    bool dualListed = false;
    for (const QString& family : dual) dualListed = dualListed || Listed(form.ListBox_FontName, family);
    EXPECT_TRUE(dualListed) << dual.join(", ").toStdString();
    QString proportional;
    for (const QString& family : FamiliesOfSpacing(FC_PROPORTIONAL))
        if (!QFontDatabase::isFixedPitch(family) && !dual.contains(family) && !family.startsWith('@'))
            proportional = family;
    if (proportional.isEmpty()) return;
    EXPECT_FALSE(Listed(form.ListBox_FontName, proportional)) << proportional.toStdString();
    form.CheckBox_TrueType->setChecked(true);
    EXPECT_TRUE(Listed(form.ListBox_FontName, proportional)) << proportional.toStdString();
}

// A font or size that the lists do not hold is left as it is: opening the window and pressing OK
// never changes the stored font behind the user's back.
TEST(VEditWin, AFontTheListDoesNotHoldIsKeptUnselected) {
    TEditorExProp prop;
    prop.Font().SetName("FixedSys");
    prop.Font().SetHeight(-80); // 60 points, past the sizes listed
    const int height = prop.Font().Height();
    TVEditWin form;
    ASSERT_TRUE(form.Setup(prop, nullptr, nullptr));
    EXPECT_EQ(form.ListBox_FontName->currentRow(), -1);
    EXPECT_EQ(form.ListBox_FontSize->currentRow(), -1);
    form.CheckBox_TrueType->setChecked(true);
    form.CheckBox_TrueType->setChecked(false);
    form.Button_Ok->click();
    EXPECT_EQ(prop.Font().Name(), "FixedSys");
    EXPECT_EQ(prop.Font().Height(), height);
}

TEST(VEditWin, SpeedSpinBoxesCarryJapaneseLabels) {
    TVEditWin form;
    for (QSpinBox* spin :
         {form.SpinEdit_CaretVerticalAc, form.SpinEdit_PageVerticalRange, form.SpinEdit_PageVerticalRangeAc}) {
        const QLabel* label = nullptr;
        for (const QLabel* candidate : form.findChildren<QLabel*>())
            if (candidate->buddy() == spin) label = candidate;
        ASSERT_NE(label, nullptr) << spin->objectName().toStdString();
        const QString text = label->text();
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7F; }))
            << text.toStdString();
    }
}

// The colours samples of every list kind are lines of that kind: no token is an error, so every
// colour item of the list shows in its own colour.
TEST(VEditWin, ColourSampleOfEveryKindHasNoErrorToken) {
    for (int kind = lkMotion; kind < kListKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const std::unique_ptr<TOrvColourer> colourer = CreateKindColourer(kind);
        TEditorExProp prop;
        TVEditWin form;
        ASSERT_TRUE(form.Setup(prop, colourer.get(), nullptr));
        const int error = kind == lkMotion ? int{mtError} : int{ltError};
        for (TEditorWidget* sample : {form.Editor_Colors, form.Editor_Ruler}) {
            std::vector<test::TRow> rows;
            for (int line = 0; line < sample->Editor().Lines().Count(); ++line)
                rows.push_back({sample->Editor().Lines().Get(line)});
            ASSERT_GT(rows.size(), 2u);
            TRowAttributeStringList store;
            test::FillStore(store, *form.ColourerCopy(), rows);
            for (int row = 0; row < store.Count(); ++row) {
                const std::vector<int> kinds = test::RowKinds(*form.ColourerCopy(), store, row);
                EXPECT_EQ(std::count(kinds.begin(), kinds.end(), error), 0) << store.Get(row);
            }
        }
    }
}

// "ルーラー", "ルーラーマーク", "レフトバー" and "変更行" each pick their colour for the grid: a click
// on a cell colours that item of the edited set.
TEST_F(VEditWinTest, EachRulerItemAndAColourChangesThatItemOfTheSet) {
    QListWidget* list = Form.ListBox_Ruler;
    ASSERT_EQ(list->count(), 4);
    const TEditorExProp& p = Form.EditorProp1();
    const struct {
        const char* Text;
        std::function<TColor()> Color;
    } items[] = {
        {"ルーラー", [&p] { return p.Ruler().Color(); }},
        {"ルーラーマーク", [&p] { return p.Ruler().MarkColor(); }},
        {"レフトバー", [&p] { return p.Leftbar().Color(); }},
        {"変更行", [&p] { return p.Leftbar().ModifiedColor(); }},
    };
    const TColor before[] = {items[0].Color(), items[1].Color(), items[2].Color(), items[3].Color()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->item(i)->text(), QString::fromUtf8(items[i].Text));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
        ASSERT_EQ(list->currentRow(), i);
        ClickCell(Form.ColorGrid_Ruler, 10 + i); // clLime, clYellow, clBlue, clFuchsia
        EXPECT_EQ(items[i].Color(), StandardColors()[static_cast<std::size_t>(10 + i)]) << items[i].Text;
        for (int other = i + 1; other < 4; ++other) EXPECT_EQ(items[other].Color(), before[other]) << items[other].Text;
    }
    Form.Button_Ok->click();
    EXPECT_EQ(Prop.Leftbar().ModifiedColor(), clFuchsia);
}

} // namespace
