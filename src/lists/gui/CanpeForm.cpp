#include "CanpeForm.h"

#include "QtText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {
namespace {

// A Japanese monospace face at 12 pixels: the classic Windows one where it exists, else a common
// free one, else whatever fixed-pitch face the system offers.
QFont HintFont() {
    QFont font;
    font.setFamilies(
        {QStr("ＭＳ ゴシック"), "MS Gothic", "IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}

} // namespace

TfrmCanpe::TfrmCanpe(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), Memo1(new QPlainTextEdit(this)),
      Panel1(new QWidget(this)), Button1(new QPushButton(QStr("OK"), Panel1)) {
    setObjectName("frmCanpe");
    Memo1->setObjectName("Memo1");
    Panel1->setObjectName("Panel1");
    Button1->setObjectName("Button1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(HintFont());
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout(Panel1);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel1);
    resize(480, 360);
}

void TfrmCanpe::SetHint(const std::string& Title, const std::string& Body) {
    setWindowTitle(FromCp932(Title));
    Memo1->setPlainText(FromCp932(Body).replace(QStr("\r\n"), QStr("\n")));
}

void TfrmCanpe::Execute(const std::string& Title, const std::string& Body) {
    TfrmCanpe form(QApplication::activeWindow());
    form.SetHint(Title, Body);
    form.exec();
}

void ShowItemHint(const std::string& Title, const std::string& Body) { TfrmCanpe::Execute(Title, Body); }

} // namespace quillon
