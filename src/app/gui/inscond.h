#pragma once
// The insert-condition dialog: whom an enemy condition tests and its three digits. It lives for the
// whole run and is only hidden between uses, so it keeps the last choices.
#include "EnemyCondition.h"
#include "forms/ui_inscond.h"

#include "QtDialogs.h"

#include <string>

namespace quillon {

class TfrmInsCond : public TCentredDialog, public Ui::frmInsCond {
    Q_OBJECT
public:
    explicit TfrmInsCond(QWidget* parent = nullptr);

    // The item indexes of the four groups; -1 for a group without a choice.
    TCondChoice Choice() const;
    // The condition the controls give: "E" (the opponent) or "C" (oneself), then the indices of the
    // three condition groups, as in "E100" ("-1" for a group without a choice).
    std::string Condition() const { return ConditionCode(Choice()); }
};

// The condition commands' dialog: the run's TfrmInsCond shown modally over the active window.
class TQtCondDialog : public TCondDialog {
public:
    explicit TQtCondDialog(TfrmInsCond& Form) : FForm(Form) {}
    std::optional<TCondChoice> Execute(const std::string& Caption, const std::optional<TCondChoice>& Initial) override;

private:
    TfrmInsCond& FForm;
};

} // namespace quillon
