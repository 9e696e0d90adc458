#include "FramePicturePane.h"
#include "CellText.h"
#include "DIBPaintBox.h"
#include "MessageBox.h"
#include "PreviewFixtures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::test;

namespace {

// Def1 (-18, 80)-(18, 0), Def2 (-10, 50)-(10, 20), Att1 (16, 60)-(48, 40).
const std::string kLine = MotionText("5", "0", "  112050012000", "   10A03200A014", "01003C030028");

// An edit window in miniature: an editor (a line edit standing for it) above the pane.
class TMiniWindow : public QWidget, public TFramePicturePaneHost {
public:
    TMiniWindow() {
        auto* layout = new QVBoxLayout(this);
        Editor = new QLineEdit(this);
        Pane = new TFramePicturePane(*this, this);
        layout->addWidget(Pane);
        layout->addWidget(Editor);
    }
    bool IsMotionList() const override { return Motion; }
    bool SelectionSpansRows() const override { return false; }
    int CaretRow() const override { return Caret; }
    std::string LineText(int row) const override { return Lines.at(row); }
    void ReplaceLine(int row, const std::string& text) override { Lines.at(row) = text; }
    void SetEditorEnabled(bool enabled) override { Editor->setEnabled(enabled); }

    QLineEdit* Editor;
    TFramePicturePane* Pane;
    std::vector<std::string> Lines{";title", kLine};
    int Caret = 1;
    bool Motion = true;
};

class FramePicturePaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        Window.resize(900, 400);
        Window.show();
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        Window.Editor->setFocus();
    }
    QPoint At(int gx, int gy) const {
        int z = Pane->Preview().Picture().Zoom();
        return {(gx + 160) * z, (239 - gy) * z};
    }
    QRgb Shown(int gx, int gy) const { return Pane->dpbFramePic->grab().toImage().pixel(At(gx, gy)) & 0xFFFFFF; }
    void Show() { Pane->ShowFramePicture(true, Dir.Path / "ZMOTION.LST"); }

    TTempFolder Dir;
    TMiniWindow Window;
    TFramePicturePane* Pane = Window.Pane;
    TScriptedMessages Messages;
    TMessageServiceScope Scope{Messages};
};

} // namespace

TEST_F(FramePicturePaneTest, ComponentsAtStart) {
    EXPECT_EQ(Pane->objectName(), "pnlFramePic");
    EXPECT_FALSE(Pane->isVisible());
    EXPECT_EQ(Pane->height(), kFramePanelHeight);
    for (const char* name :
         {"ScrFramePic", "dpbFramePic", "pnlFrameSetting", "cboZoom", "lblDef1Title", "lblDef2Title", "lblAtt1Title",
          "lblDef1", "lblDef2", "lblAtt1", "edtLeft", "edtTop", "edtRight", "edtBottom", "btnInputApply", "TabSet"})
        EXPECT_TRUE(Pane->findChild<QObject*>(name)) << name;
    EXPECT_GE(Pane->pnlFrameSetting->width(), kFrameSettingMinWidth);
    EXPECT_EQ(Pane->cboZoom->count(), 4);
    EXPECT_EQ(Pane->cboZoom->currentText(), "x1");
    EXPECT_EQ(Pane->cboZoom->itemText(3), "x4");
    EXPECT_EQ(Pane->Titles[0]->text(), "やられ判定１：");
    EXPECT_EQ(Pane->Titles[1]->text(), "やられ判定２：");
    EXPECT_EQ(Pane->Titles[2]->text(), "攻撃判定１：");
    EXPECT_TRUE(Pane->Titles[0]->font().bold());
    EXPECT_FALSE(Pane->Titles[1]->font().bold());
    EXPECT_EQ(Pane->TabSet->count(), 3);
    EXPECT_EQ(Pane->TabSet->tabText(0), " Def1 [F6] ");
    EXPECT_EQ(Pane->TabSet->tabText(2), " Att1 [F8] ");
    EXPECT_EQ(Pane->TabSet->currentIndex(), 0);
    EXPECT_EQ(Pane->ActionInputApply->text(), "適用");
    EXPECT_FALSE(Pane->ActionInputApply->isEnabled());
    EXPECT_EQ(Pane->btnInputApply->defaultAction(), Pane->ActionInputApply);
    EXPECT_EQ(Pane->dpbFramePic->size(), QSize(320, 240));
}

