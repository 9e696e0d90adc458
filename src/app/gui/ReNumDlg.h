#pragma once
// The renumber dialog. It lives for the whole run and is only hidden between uses, so its controls
// keep the last choices; the caller fills the start number and reads the controls after OK.
#include "forms/ui_ReNumDlg.h"

#include <QDialog>

namespace quillon {

class TfrmRenum : public QDialog, public Ui::frmRenum {
    Q_OBJECT
public:
    explicit TfrmRenum(QWidget* parent = nullptr);

    // "実行" is enabled exactly when the start number, blanks trimmed, is an integer 0..65535.
    void edtStartNumChange();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace quillon
