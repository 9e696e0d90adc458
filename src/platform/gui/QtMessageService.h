#pragma once
// Message boxes on screen.
#include "MessageBox.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace quillon {

class TQtMessageService : public TMessageService {
public:
    // Runs the box modally over the window it speaks for (OwnerWindow).
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon, TMsgButtons buttons) override;
};

// The box Show runs, as a child of Owner (so that it opens centred over Owner's window).
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* Owner, const std::string& text, const std::string& title,
                                              TMsgIcon icon, TMsgButtons buttons);

} // namespace quillon
