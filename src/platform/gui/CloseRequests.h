#pragma once
// Requests from outside to end the program: SIGTERM (a shutdown, `kill`), SIGHUP (the terminal or
// the session gone) and the desktop session's end. Each goes through one close query, as closing
// the last window does: modified lists ask their save question, and when all agree the windows
// close and the program ends normally (writing its settings); a refusal keeps it running and
// cancels the session's end.
//
// A signal handler may do almost nothing: it writes one byte into a pipe (a self-pipe), and the
// main thread's event loop, watching the pipe's other end, runs the query. A request that comes
// while a query is asking is part of it and dropped; one that comes while a modal dialog is open
// waits until it closes, so that no window goes away under a dialog that still runs. The session's
// end cannot wait: with a dialog open, or when the session allows no questions, it is cancelled or
// left to the session.
#include <QObject>

#include <functional>
#include <memory>
#include <signal.h>

class QSessionManager;
class QSocketNotifier;

namespace quillon {

class TCloseRequests {
public:
    // Installs the handlers of SIGTERM and SIGHUP, except for a signal that the program was
    // started ignoring (nohup); the former ones come back with the object. One object at a time.
    TCloseRequests();
    ~TCloseRequests();
    TCloseRequests(const TCloseRequests&) = delete;
    TCloseRequests& operator=(const TCloseRequests&) = delete;

    // Asked on the main thread for each request: true when everything agreed to close.
    std::function<bool()> OnCloseQuery;

private:
    void SignalArrived();
    void AskForSignal();
    void CommitData(QSessionManager& Manager);
    // Runs the query unless one is asking; Postpone: a modal dialog is open, nothing was asked.
    bool Query(bool& Postpone);

    int FPipe[2] = {-1, -1}; // the handler writes into [1], the notifier watches [0]
    std::unique_ptr<QSocketNotifier> FNotifier;
    QObject FContext;               // receiver of the session's signal and of the postponed requests
    struct sigaction FOldTerm = {}; // the handlers before this object
    struct sigaction FOldHup = {};
    bool FAsking = false;    // a query is asking its questions
    bool FPostponed = false; // a signal's request waits for a modal dialog to close
};

} // namespace quillon
