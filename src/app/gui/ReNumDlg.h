#pragma once
// The renumber dialog. It lives for the whole run and is only hidden between uses, so its controls
// keep the last choices; the caller fills the start number and reads the controls after OK.
#include "forms/ui_ReNumDlg.h"

#include "QtDialogs.h"

namespace quillon {

class TfrmRenum : public TCentredDialog, public Ui::frmRenum {
    Q_OBJECT
public:
    explicit TfrmRenum(QWidget* parent = nullptr);

    // The caller's start number, shown whole: the four-character limit holds for typing only.
    void SetStartNum(const QString& Text);

    // "実行" is enabled exactly when the start number, blanks trimmed, is an integer 0..65535.
    void edtStartNumChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A longer number from the caller may be shortened by the user, never lengthened.
    void edtStartNumEdited(const QString& Text);

    int FTypedLength; // the most characters the user may type into edtStartNum
};

} // namespace quillon
