#include "inscond.h"

#include "FormUtils.h"

namespace quillon {

TfrmInsCond::TfrmInsCond(QWidget* parent) : TCentredDialog(parent) {
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

TCondChoice TfrmInsCond::Choice() const {
    return {ItemIndex(rgpType), ItemIndex(rgpCondition1), ItemIndex(rgpCondition2), ItemIndex(rgpCondition3)};
}

std::optional<TCondChoice> TQtCondDialog::Execute(const std::string& Caption,
                                                  const std::optional<TCondChoice>& Initial) {
    FForm.setWindowTitle(QString::fromStdString(Caption));
    if (Initial) {
        SetItemIndex(FForm.rgpType, Initial->Type);
        SetItemIndex(FForm.rgpCondition1, Initial->Condition1);
        SetItemIndex(FForm.rgpCondition2, Initial->Condition2);
        SetItemIndex(FForm.rgpCondition3, Initial->Condition3);
    }
    if (FForm.exec() != QDialog::Accepted) return std::nullopt;
    return FForm.Choice();
}

} // namespace quillon
