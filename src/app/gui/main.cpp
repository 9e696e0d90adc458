// Quillon's entry point. One instance runs per user: a later start hands its command line to the
// running instance and ends. The root window opens every list in an edit window of its own.
#include "CloseRequests.h"
#include "HandOver.h"
#include "ListCommandDialogs.h"
#include "ListFiles.h"
#include "QtDialogs.h"
#include "QtMessageService.h"
#include "QtSettingsStore.h"
#include "ReNumDlg.h"
#include "RootWin.h"
#include "SingleInstance.h"
#include "inscond.h"

#include <QApplication>

#include <QTranslator>
#include <csignal>

using namespace quillon;

int main(int argc, char* argv[]) {
    // A write beyond the file size limit then fails as a write error that the save reports, instead
    // of ending the program with every unsaved window.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv); // takes the options Qt reads itself out of argv
    std::vector<std::string> params(argv + 1, argv + argc);
    // A relative name means the folder this start was run from, not the running instance's.
    if (!params.empty() && !params.front().empty()) params.front() = ShellLongFileName(params.front());
    const std::string commandLine = HandOverMessage(params);
    TSingleInstance instance(TSingleInstance::PerUserName("QuillonMutex"));
    instance.MessageSize = [](std::span<const char> head) {
        return static_cast<qsizetype>(HandOverMessageSize({head.data(), head.size()}));
    };
    if (!instance.Start(commandLine)) return 0;

    QApplication::setApplicationName("Quillon");
    QTranslator qtTexts; // Qt's own buttons and dialogs in Japanese, like the program's texts
    InstallQtTranslation(qtTexts);
    TQtMessageService messages;
    TMessageServiceScope messageScope(messages);
    TQtSettingsStore store;
    TQuillonRootWin root(store);
    root.OnLastWindowClosed = [] { QCoreApplication::quit(); };
    QApplication::setQuitOnLastWindowClosed(false);
    instance.OnMessage = [&root](std::span<const char> data) { root.WMCopyData({data.data(), data.size()}); };
    root.FormCreate(params);
    // The renumber and insert-condition dialogs live for the whole run and are only hidden between uses.
    TfrmRenum frmRenum;
    TfrmInsCond frmInsCond;
    root.CommandDialogs = [&frmRenum](QWidget* owner) {
        return std::make_unique<TQtListCommandDialogs>(owner, frmRenum);
    };
    TQtCondDialog condDialog(frmInsCond);
    root.ConditionDialog = &condDialog;
    // A shutdown, `kill`, a hang-up or the session's end asks as closing the windows does.
    TCloseRequests closeRequests;
    closeRequests.OnCloseQuery = [&root] { return root.FormCloseQuery(); };
    return app.exec();
}
