#include "inscond.h"

#include "FormUtils.h"

#include <algorithm>

namespace quillon {

TfrmInsCond::TfrmInsCond(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TfrmInsCond::Condition() const {
    std::string text = ItemIndex(rgpType) == 1 ? "C" : "E";
    for (const QGroupBox* group : {rgpCondition1, rgpCondition2, rgpCondition3})
        text += static_cast<char>('0' + std::max(0, ItemIndex(group)));
    return text;
}

} // namespace quillon
