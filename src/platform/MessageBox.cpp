#include "MessageBox.h"

#include <cstdio>

namespace quillon {
namespace {

class TStderrMessages : public TMessageService {
public:
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon, TMsgButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return DismissAnswer(buttons);
    }
};

TStderrMessages gStderrMessages;
TMessageService* gService = &gStderrMessages;

} // namespace

TMsgResult DismissAnswer(TMsgButtons buttons) {
    switch (buttons) {
    case TMsgButtons::OK: return TMsgResult::Ok;
    case TMsgButtons::YesNo: return TMsgResult::No;
    default: return TMsgResult::Cancel;
    }
}

TMessageService& Messages() { return *gService; }

void SetMessageService(TMessageService* service) { gService = service ? service : &gStderrMessages; }

void ShowError(const std::string& text) { Messages().Show(text, "エラー", TMsgIcon::Error, TMsgButtons::OK); }

TMsgResult TScriptedMessages::Show(const std::string& text, const std::string& title, TMsgIcon icon,
                                   TMsgButtons buttons) {
    Shown.push_back({text, title, icon, buttons});
    if (FAnswers.empty()) return DismissAnswer(buttons);
    TMsgResult answer = FAnswers.front();
    FAnswers.pop_front();
    return answer;
}

} // namespace quillon
