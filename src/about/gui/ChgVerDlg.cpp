#include "ChgVerDlg.h"

#include "ExtVCLs.h"

#include <QLabel>
#include <QPushButton>

namespace quillon {
namespace {
const QString kJapaneseFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kEnglishFont = QStringLiteral("Arial");

QLabel* PlaceLabel(QWidget* parent, const QString& name, const QRect& place, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}
} // namespace

TfrmChgVer::TfrmChgVer(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint); // no border icons
    setFixedSize(313, 152);
    QFont font(kJapaneseFont);
    font.setPixelSize(13);
    font.setBold(true);
    setFont(font);

    VisualLabel1 = new TVisualLabel(this);
    VisualLabel1->setObjectName("VisualLabel1");
    VisualLabel1->setGeometry(0, 16, 313, 18);
    VisualLabel1->setAlignment(Qt::AlignCenter);
    VisualLabel1->SetFontColor(clYellow);
    VisualLabel1->SetTransparent(true);
    QFont plain = font;
    plain.setBold(false);
    VisualLabel1->setFont(plain);
    VisualLabel1->setText(QStringLiteral("このアプリケーションのバージョンが変更されました。"));

    Label1 = PlaceLabel(this, "Label1", QRect(0, 50, 188, 16), Qt::AlignRight);
    Label1->setText(QStringLiteral("以前のﾊﾞｰｼﾞｮﾝ ： Version"));
    lblLastVersion = PlaceLabel(this, "lblLastVersion", QRect(195, 50, 110, 16), Qt::AlignLeft);
    Label3 = PlaceLabel(this, "Label3", QRect(0, 68, 313, 16), Qt::AlignHCenter);
    Label3->setText(QStringLiteral("↓"));
    Label2 = PlaceLabel(this, "Label2", QRect(0, 88, 188, 16), Qt::AlignRight);
    Label2->setText(QStringLiteral("今のﾊﾞｰｼﾞｮﾝ ： Version"));
    lblNowVersion = PlaceLabel(this, "lblNowVersion", QRect(195, 88, 110, 16), Qt::AlignLeft);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName("btnOk");
    btnOk->setGeometry(52, 120, 99, 25);
    btnOk->setDefault(true);
    btnOk->setToolTip(QStringLiteral("このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます"));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    btnHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    btnHelp->setObjectName("btnHelp");
    btnHelp->setGeometry(164, 120, 97, 25);
    btnHelp->setToolTip(QStringLiteral("このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽに関するﾍﾙﾌﾟを表示します"));
}

void TfrmChgVer::HideHelpButton() {
    btnHelp->hide();
    btnOk->move(width() / 2 - btnOk->width() / 2, btnOk->y());
}

void TfrmChgVer::SetUseJapanese(bool value) {
    if (value == FJapanese) return;
    FJapanese = value;
    QFont formFont = font(), labelFont = VisualLabel1->font();
    formFont.setFamily(value ? kJapaneseFont : kEnglishFont);
    labelFont.setFamily(value ? kJapaneseFont : kEnglishFont);
    setFont(formFont);
    VisualLabel1->setFont(labelFont);
    if (value) {
        VisualLabel1->setText(QStringLiteral("このアプリケーションのバージョンが変更されました。"));
        Label1->setText(QStringLiteral("以前の version : Version"));
        Label2->setText(QStringLiteral("今の version : Version"));
        Label3->setText(QStringLiteral("↓"));
        btnOk->setToolTip(QStringLiteral("このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを閉じます"));
        btnHelp->setText(QStringLiteral("ヘルプ(&H)"));
        btnHelp->setToolTip(QStringLiteral("このﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽに関するﾍﾙﾌﾟを表示します"));
    } else {
        VisualLabel1->setText(QStringLiteral("This application version changed"));
        Label1->setText(QStringLiteral("Last version : Version"));
        Label2->setText(QStringLiteral("Now version : Version"));
        Label3->clear();
        btnOk->setToolTip(QStringLiteral("Close this dialog"));
        btnHelp->setText(QStringLiteral("&Help"));
        btnHelp->setToolTip(QStringLiteral("Show this dialog help"));
    }
    btnOk->setText(QStringLiteral("OK"));
}

} // namespace quillon
