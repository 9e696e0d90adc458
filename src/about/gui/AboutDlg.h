#pragma once
// The about box: the program's name, version and legal notice, the still logo, and a 96 x 96
// picture redrawn on every tick of a 16 ms thread timer (the banner waving, the logo turning and
// breathing, backwards while the mouse rests on it).
#include "AboutAnimation.h"
#include "ThrdTime.h"

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace quillon {

class TVisualLabel;

// A picture that reports clicks and double clicks.
class TPictureBox : public QWidget {
public:
    explicit TPictureBox(QWidget* parent = nullptr);
    // Drawn stretched over the whole box.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return FPicture; }
    std::function<void()> OnClick, OnDblClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage FPicture;
};

class TAboutDialog : public QDialog {
public:
    // Loads the pictures from resources; raises EBitFieldError when one is missing.
    explicit TAboutDialog(QWidget* parent = nullptr, const TResourceModule& resources = ProgramResources());
    ~TAboutDialog() override;

    bool UseJapanese() const { return FJapanese; }
    // Switches every text and font between the Japanese design and English; acts only on a change.
    void SetUseJapanese(bool value);
    bool DelRegChecked() const;
    void SetDelRegChecked(bool value);
    void SetDelRegVisible(bool value);
    void SetLogo(const QImage& logo);

    // The state of the animated picture.
    const TLogoAnimation& Animation() const { return *FAnimation; }
    bool TimerEnabled() const { return ThreadTimer.Enabled(); }

    QFrame* Panel1;
    TVisualLabel* lblProgName;
    QLabel *lblVersionNum, *lblDeveloper, *Label4;
    TPictureBox *imgLogo, *BufLogo;
    QCheckBox* chkDelReg;
    QPushButton *btnOk, *btnHelp;
    TThreadTimer ThreadTimer;

protected:
    void showEvent(QShowEvent* event) override;
    // Closing stops the timer and frees the pictures.
    void done(int result) override;

private:
    void CreateComponents();
    // One animation frame; runs on the main thread on every timer tick.
    void DoFrame(TCustomThreadTimer& Sender, int Delay);

    std::unique_ptr<TLogoAnimation> FAnimation; // never null
    bool FJapanese = true;                      // the form is designed with its Japanese texts
};

} // namespace quillon
