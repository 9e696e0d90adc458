// Shows an edit window holding a motion list, with its toolbars, its status bar and the quick
// description of a field (F4), and saves a picture of the screen around it:
// EditWindowShot <file.png> (docs/edit-window.png is made with it under a virtual X server, see
// scripts/edit-window-screenshot). The settings go to a temporary folder.
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EditorWin.h"
#include "ListKinds.h"
#include "QtSettingsStore.h"
#include "RootWin.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

using namespace quillon;

namespace {

const char* const kFrames[] = {
    "; 立ち",
    "  0   1  6  10/0  0  0 0    0 0 0 0 9 0 U 0   - 0 000000000000 1FF0EF00A010 000000000000 000000000000 ;立ちポーズ",
    "  1   2  6  11/0  0  0 0    0 0 0 0 9 0 U 0   - 0 000000000000 1FF0EF00A010 000000000000 000000000000",
    "  2   0  6  12/0  0  0 0    0 0 0 0 9 0 U 0   - 0 000000000000 1FF0EF00A010 000000000000 000000000000 ;ループ",
    "; 必殺技",
    " 20  21  3  30/0  0 44 0    0 0 0 0 9 0 U 0   - 0 000000000000 1FF0EF00A010 000000000000 000000000000 ;溜め",
    " 21  22  3  31/0  0 44 9/-3 4 0 0 0 1 1 M 8  30 0 010000000000 1FF0EF00A010 2A10F4003018 010020000030 ;当たり",
    " 22   0  5  32/0  0 44 0    0 0 0 0 9 0 U 0   - 0 000000000000 1FF0EF00A010 000000000000 000000000000",
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    QTemporaryDir dir;
    TQtSettingsStore store(dir.filePath("quillon.ini"));
    TQuillonRootWin root(store);
    std::vector<std::string> lines;
    NewMotionList(lines);
    for (const char* line : kFrames) lines.push_back(Utf8ToCp932(line));
    root.OpenNewWindow("", &lines, lkMotion);
    TfrmEditWindow& window = *root.WindowAt(0);
    window.move(20, 20);
    window.resize(900, 440);
    bool saved = false;
    QTimer::singleShot(300, [&] {
        // The caret on the Ci field of frame 21, its description below it, a recording key macro.
        const std::string frame = window.Editor().Lines().Get(9);
        window.Editor().SetRowCol(9, static_cast<int>(frame.find(" 44 ")) + 1);
        window.ActionMacroOnOff->trigger();
        QStatusTipEvent tip(window.ActionShowFramePicture->statusTip());
        QApplication::sendEvent(window.ToolBar2, &tip);
        QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
        QApplication::sendEvent(&window.EditorWidget(), &f4);
    });
    QTimer::singleShot(900, [&] {
        const QRect area = window.frameGeometry().adjusted(-10, -10, 10, 40);
        saved = window.screen()
                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(QString::fromLocal8Bit(argv[1]));
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
