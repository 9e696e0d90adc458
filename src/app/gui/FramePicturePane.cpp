#include "FramePicturePane.h"

#include "CellText.h"
#include "DIBPaintBox.h"
#include "MessageBox.h"
#include "QtText.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, const QFont* font = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (font) label->setFont(*font);
    return label;
}

// A value label as wide as it gets: every coordinate at five places.
constexpr char kWidestRectLabel[] = "(-0000,-0000)-(-0000,-0000)";

TMouseButton ButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return TMouseButton::Left;
    if (button == Qt::RightButton) return TMouseButton::Right;
    return TMouseButton::Other;
}

} // namespace

TFramePicturePane::TFramePicturePane(TFramePicturePaneHost& host, QWidget* parent)
    : QWidget(parent), FHost(host), FPreview(host) {
    setObjectName("pnlFramePic");
    ScrFramePic = new QScrollArea(this);
    ScrFramePic->setObjectName("ScrFramePic");
    // A click on the picture leaves the focus where it is (in the editor, as a rule).
    ScrFramePic->setFocusPolicy(Qt::NoFocus);
    dpbFramePic = new TDIBPaintBox;
    dpbFramePic->setObjectName("dpbFramePic");
    dpbFramePic->installEventFilter(this);
    ScrFramePic->setWidget(dpbFramePic);
    BuildSettings();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrFramePic, 1);
    layout->addWidget(pnlFrameSetting);
    SetZoom();
    resize(width(), kFramePanelHeight);
    setVisible(false);
}

void TFramePicturePane::BuildSettings() {
    pnlFrameSetting = new QWidget(this);
    pnlFrameSetting->setObjectName("pnlFrameSetting");
    // At least 292 pixels, and as wide as the labels need in the font in use.
    pnlFrameSetting->setMinimumWidth(kFrameSettingMinWidth);
    pnlFrameSetting->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    QFont fixed(QString::fromUtf8(DefaultMonospaceFamily)); // the editor's, with the Japanese glyphs
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(font().pointSizeF());

    cboZoom = new QComboBox(pnlFrameSetting);
    cboZoom->setObjectName("cboZoom");
    cboZoom->addItems({"x1", "x2", "x3", "x4"});
    connect(cboZoom, &QComboBox::currentIndexChanged, this, &TFramePicturePane::cboZoomClick);
    auto* zoomRow = new QHBoxLayout;
    zoomRow->addWidget(NewLabel(pnlFrameSetting, "lblZoom", "Zoom:"));
    zoomRow->addWidget(cboZoom);
    zoomRow->addStretch();

    auto* boxes = new QGridLayout;
    const char* titleNames[] = {"lblDef1Title", "lblDef2Title", "lblAtt1Title"};
    const char* titleTexts[] = {"やられ判定１：", "やられ判定２：", "攻撃判定１："};
    const char* valueNames[] = {"lblDef1", "lblDef2", "lblAtt1"};
    QLabel* values[3];
    for (int i = 0; i < 3; ++i) {
        Titles[i] = NewLabel(pnlFrameSetting, titleNames[i], QStr(titleTexts[i]), &fixed);
        values[i] = NewLabel(pnlFrameSetting, valueNames[i], QString(), &fixed);
        // Room for the title in bold (the selected one) and for the widest value, so that the
        // panel keeps its width whatever is selected or shown.
        QFont bold = fixed;
        bold.setBold(true);
        Titles[i]->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(Titles[i]->text()) + 1);
        values[i]->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QStr(kWidestRectLabel)) + 1);
        boxes->addWidget(Titles[i], i, 0);
        boxes->addWidget(values[i], i, 1);
    }
    lblDef1 = values[0];
    lblDef2 = values[1];
    lblAtt1 = values[2];

    ActionInputApply = new QAction(QStr("適用"), this);
    ActionInputApply->setObjectName("ActionInputApply");
    ActionInputApply->setEnabled(false);
    connect(ActionInputApply, &QAction::triggered, this, &TFramePicturePane::ActionInputApplyExecute);
    btnInputApply = new QToolButton(pnlFrameSetting);
    btnInputApply->setObjectName("btnInputApply");
    btnInputApply->setDefaultAction(ActionInputApply);

    auto* corners = new QHBoxLayout;
    const char* editNames[] = {"edtLeft", "edtTop", "edtRight", "edtBottom"};
    QLineEdit* edits[4];
    for (int i = 0; i < 4; ++i) {
        edits[i] = new QLineEdit(pnlFrameSetting);
        edits[i]->setObjectName(editNames[i]);
        edits[i]->setEnabled(false);
        // Share the row's width: the labels above set the panel's, a coordinate needs five places.
        edits[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        edits[i]->setMinimumWidth(edits[i]->fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + 8);
        connect(edits[i], &QLineEdit::textChanged, this, &TFramePicturePane::edtRectChange);
        connect(edits[i], &QLineEdit::returnPressed, this, &TFramePicturePane::edtRectKeyPress);
        corners->addWidget(edits[i]);
        if (i == 1) corners->addWidget(NewLabel(pnlFrameSetting, "lblRectTo", QStr("～")));
    }
    edtLeft = edits[0];
    edtTop = edits[1];
    edtRight = edits[2];
    edtBottom = edits[3];
    corners->addWidget(btnInputApply);

    TabSet = new QTabBar(pnlFrameSetting);
    TabSet->setObjectName("TabSet");
    TabSet->setShape(QTabBar::RoundedSouth);
    for (const char* tab : {" Def1 [F6] ", " Def2 [F7] ", " Att1 [F8] "}) TabSet->addTab(tab);
    connect(TabSet, &QTabBar::currentChanged, this, &TFramePicturePane::TabSetClick);

    auto* column = new QVBoxLayout(pnlFrameSetting);
    column->addLayout(zoomRow);
    column->addLayout(boxes);
    column->addLayout(corners);
    column->addStretch();
    column->addWidget(TabSet);
    TabSetClick(0);
}

