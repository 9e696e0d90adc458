#include "AboutDlg.h"

#include "ExtVCLs.h"
#include "QtDIBImage.h"
#include "QtMainThread.h"

#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace quillon {
namespace {

const QString kJapaneseFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kEnglishFont = QStringLiteral("Arial");
const QString kDelRegJapanese = QStringLiteral("ﾚｼﾞｽﾄﾘ情報を終了時に削除する");
const QString kDelRegHintJapanese = QStringLiteral("このｱﾌﾟﾘｹｰｼｮﾝを削除する前にﾁｪｯｸして下さい");
const QString kOkHintJapanese = QStringLiteral("このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます");

QLabel* CentredLabel(QWidget* parent, const char* name, const QRect& place) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

void SetFamily(QWidget* widget, const QString& family) {
    QFont font = widget->font();
    font.setFamily(family);
    widget->setFont(font);
}

} // namespace

// --- TPictureBox ---

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::SetPicture(const QImage& picture) {
    FPicture = picture;
    update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
    if (FPicture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), FPicture);
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
}

// --- TAboutDialog ---

TAboutDialog::TAboutDialog(QWidget* parent, const TResourceModule& resources)
    : QDialog(parent), ThreadTimer(MainThread()), FAnimation(std::make_unique<TLogoAnimation>(resources)) {
    CreateComponents();
    ThreadTimer.SetInterval(16);
    ThreadTimer.OnTimer = [this](TCustomThreadTimer& sender, int delay) { DoFrame(sender, delay); };
}

// The ticks stop before the animation that they draw goes away.
TAboutDialog::~TAboutDialog() { ThreadTimer.SetEnabled(false); }

void TAboutDialog::CreateComponents() {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(512, 179);
    QFont font(kJapaneseFont);
    font.setPixelSize(12);
    setFont(font);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(8, 8, 497, 161);
    Panel1->setFrameShape(QFrame::Panel);

    lblProgName = new TVisualLabel(Panel1);
    lblProgName->setObjectName("lblProgName");
    lblProgName->setGeometry(80, 25, 300, 30);
    lblProgName->setAlignment(Qt::AlignCenter);
    lblProgName->SetFontColor(clYellow);
    lblProgName->SetTransparent(true);
    QFont big = font;
    big.setPixelSize(24);
    lblProgName->setFont(big);

    lblVersionNum = CentredLabel(Panel1, "lblVersionNum", QRect(80, 64, 300, 12));
    lblDeveloper = CentredLabel(Panel1, "lblDeveloper", QRect(80, 80, 300, 12));
    Label4 = CentredLabel(Panel1, "Label4", QRect(80, 96, 300, 12));
    Label4->setText(QStringLiteral("ご意見・ご報告は Talvane まで"));

    imgLogo = new TPictureBox(Panel1);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setGeometry(8, 8, 64, 64);
    BufLogo = new TPictureBox(Panel1);
    BufLogo->setObjectName("BufLogo");
    BufLogo->setGeometry(389, 13, 96, 96);

    chkDelReg = new QCheckBox(kDelRegJapanese, Panel1);
    chkDelReg->setObjectName("chkDelReg");
    chkDelReg->setGeometry(8, 128, 273, 17);
    chkDelReg->setToolTip(kDelRegHintJapanese);
    chkDelReg->hide();

    btnOk = Button(Panel1, "btnOk", QStringLiteral("了解(&O)"), QRect(392, 120, 89, 25));
    btnOk->setDefault(true);
    btnOk->setToolTip(kOkHintJapanese);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    btnHelp = Button(Panel1, "btnHelp", QStringLiteral("ヘルプ(&H)"), QRect(288, 120, 89, 25));
}

void TAboutDialog::SetUseJapanese(bool value) {
    if (value == FJapanese) return;
    FJapanese = value;
    const QString& family = value ? kJapaneseFont : kEnglishFont;
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(lblProgName),
                            static_cast<QWidget*>(btnOk), static_cast<QWidget*>(btnHelp)})
        SetFamily(widget, family);
    btnHelp->setText(value ? QStringLiteral("ヘルプ(&H)") : QStringLiteral("&Help"));
    btnOk->setText(value ? QStringLiteral("了解(&O)") : QStringLiteral("&Ok"));
    btnOk->setToolTip(value ? kOkHintJapanese : QStringLiteral("Close this dialog"));
    chkDelReg->setText(value ? kDelRegJapanese : QStringLiteral("Delete registry info at exit"));
    chkDelReg->setToolTip(value ? kDelRegHintJapanese
                                : QStringLiteral("Check this option only before you remove this application."));
}

bool TAboutDialog::DelRegChecked() const { return chkDelReg->isChecked(); }
void TAboutDialog::SetDelRegChecked(bool value) { chkDelReg->setChecked(value); }
void TAboutDialog::SetDelRegVisible(bool value) { chkDelReg->setVisible(value); }
void TAboutDialog::SetLogo(const QImage& logo) { imgLogo->SetPicture(logo); }

void TAboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    imgLogo->update();
    ThreadTimer.SetEnabled(true);
}

void TAboutDialog::done(int result) {
    ThreadTimer.SetEnabled(false);
    ThreadTimer.OnTimer = nullptr;
    FAnimation->Release();
    QDialog::done(result);
}

void TAboutDialog::DoFrame(TCustomThreadTimer&, int Delay) {
    const bool mouseInside = BufLogo->rect().contains(BufLogo->mapFromGlobal(QCursor::pos()));
    FAnimation->Frame(Delay, mouseInside);
    BufLogo->SetPicture(DIBToImage(FAnimation->Buffer()));
}

} // namespace quillon
