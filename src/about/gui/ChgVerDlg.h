#pragma once
// The notice shown at start when the program's version differs from the one that ran last.
#include <QDialog>

class QLabel;
class QPushButton;

namespace quillon {

class TVisualLabel;

class TfrmChgVer : public QDialog {
public:
    explicit TfrmChgVer(QWidget* parent = nullptr);

    bool UseJapanese() const { return FJapanese; }
    // Switches every text and font between the Japanese design and English; acts only on a change.
    void SetUseJapanese(bool value);
    // Hides the help button and centres OK under the texts.
    void HideHelpButton();

    TVisualLabel* VisualLabel1;
    QLabel *Label1, *Label2, *Label3, *lblLastVersion, *lblNowVersion;
    QPushButton *btnOk, *btnHelp;

private:
    bool FJapanese = true; // the form is designed with its Japanese texts
};

} // namespace quillon
