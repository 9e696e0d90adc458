#pragma once
// The environment dialog: the formatter options of each list kind and the maker options. The
// caller copies the program-wide options into its controls and, after OK, back.
#include "forms/ui_EnvDlg.h"

#include <QDialog>

namespace quillon {

class TfrmSetEnv : public QDialog, public Ui::frmSetEnv {
    Q_OBJECT
public:
    explicit TfrmSetEnv(QWidget* parent = nullptr);

    // The reduction methods are offered only while colours are reduced; their choice stays.
    void chkUseDecColorDepthClick();
};

} // namespace quillon
