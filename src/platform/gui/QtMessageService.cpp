#include "QtMessageService.h"

#include "QtDialogs.h"
#include "QtText.h"

#include <QMessageBox>

namespace quillon {

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* Owner, const std::string& text, const std::string& title,
                                              TMsgIcon icon, TMsgButtons buttons) {
    auto box = std::make_unique<QMessageBox>(Owner);
    box->setText(QStr(text));
    box->setWindowTitle(QStr(title));
    switch (icon) {
    case TMsgIcon::Error: box->setIcon(QMessageBox::Critical); break;
    case TMsgIcon::Warning: box->setIcon(QMessageBox::Warning); break;
    case TMsgIcon::Information: box->setIcon(QMessageBox::Information); break;
    case TMsgIcon::Question: box->setIcon(QMessageBox::Question); break;
    case TMsgIcon::None: break;
    }
    switch (buttons) {
    case TMsgButtons::OK: box->setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OKCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case TMsgButtons::YesNoCancelAll:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::YesToAll);
        break;
    }
    return box;
}

TMsgResult TQtMessageService::Show(const std::string& text, const std::string& title, TMsgIcon icon,
                                   TMsgButtons buttons) {
    const std::unique_ptr<QMessageBox> box = CreateMessageBox(OwnerWindow(), text, title, icon, buttons);
    switch (box->exec()) {
    case QMessageBox::Ok: return TMsgResult::Ok;
    case QMessageBox::Yes: return TMsgResult::Yes;
    case QMessageBox::No: return TMsgResult::No;
    case QMessageBox::Cancel: return TMsgResult::Cancel;
    case QMessageBox::YesToAll: return TMsgResult::All;
    default: return DismissAnswer(buttons);
    }
}

} // namespace quillon
