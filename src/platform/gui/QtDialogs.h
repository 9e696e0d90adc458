#pragma once
// Where dialogs and message boxes appear: over the window they speak for, never at a screen position
// of their own; and Qt's own texts of them (standard buttons, file dialogs) in Japanese.
#include <QDialog>
#include <QPointer>

class QTranslator;

namespace quillon {

// The window a box or dialog opened now speaks for: the modal dialog in front, else the window whose
// command runs (TCommandWindowScope), else the active window, else the one main window on the
// screen; null when none of these is known.
QWidget* OwnerWindow();

// For its life, Window is the window whose command runs: the boxes and dialogs the command opens
// speak for it, whichever window is active (none is for a moment after a dialog has closed).
class TCommandWindowScope {
public:
    explicit TCommandWindowScope(QWidget* Window);
    ~TCommandWindowScope();
    TCommandWindowScope(const TCommandWindowScope&) = delete;
    TCommandWindowScope& operator=(const TCommandWindowScope&) = delete;

private:
    QPointer<QWidget> FOuter; // the scope's window outside this one, restored at the end
};

// Moves Dialog so that it is centred over Owner's window, kept inside the work area of Owner's
// screen. A dialog that is only hidden between uses is placed again for every owner. Without an
// owner the dialog stays where it is.
void CentreOver(QWidget& Dialog, const QWidget* Owner);

// A dialog that lives apart from the windows it serves (kept for the whole run, or made without a
// parent): every time it is shown it is centred over the window it then speaks for.
class TCentredDialog : public QDialog {
public:
    using QDialog::QDialog;
    void setVisible(bool visible) override;
};

// Loads Qt's Japanese translation of its own texts into Translator and installs it in the
// application. False, and Qt's texts stay English, when the translation is not installed.
bool InstallQtTranslation(QTranslator& Translator);

} // namespace quillon
