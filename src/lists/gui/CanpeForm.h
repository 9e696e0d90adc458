#pragma once
// The hint viewer: a hint's title as the caption and its body as read-only text in a Japanese
// monospace font, closed with OK.
#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace quillon {

class TfrmCanpe : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCanpe(QWidget* parent = nullptr);

    // Title and Body are CP932, as a hint file holds them.
    void SetHint(const std::string& Title, const std::string& Body);

    // Shows the hint modally, centred on the active window.
    static void Execute(const std::string& Title, const std::string& Body);

    QPlainTextEdit* Memo1; // the body, read-only, lines never wrapped
    QWidget* Panel1;       // the button row below the text
    QPushButton* Button1;  // "OK"
};

// The item-hint viewer of the edit windows.
void ShowItemHint(const std::string& Title, const std::string& Body);

} // namespace quillon