void TFramePicturePane::ShowFramePicture(bool show, const std::filesystem::path& listFileName) {
    if (show == FPreview.Shown() || (show && !FHost.IsMotionList())) return;
    if (show)
        FPreview.Show(listFileName);
    else
        FPreview.Hide();
    setVisible(show);
    Repaint();
    UpdateRectLabels();
}

void TFramePicturePane::RebuildPreview(const std::filesystem::path& listFileName) {
    FPreview.Rebuild(listFileName);
    Repaint();
    UpdateRectLabels();
}

void TFramePicturePane::FollowCaret() {
    if (!FPreview.FollowCaret()) return;
    Repaint();
    UpdateRectLabels();
}

bool TFramePicturePane::FormKeyDown(int key) {
    if (FPreview.Dragging()) return true;
    if (!FPreview.Shown() || !FHost.IsMotionList()) return false;
    if (key < Qt::Key_F6 || key > Qt::Key_F8) return false;
    TabSet->setCurrentIndex(key - Qt::Key_F6);
    return true;
}

void TFramePicturePane::cboZoomClick(int index) {
    if (index + 1 == FPreview.Picture().Zoom()) return;
    FPreview.SetZoom(index + 1);
    SetZoom();
}

void TFramePicturePane::SetZoom() {
    const TDIB& bitmap = FPreview.Picture().Bitmap();
    dpbFramePic->SetDIB(bitmap);
    dpbFramePic->resize(bitmap.Width(), bitmap.Height());
}

void TFramePicturePane::TabSetClick(int index) {
    for (int i = 0; i < 3; ++i) {
        QFont font = Titles[i]->font();
        font.setBold(i == index);
        Titles[i]->setFont(font);
    }
    FPreview.SelectTab(index);
    Repaint();
    UpdateRectLabels();
}

void TFramePicturePane::Repaint() { dpbFramePic->Changed(); }

void TFramePicturePane::UpdateRectLabels() {
    FLabelsUpdating = true;
    const TRectLabels labels = FPreview.RectLabels();
    QLabel* values[] = {lblDef1, lblDef2, lblAtt1};
    for (int i = 0; i < 3; ++i) values[i]->setText(QStr(labels.Values[i]));
    const auto edits = Edits();
    for (int i = 0; i < 4; ++i) {
        edits[i]->setText(QStr(labels.Edits[i]));
        edits[i]->setEnabled(labels.EditsEnabled);
    }
    ActionInputApply->setEnabled(false);
    FLabelsUpdating = false;
}

void TFramePicturePane::edtRectChange() {
    if (FLabelsUpdating) return;
    const auto edits = Edits();
    ActionInputApply->setEnabled(
        std::none_of(edits.begin(), edits.end(), [](const QLineEdit* e) { return e->text().isEmpty(); }));
}

// Enter in an edit box (the line edit swallows it) applies the corners.
void TFramePicturePane::edtRectKeyPress() {
    if (!FPreview.Dragging()) ActionInputApplyExecute();
}

void TFramePicturePane::ActionInputApplyExecute() {
    std::array<std::string, 4> texts;
    const auto edits = Edits();
    for (int i = 0; i < 4; ++i) texts[i] = StdStr(edits[i]->text());
    TApplyResult result = FPreview.Apply(texts);
    if (!result.Message.empty()) {
        ShowError(result.Message);
        edits[result.FocusEdit]->setFocus();
        return;
    }
    if (!result.Applied) return;
    Repaint();
    UpdateRectLabels();
}

bool TFramePicturePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dpbFramePic) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: dpbFramePicMouseDown(static_cast<QMouseEvent*>(event)); return true;
        case QEvent::MouseMove:
            if (FMouseAttached) dpbFramePicMouseMove(static_cast<QMouseEvent*>(event));
            return FMouseAttached;
        case QEvent::MouseButtonRelease:
            if (FMouseAttached) dpbFramePicMouseUp(static_cast<QMouseEvent*>(event));
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The paint box keeps the mouse from the press to the release (Qt grabs it for every button), so
// a drag that leaves the box still reaches its moves and its release.
void TFramePicturePane::dpbFramePicMouseDown(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool ctrl = event->modifiers() & Qt::ControlModifier, shift = event->modifiers() & Qt::ShiftModifier;
    if (!FPreview.MouseDown(ButtonOf(event->button()), ctrl, shift, at.x(), at.y())) return;
    FSavedControl = window()->focusWidget();
    FHost.SetEditorEnabled(false);
    pnlFrameSetting->setEnabled(false);
    FMouseAttached = true;
    Repaint();
    UpdateRectLabels();
}

void TFramePicturePane::dpbFramePicMouseMove(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!FPreview.MouseMove(event->modifiers() & Qt::ShiftModifier, at.x(), at.y())) {
        EndDrag();
        return;
    }
    Repaint();
    UpdateRectLabels();
}

void TFramePicturePane::dpbFramePicMouseUp(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    FPreview.MouseUp(event->modifiers() & Qt::ShiftModifier, at.x(), at.y());
    Repaint();
    UpdateRectLabels();
    EndDrag();
}

void TFramePicturePane::EndDrag() {
    FMouseAttached = false;
    pnlFrameSetting->setEnabled(true);
    FHost.SetEditorEnabled(true);
    if (FSavedControl && FSavedControl->isEnabled()) FSavedControl->setFocus();
}

} // namespace quillon
