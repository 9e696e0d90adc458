#include "ViewerRoot.h"

#include "ListKinds.h"
#include "Paths.h"
#include "QtText.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <algorithm>

namespace quillon {

namespace {

// Restores a minimised window, shows it and gives it the focus above the other windows.
void BringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TViewerRoot::~TViewerRoot() {
    for (const TViewer& viewer : FWindows) delete viewer.Window.data();
}

void TViewerRoot::FormCreate(const std::vector<std::string>& Params) {
    if (!Params.empty()) {
        std::string fileName = Params.front();
        std::vector<std::string> lines;
        if (LoadListFile(fileName, &lines)) {
            OpenNewWindow(fileName, &lines, -1);
            return;
        }
    }
    OpenNewWindow("", nullptr, -1);
}

void TViewerRoot::WMCopyData(std::string_view Data) { ReceiveCommandLine(Data, *this); }

bool TViewerRoot::ActivateWindowForFile(const std::string& FileName) {
    const std::string name = ShellLongFileName(FileName);
    for (const TViewer& viewer : OpenViewers()) {
        if (!viewer.FileName.empty() && SameFile(viewer.FileName, name)) {
            BringToFront(viewer.Window);
            return true;
        }
    }
    return false;
}

bool TViewerRoot::LoadListFile(std::string& FileName, std::vector<std::string>* Lines) {
    return quillon::LoadListFile(FileName, Lines, FHistory);
}

void TViewerRoot::OpenNewWindow(const std::string& FileName, const std::vector<std::string>* Lines, int KindHint) {
    int kind = 0;
    if (Lines) {
        kind = DetectFileKind(*Lines, FileName);
        if (kind == 0 && KindHint != -1) kind = KindHint;
    }
    auto* view = new QPlainTextEdit;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (Lines) view->setPlainText(FromCp932(JoinListText(*Lines)));
    const QString name = FileName.empty() ? QStringLiteral("無題") : QStr(FileName);
    view->setWindowTitle(QStringLiteral("Quillon - %1 [%2]").arg(name, QStr(ListKindInfo(kind).ValueName)));
    view->resize(900, 600);
    std::erase_if(FWindows, [](const TViewer& viewer) { return viewer.Window.isNull(); });
    FWindows.push_back({view, FileName});
    BringToFront(view);
}

std::vector<TViewerRoot::TViewer> TViewerRoot::OpenViewers() const {
    std::vector<TViewer> open;
    std::copy_if(FWindows.begin(), FWindows.end(), std::back_inserter(open),
                 [](const TViewer& viewer) { return !viewer.Window.isNull(); });
    return open;
}

int TViewerRoot::WindowCount() const { return static_cast<int>(OpenViewers().size()); }

QWidget* TViewerRoot::WindowAt(int Index) const { return OpenViewers().at(static_cast<size_t>(Index)).Window; }

} // namespace quillon
