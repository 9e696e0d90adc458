#include "EnvDlg.h"

namespace quillon {

TfrmSetEnv::TfrmSetEnv(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    connect(chkUseDecColorDepth, &QCheckBox::toggled, this, &TfrmSetEnv::chkUseDecColorDepthClick);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSetEnv::chkUseDecColorDepthClick() { rdgDecColorDepth->setEnabled(chkUseDecColorDepth->isChecked()); }

} // namespace quillon
