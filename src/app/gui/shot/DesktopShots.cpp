// Takes the pictures of the program as a Japanese desktop shows it: DesktopShots <folder>
// Writes save-question.png (the question on closing a changed list, over its window),
// open-dialog.png (the open dialog over its window), settings-window.png (the editor settings
// window over its window) and frame-preview.png (an edit window with the frame preview). Run under
// a virtual X server by scripts/desktop-screenshots; the user's own settings stay untouched.
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EditorWin.h"
#include "ListFiles.h"
#include "ListKinds.h"
#include "QtDialogs.h"
#include "QtMessageService.h"
#include "QtSettingsStore.h"
#include "RootWin.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <functional>

using namespace quillon;

namespace {

const char* const kFrames[] = {
    "; 立ち",
    "  0    1  6  10/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000 ;立ちポーズ",
    "  1    0  6  11/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    "; 弱パンチ",
    " 20   21  3  30/0     0  0 0    0 0   0 0 9 0 0   0   -  0 0100 1FF0EF00A010 112050012000 01003C030028 ;当たり",
    " 21    0  5  31/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
};

// Lets the windows paint for a moment.
void Settle(int ms = 300) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The screen around Window and everything in front of it, as the user sees it.
bool SaveScreen(const QWidget& Window, const QWidget* Front, const QString& File) {
    QRect area = Window.frameGeometry();
    if (Front) area |= Front->frameGeometry();
    area = area.adjusted(-8, -8, 8, 8) & Window.screen()->geometry();
    return Window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).save(File);
}

// Runs Open, which shows a modal dialog over Window; takes the picture once it shows (and its first
// page is shown) and closes it.
bool ShotOfModal(const QWidget& Window, const QString& File, const std::function<void()>& Open) {
    bool saved = false;
    QTimer::singleShot(600, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal)
            for (QTabWidget* pages : modal->findChildren<QTabWidget*>()) pages->setCurrentIndex(0);
        Settle(200);
        saved = modal && SaveScreen(Window, modal, File);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    Open();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTranslator qtTexts;
    InstallQtTranslation(qtTexts);
    TQtMessageService messages;
    TMessageServiceScope messageScope(messages);
    QTemporaryDir dir;
    TQtSettingsStore store(dir.filePath("quillon.ini"));
    const std::string list = QDir(dir.path()).filePath("MOTION.LST").toStdString();
    std::vector<std::string> lines;
    NewMotionList(lines);
    for (const char* line : kFrames) lines.push_back(Utf8ToCp932(line));
    WriteListFile(list, lines);
    TQuillonRootWin root(store);
    root.FormCreate({list});
    TfrmEditWindow& window = *root.WindowAt(0);
    window.resize(900, 560);
    window.move(60, 60);
    window.Editor().SetRowCol(7, 0);
    window.ShowFramePicture(true);
    Settle();
    bool ok = SaveScreen(window, nullptr, out.filePath("frame-preview.png"));
    window.ShowFramePicture(false);
    window.resize(880, 480);
    Settle();
    ok = ShotOfModal(window, out.filePath("open-dialog.png"), [&] { window.ActionOpenExecute(); }) && ok;
    ok = ShotOfModal(window, out.filePath("settings-window.png"), [&] { root.EditKindSettings(window); }) && ok;
    window.EditorWidget().Editor().SetRowCol(3, 0);
    window.EditorWidget().Editor().SetSelText(Utf8ToCp932(";"));
    ok = ShotOfModal(window, out.filePath("save-question.png"), [&] { window.close(); }) && ok;
    window.EditorWidget().Editor().SetModified(false);
    window.SetModified(false);
    return ok ? 0 : 1;
}
