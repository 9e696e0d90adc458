#include "ReNumDlg.h"

#include "AsciiText.h"
#include "FormUtils.h"
#include "QtText.h"

#include <algorithm>

namespace quillon {

TfrmRenum::TfrmRenum(QWidget* parent) : TCentredDialog(parent) {
    setupUi(this);
    FTypedLength = edtStartNum->maxLength();
    RemoveSystemButtons(this);
    connect(edtStartNum, &QLineEdit::textChanged, this, &TfrmRenum::edtStartNumChange);
    connect(edtStartNum, &QLineEdit::textEdited, this, &TfrmRenum::edtStartNumEdited);
    connect(btnRun, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmRenum::SetStartNum(const QString& Text) {
    edtStartNum->setMaxLength(std::max(FTypedLength, static_cast<int>(Text.size())));
    edtStartNum->setText(Text);
}

void TfrmRenum::edtStartNumEdited(const QString& Text) {
    const int limit = std::max(FTypedLength, static_cast<int>(Text.size()));
    if (edtStartNum->maxLength() == limit) return;
    // A new limit sets the text again, which would move the caret to its end.
    const int caret = edtStartNum->cursorPosition();
    edtStartNum->setMaxLength(limit);
    edtStartNum->setCursorPosition(caret);
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
