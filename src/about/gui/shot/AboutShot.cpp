// Shows the about box for a moment and saves a picture of it: AboutShot <file.png>
// (docs/about-box.png is made with it under a virtual X server, see scripts/about-screenshot).
#include "AboutDlg.h"
#include "QtAbout.h"
#include "QtDIBImage.h"
#include "QtSettingsStore.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

using namespace quillon;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    QTemporaryDir dir; // the user's own settings stay untouched
    TQtSettingsStore store(dir.filePath("quillon.ini"));
    TAbout about(store);
    about.SetTitle("Quillonについて");
    about.SetShowAboutHelp(false);
    about.SetShowDelReg(true);
    about.SetLogo(ProgramLogo());
    bool saved = false;
    about.ExecDialog = [&](QDialog& dialog) {
        dialog.show();
        QEventLoop animating; // let the logo turn for a while
        QTimer::singleShot(250, &animating, &QEventLoop::quit);
        animating.exec();
        saved = dialog.grab().save(QString::fromLocal8Bit(argv[1]));
        dialog.accept();
        return dialog.result();
    };
    about.ShowAboutBox();
    return saved ? 0 : 1;
}
