#pragma once
// The insert-condition dialog: whom an enemy condition tests and its three digits. It lives for the
// whole run and is only hidden between uses, so it keeps the last choices.
#include "forms/ui_inscond.h"

#include <QDialog>
#include <string>

namespace quillon {

class TfrmInsCond : public QDialog, public Ui::frmInsCond {
    Q_OBJECT
public:
    explicit TfrmInsCond(QWidget* parent = nullptr);

    // The condition the controls give: "E" (the opponent) or "C" (oneself), then the indices of the
    // three condition groups, as in "E100".
    std::string Condition() const;
};

} // namespace quillon
