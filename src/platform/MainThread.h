#pragma once
// Hands calls from other threads to the main thread, which runs them in order from its event loop.
#include <functional>

namespace quillon {

class TMainThreadQueue {
public:
    virtual ~TMainThreadQueue() = default;
    // Safe from any thread; the call runs later on the main thread (never inside Post).
    virtual void Post(std::function<void()> call) = 0;
};

} // namespace quillon
