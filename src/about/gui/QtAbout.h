#pragma once
// The about component with its dialogs: the version-change notice and the about box.
#include "About.h"

#include <QImage>
#include <functional>

class QDialog;

namespace quillon {

class TAbout : public TCustomAbout {
public:
    using TCustomAbout::TCustomAbout;

    // The still logo of the about box.
    const QImage& Logo() const { return FLogo; }
    void SetLogo(const QImage& value) { FLogo = value; }

    // Builds, fills and shows the about box modally; afterwards DelReg holds its check box.
    void ShowAboutBox() override;
    // Shows the notice with the version that ran last and the running one.
    void ShowVersionChanged() override;

    // Runs a dialog modally and answers its result; tests drive the dialogs through it instead of a
    // modal loop.
    std::function<int(QDialog&)> ExecDialog;

private:
    int Exec(QDialog& dialog);

    QImage FLogo;
};

} // namespace quillon
