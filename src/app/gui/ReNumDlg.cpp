#include "ReNumDlg.h"

#include "FormUtils.h"
#include "QtText.h"
#include "StrUtils.h"

namespace quillon {

TfrmRenum::TfrmRenum(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    RemoveSystemButtons(this);
    connect(edtStartNum, &QLineEdit::textChanged, this, &TfrmRenum::edtStartNumChange);
    connect(btnRun, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmRenum::edtStartNumChange() {
    const std::optional<std::int32_t> number = StrToInt(Trim(StdStr(edtStartNum->text())));
    btnRun->setEnabled(number && *number >= 0 && *number <= 65535);
}

void TfrmRenum::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edtStartNum->setFocus();
}

} // namespace quillon
