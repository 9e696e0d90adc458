#pragma once
// Message boxes on screen.
#include "MessageBox.h"

class QWidget;

namespace quillon {

class TQtMessageService : public TMessageService {
public:
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon,
                    TMsgButtons buttons) override;
};

} // namespace quillon
