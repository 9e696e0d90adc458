#pragma once
// Message boxes behind one small service, so that library code can ask and tests can answer.
#include <deque>
#include <string>
#include <vector>

namespace quillon {

enum class TMsgIcon { None, Error, Warning, Information, Question };
enum class TMsgButtons { OK, OKCancel, YesNo, YesNoCancel, YesNoCancelAll };
enum class TMsgResult { Ok, Cancel, Yes, No, All };

class TMessageService {
public:
    virtual ~TMessageService() = default;
    // text and title are UTF-8.
    virtual TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon, TMsgButtons buttons) = 0;
};

// The answer a box gives when it is dismissed without a choice (Escape or its close button).
TMsgResult DismissAnswer(TMsgButtons buttons);

// The service that library code uses. Until the program installs its own, boxes print to stderr and
// are dismissed.
TMessageService& Messages();
// Installs a service (not owned); nullptr goes back to the default one.
void SetMessageService(TMessageService* service);

// Shorthand for the error box: title "エラー", error icon, OK.
void ShowError(const std::string& text);

// A service for tests: records every box and answers from a script, then with DismissAnswer.
class TScriptedMessages : public TMessageService {
public:
    struct TShown {
        std::string Text, Title;
        TMsgIcon Icon;
        TMsgButtons Buttons;
    };
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon, TMsgButtons buttons) override;
    void Answer(TMsgResult answer) { FAnswers.push_back(answer); }

    std::vector<TShown> Shown;

private:
    std::deque<TMsgResult> FAnswers;
};

// Installs a service for the life of a scope.
class TMessageServiceScope {
public:
    explicit TMessageServiceScope(TMessageService& service) { SetMessageService(&service); }
    ~TMessageServiceScope() { SetMessageService(nullptr); }
    TMessageServiceScope(const TMessageServiceScope&) = delete;
    TMessageServiceScope& operator=(const TMessageServiceScope&) = delete;
};

} // namespace quillon
