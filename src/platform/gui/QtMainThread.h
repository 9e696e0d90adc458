#pragma once
// The main-thread queue on the Qt event loop of the application object.
#include "MainThread.h"

namespace quillon {

class TQtMainThreadQueue : public TMainThreadQueue {
public:
    // Calls still queued when the application object goes away are dropped.
    void Post(std::function<void()> call) override;
};

// The program's queue.
TMainThreadQueue& MainThread();

} // namespace quillon
