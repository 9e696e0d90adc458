#include "QtAbout.h"

#include "AboutDlg.h"
#include "ChgVerDlg.h"
#include "ExtVCLs.h"
#include "QtDialogs.h"
#include "QtText.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace quillon {

int TAbout::Exec(QDialog& dialog) { return ExecDialog ? ExecDialog(dialog) : dialog.exec(); }

void TAbout::ShowVersionChanged() {
    TfrmChgVer form(OwnerWindow());
    form.SetUseJapanese(UseJapanese());
    form.setWindowTitle(QStr(ProductName()));
    form.lblLastVersion->setText(QStr(LastVersion()));
    form.lblNowVersion->setText(QStr(FileVersion()));
    if (!ShowVerHelp()) form.HideHelpButton();
    Exec(form);
}

void TAbout::ShowAboutBox() {
    TAboutDialog dialog(OwnerWindow());
    dialog.SetUseJapanese(UseJapanese());
    dialog.SetDelRegChecked(DelReg());
    dialog.SetDelRegVisible(ShowDelReg());
    dialog.lblProgName->setText(QStr(ProductName()));
    dialog.lblVersionNum->setText(QStr("Version " + FileVersion()));
    dialog.lblDeveloper->setText(QStr(LegalCopyright()));
    dialog.setWindowTitle(QStr(Title()));
    dialog.SetLogo(FLogo);
    dialog.btnHelp->setToolTip(QStr(HelpButtonHint()));
    dialog.btnHelp->setVisible(ShowAboutHelp());
    auto fire = [this](const TNotifyEvent& event) {
        return [this, &event] {
            if (event) event(*this);
        };
    };
    dialog.BufLogo->OnClick = fire(OnMarkClick);
    dialog.BufLogo->OnDblClick = fire(OnMarkDblClick);
    dialog.imgLogo->OnClick = fire(OnLogoClick);
    dialog.imgLogo->OnDblClick = fire(OnLogoDblClick);
    Exec(dialog);
    SetDelReg(dialog.DelRegChecked());
}

} // namespace quillon