// The settings panel is as wide as its labels need in the Japanese monospace font: at zoom 1 no title
// or value is cut off, whichever title is bold, also in a font larger than the default.
TEST_F(FramePicturePaneTest, LabelsAreWholeAtZoomOneInTheJapaneseMonospaceFont) {
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSize(12);
    QApplication::setFont(large);
    TMiniWindow window;
    QApplication::setFont(standard);
    window.resize(900, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    TFramePicturePane* pane = window.Pane;
    pane->ShowFramePicture(true, Dir.Path / "ZMOTION.LST");
    ASSERT_EQ(pane->cboZoom->currentIndex(), 0);
    EXPECT_GE(pane->pnlFrameSetting->width(), kFrameSettingMinWidth);
    if (QFontInfo(pane->lblDef1->font()).family() != DefaultMonospaceFamily)
        ADD_FAILURE() << "the labels are not in " << DefaultMonospaceFamily;
    for (int tab = 0; tab < 3; ++tab) {
        pane->TabSet->setCurrentIndex(tab);
        QApplication::processEvents(); // the layout follows the bold title
        for (const QLabel* label :
             {pane->Titles[0], pane->Titles[1], pane->Titles[2], pane->lblDef1, pane->lblDef2, pane->lblAtt1}) {
            ASSERT_FALSE(label->text().isEmpty()) << label->objectName().toStdString();
            EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
                << label->objectName().toStdString() << " on tab " << tab;
            EXPECT_TRUE(pane->pnlFrameSetting->rect().contains(label->geometry())) << label->objectName().toStdString();
        }
    }
}

TEST_F(FramePicturePaneTest, ShowsTheCaretRow) {
    Show();
    EXPECT_TRUE(Pane->isVisible());
    EXPECT_EQ(Pane->lblDef1->text(), "(  -18,   80)-(   18,    0)");
    EXPECT_EQ(Pane->lblAtt1->text(), "(   16,   60)-(   48,   40)");
    EXPECT_EQ(Pane->edtLeft->text(), "-18");
    EXPECT_EQ(Pane->edtBottom->text(), "0");
    EXPECT_TRUE(Pane->edtTop->isEnabled());
    EXPECT_FALSE(Pane->ActionInputApply->isEnabled());
    EXPECT_EQ(Shown(-18, 80), 0x0000FFu) << "the paint box shows the drawing";
    EXPECT_EQ(Shown(48, 50), 0xFF0000u);

    Window.Caret = 0;
    Pane->FollowCaret();
    EXPECT_EQ(Pane->lblDef1->text(), "");
    EXPECT_EQ(Pane->edtLeft->text(), "");
    EXPECT_FALSE(Pane->edtLeft->isEnabled());
    EXPECT_NE(Shown(-18, 80), 0x0000FFu) << "the boxes are gone";

    Pane->cboZoom->setCurrentIndex(2);
    EXPECT_EQ(Pane->dpbFramePic->size(), QSize(960, 720));
    EXPECT_EQ(Pane->Preview().Picture().Bitmap().Width(), 960);
    Window.Caret = 1;
    Pane->FollowCaret();
    EXPECT_EQ(Shown(-18, 80), 0x0000FFu) << "drawn at zoom 3";

    Pane->ShowFramePicture(false, {});
    EXPECT_FALSE(Pane->isVisible());
    EXPECT_TRUE(Pane->Preview().MotionLine().IsEmpty());
    Window.Motion = false;
    Pane->ShowFramePicture(true, Dir.Path / "ZMOTION.LST");
    EXPECT_FALSE(Pane->isVisible()) << "only a motion list shows the pane";
}

TEST_F(FramePicturePaneTest, DraggingWithTheMouse) {
    Show();
    QWidget* box = Pane->dpbFramePic;
    QTest::mousePress(box, Qt::LeftButton, {}, At(100, 90));
    ASSERT_TRUE(Pane->Dragging());
    EXPECT_FALSE(Window.Editor->isEnabled());
    EXPECT_FALSE(Pane->pnlFrameSetting->isEnabled());
    EXPECT_EQ(Pane->lblDef1->text(), "(  -18,   90)-(   18,    0)") << "Def1 snaps x1";
    EXPECT_TRUE(Pane->FormKeyDown(Qt::Key_A)) << "keys are swallowed during a drag";
    QTest::mouseMove(box, At(10, 120));
    EXPECT_EQ(Pane->edtTop->text(), "120");
    QTest::mouseRelease(box, Qt::LeftButton, {}, At(10, 110));
    EXPECT_FALSE(Pane->Dragging());
    EXPECT_TRUE(Window.Editor->isEnabled());
    EXPECT_TRUE(Pane->pnlFrameSetting->isEnabled());
    EXPECT_EQ(Window.focusWidget(), Window.Editor) << "the focus goes back";
    std::string::size_type at = kLine.find("  112050012000");
    EXPECT_EQ(Window.Lines[1], kLine.substr(0, at) + "  11206E012000" + kLine.substr(at + 14));
    EXPECT_EQ(Pane->lblDef1->text(), "(  -18,  110)-(   18,    0)");
    EXPECT_EQ(Shown(-18, 110), 0x0000FFu);

    Pane->TabSet->setCurrentIndex(btAtt1);
    QTest::mousePress(box, Qt::RightButton, {}, At(70, 10));
    QTest::mouseRelease(box, Qt::RightButton, {}, At(70, 10));
    TMotionLineObj line;
    ASSERT_TRUE(ParseMotionLine(Window.Lines[1], line));
    EXPECT_EQ(line.Att1, (TMotionBox{16, 60, 70, 10}));

    QTest::mousePress(box, Qt::LeftButton, Qt::ControlModifier, At(-40, 100));
    QTest::mouseMove(box, At(-60, 30));
    QTest::mouseRelease(box, Qt::LeftButton, Qt::ControlModifier, At(-50, 20));
    ASSERT_TRUE(ParseMotionLine(Window.Lines[1], line));
    EXPECT_EQ(line.Att1, (TMotionBox{-50, 100, -40, 20})) << "a new box";
}

TEST_F(FramePicturePaneTest, TabsByKey) {
    Show();
    EXPECT_TRUE(Pane->FormKeyDown(Qt::Key_F7));
    EXPECT_EQ(Pane->TabSet->currentIndex(), 1);
    EXPECT_TRUE(Pane->Titles[1]->font().bold());
    EXPECT_FALSE(Pane->Titles[0]->font().bold());
    EXPECT_EQ(Pane->edtLeft->text(), "-10");
    EXPECT_TRUE(Pane->FormKeyDown(Qt::Key_F8));
    EXPECT_EQ(Pane->edtRight->text(), "48");
    EXPECT_FALSE(Pane->FormKeyDown(Qt::Key_F9));
    Window.Motion = false;
    EXPECT_FALSE(Pane->FormKeyDown(Qt::Key_F6)) << "not for other lists";
    EXPECT_EQ(Pane->TabSet->currentIndex(), 2);
}

TEST_F(FramePicturePaneTest, TypingTheCorners) {
    Show();
    Pane->FormKeyDown(Qt::Key_F7);
    Pane->edtLeft->selectAll();
    QTest::keyClicks(Pane->edtLeft, "30");
    EXPECT_TRUE(Pane->ActionInputApply->isEnabled());
    Pane->edtRight->clear();
    EXPECT_FALSE(Pane->ActionInputApply->isEnabled()) << "an empty edit box disables Apply";
    QTest::keyClicks(Pane->edtRight, "10");
    EXPECT_TRUE(Pane->ActionInputApply->isEnabled());
    QTest::keyClick(Pane->edtBottom, Qt::Key_Return);
    TMotionLineObj line;
    ASSERT_TRUE(ParseMotionLine(Window.Lines[1], line));
    EXPECT_EQ(line.Def2, (TMotionBox{30, 50, 30, 20})) << "x2 takes x1";
    EXPECT_EQ(line.Items[mfDef2], "    01E03201E014");
    EXPECT_FALSE(Pane->ActionInputApply->isEnabled()) << "in step with the line again";
    EXPECT_EQ(Pane->lblDef2->text(), "(   30,   50)-(   30,   20)");
    EXPECT_TRUE(Messages.Shown.empty());

    const std::string before = Window.Lines[1];
    Pane->edtTop->setText("9x");
    Pane->btnInputApply->click();
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "左上Ｙの値を数値に変換出ません");
    EXPECT_EQ(Messages.Shown[0].Title, "エラー");
    EXPECT_EQ(Messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Window.focusWidget(), Pane->edtTop);
    Pane->edtTop->setText("50");
    Pane->edtRight->setText("9000");
    QTest::keyClick(Pane->edtLeft, Qt::Key_Enter);
    ASSERT_EQ(Messages.Shown.size(), 2u);
    EXPECT_EQ(Messages.Shown[1].Text, "右下Ｘで指定された値は座標の文字に変換出ません");
    EXPECT_EQ(Window.focusWidget(), Pane->edtRight);
    EXPECT_EQ(Window.Lines[1], before) << "nothing changes";
}
