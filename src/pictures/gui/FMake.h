#pragma once
// The character maker's progress dialog: shown modally, it starts the maker by itself 100 ms
// later, shows which picture is being cut and how far the colour reduction is, and closes with the
// maker's outcome as its result (1 made, 2 cancelled, 3 failed). The work runs on the main thread;
// the window stays responsive because every progress report lets Qt handle pending events. The
// cancel button, Escape and the window's close button only ask the maker to stop.
#include "BitmapList.h"

#include <QDialog>
#include <filesystem>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quillon {

class TCharMaker;

class TfrmFileMake : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFileMake(QWidget* parent = nullptr);

    QLabel* Label1;       // what is being made, then the reduction method
    QLabel* lblInfoTitle; // "処理中"
    QProgressBar* ProgressBar;
    QPushButton* btnCancel;
    QTimer* Timer1;      // starts the work once, 100 ms after showing
    QLabel* lblInfoNum;  // the picture number
    QLabel* lblInfoName; // the picture's path relative to the output folder

    std::filesystem::path OutputFolder; // where both files go
    std::string Suffix;                 // the list's number suffix ("" or "1".."7")
    TBitmapListEntries Entries;
    bool UseDecColorDepth = false;
    int DecColorDepthMethod = 0;
    int CreateMode = 0;
    int Scale = 1;

    bool CancelRequested() const { return FCancel; }

    void reject() override; // Escape: only asks the work to stop

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1Timer();
    void btnCancelClick();

private:
    void ShowProgress(int position, std::int32_t number, const std::filesystem::path& path);
    void ReductionStarted(const std::string& caption);
    void ReductionProgress(int percent);

    bool FCancel = false;
    bool FFinished = false;       // the work has ended; the dialog may close
    TCharMaker* FMaker = nullptr; // the running maker (owned by Timer1Timer's frame)
    std::string FReductionCaption;
};

} // namespace quillon
