#include "inscond.h"

#include "FormUtils.h"

namespace quillon {

TfrmInsCond::TfrmInsCond(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

TCondChoice TfrmInsCond::Choice() const {
    return {ItemIndex(rgpType), ItemIndex(rgpCondition1), ItemIndex(rgpCondition2), ItemIndex(rgpCondition3)};
}

} // namespace quillon
