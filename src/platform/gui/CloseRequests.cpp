#include "CloseRequests.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillon {

namespace {

constexpr int kRetryMs = 250; // how often a postponed request looks whether the dialog has closed

int gSignalPipe = -1; // the write end of the current object's pipe

void SignalHandler(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe, &byte, 1); // a full pipe has one waiting
    errno = saved;
}

void Install(int Signal, struct sigaction& Old) {
    ::sigaction(Signal, nullptr, &Old);
    if (Old.sa_handler == SIG_IGN) return; // ignored by whoever started the program (nohup): it stays so
    struct sigaction action {};
    action.sa_handler = SignalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(Signal, &action, nullptr);
}

} // namespace

TCloseRequests::TCloseRequests() {
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &FContext,
                     [this](QSessionManager& Manager) { CommitData(Manager); });
    if (::pipe2(FPipe, O_CLOEXEC | O_NONBLOCK) != 0) return; // the signals keep what they do
    gSignalPipe = FPipe[1];
    FNotifier = std::make_unique<QSocketNotifier>(FPipe[0], QSocketNotifier::Read);
    QObject::connect(FNotifier.get(), &QSocketNotifier::activated, &FContext, [this] { SignalArrived(); });
    Install(SIGTERM, FOldTerm);
    Install(SIGHUP, FOldHup);
}

TCloseRequests::~TCloseRequests() {
    if (!FNotifier) return;
    ::sigaction(SIGTERM, &FOldTerm, nullptr);
    ::sigaction(SIGHUP, &FOldHup, nullptr);
    gSignalPipe = -1;
    FNotifier.reset();
    ::close(FPipe[0]);
    ::close(FPipe[1]);
}

bool TCloseRequests::Query(bool& Postpone) {
    Postpone = !FAsking && QApplication::activeModalWidget();
    if (FAsking || Postpone || !OnCloseQuery) return false;
    FAsking = true;
    const bool agreed = OnCloseQuery();
    FAsking = false;
    return agreed;
}

void TCloseRequests::SignalArrived() {
    char bytes[64];
    while (::read(FPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (!FPostponed) AskForSignal();
}

void TCloseRequests::AskForSignal() {
    Query(FPostponed);
    if (FPostponed) QTimer::singleShot(kRetryMs, &FContext, [this] { AskForSignal(); });
}

void TCloseRequests::CommitData(QSessionManager& Manager) {
    if (!Manager.allowsInteraction()) return;
    bool postpone = false;
    const bool agreed = Query(postpone);
    Manager.release();
    if (!agreed) Manager.cancel();
}

} // namespace quillon
