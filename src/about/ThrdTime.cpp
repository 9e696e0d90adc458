#include "ThrdTime.h"

#include "MessageBox.h"

#include <chrono>
#include <climits>
#include <sys/resource.h>
#include <unistd.h>

namespace quillon {

std::uint32_t TimeGetTime() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// --- TTickCounter ---

void TTickCounter::Start(std::uint32_t now) {
    FLastTick = FRateStart = now;
    FTickCount = FTickRate = 0;
}

std::optional<int> TTickCounter::Reading(std::uint32_t now, std::uint32_t interval) {
    interval = std::max(interval, 1u);
    const std::uint32_t elapsed = now - FLastTick;
    if (elapsed < interval) return std::nullopt;
    ++FTickCount;
    const std::uint32_t window = now - FRateStart;
    if (window >= 1000) {
        FTickRate = static_cast<int>((static_cast<std::uint64_t>(FTickCount) * 1000 + window / 2) / window);
        FTickCount = 0;
        FRateStart = now;
    }
    FLastTick = now;
    return static_cast<int>(std::min<std::uint32_t>(elapsed / interval, INT_MAX));
}

std::uint32_t TTickCounter::Remaining(std::uint32_t now, std::uint32_t interval) const {
    interval = std::max(interval, 1u);
    const std::uint32_t elapsed = now - FLastTick;
    return elapsed < interval ? interval - elapsed : 0;
}

// --- TThreadWatch ---

struct TThreadWatch::TShared {
    std::mutex Mutex;
    std::condition_variable Wake; // signalled on stop, on a finished tick and on a new interval
    bool Terminated = false;      // set on the main thread only
    bool Pending = false;         // a tick is posted and has not finished on the main thread
    TTickHandler OnTick;

    // Runs on the main thread.
    void Deliver(int delay) {
        {
            std::lock_guard lock(Mutex);
            if (Terminated) return; // stopped meanwhile: the tick is dropped
        }
        OnTick(delay);
        {
            std::lock_guard lock(Mutex);
            Pending = false;
        }
        Wake.notify_all();
    }
};

TThreadWatch::TThreadWatch(TMainThreadQueue& queue, TTickHandler onTick, TMillisecondClock clock,
                           std::uint32_t interval, std::int32_t sleepTime, TThreadPriority priority)
    : FQueue(queue), FClock(std::move(clock)), FInterval(std::max(interval, 1u)), FSleepTime(sleepTime),
      FPriority(priority), FShared(std::make_shared<TShared>()) {
    FShared->OnTick = std::move(onTick);
    FThread = std::thread([this] { Execute(); });
}

TThreadWatch::~TThreadWatch() { Terminate(); }

void TThreadWatch::SetInterval(std::uint32_t value) {
    FInterval = std::max(value, 1u);
    FShared->Wake.notify_all();
}

void TThreadWatch::SetSleepTime(std::int32_t value) { FSleepTime = value; }

void TThreadWatch::SetPriority(TThreadPriority value) {
    FPriority = value;
    FShared->Wake.notify_all();
}

void TThreadWatch::Terminate() {
    {
        std::lock_guard lock(FShared->Mutex);
        FShared->Terminated = true;
    }
    FShared->Wake.notify_all();
    if (FThread.joinable()) FThread.join();
}

void TThreadWatch::ApplyPriority() {
    // Thread priorities are nice values of the worker's own task; raising one needs a privilege that
    // the program usually lacks, and then the thread keeps what it has.
    static constexpr int kNice[] = {19, 10, 5, 0, -5, -10, -20};
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNice[static_cast<int>(FPriority.load())]);
}

void TThreadWatch::Execute() {
    TShared& shared = *FShared;
    TThreadPriority applied = TThreadPriority::tpNormal;
    std::unique_lock lock(shared.Mutex);
    FCounter.Start(FClock());
    while (!shared.Terminated) {
        if (FPriority != applied) {
            applied = FPriority;
            ApplyPriority();
        }
        const std::uint32_t interval = FInterval, now = FClock();
        const std::optional<int> delay = FCounter.Reading(now, interval);
        if (!delay) {
            // Sleep until the deadline; a stop or a new interval wakes the worker earlier.
            shared.Wake.wait_for(lock, std::chrono::milliseconds(FCounter.Remaining(now, interval)));
            continue;
        }
        shared.Pending = true;
        FQueue.Post([sharedState = FShared, d = *delay] { sharedState->Deliver(d); });
        shared.Wake.wait(lock, [&] { return !shared.Pending || shared.Terminated; });
        if (const std::int32_t rest = FSleepTime; rest > 0)
            shared.Wake.wait_for(lock, std::chrono::milliseconds(rest), [&] { return shared.Terminated; });
    }
}

// --- TCustomThreadTimer ---

TCustomThreadTimer::TCustomThreadTimer(TMainThreadQueue& queue, TMillisecondClock clock)
    : FQueue(queue), FClock(std::move(clock)) {}

TCustomThreadTimer::~TCustomThreadTimer() { SetEnabled(false); }

void TCustomThreadTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    if (value) {
        FWatch = std::make_unique<TThreadWatch>(
            FQueue, [this](int delay) { Tick(delay); }, FClock, FInterval, FSleepTime, FPriority);
    } else {
        FWatch->Terminate();
        FWatch.reset();
    }
}

void TCustomThreadTimer::SetPriority(TThreadPriority value) {
    if (value == FPriority) return;
    FPriority = value;
    if (FWatch) FWatch->SetPriority(value);
}

void TCustomThreadTimer::SetInterval(std::uint32_t value) {
    value = std::max(value, 1u);
    if (value == FInterval) return;
    FInterval = value;
    if (FWatch) FWatch->SetInterval(value);
}

void TCustomThreadTimer::SetSleepTime(std::int32_t value) {
    if (value == FSleepTime) return;
    FSleepTime = value;
    if (FWatch) FWatch->SetSleepTime(value);
}

void TCustomThreadTimer::DoTimer(int Delay) {
    if (OnTimer && FEnabled) OnTimer(*this, Delay);
}

void TCustomThreadTimer::Tick(int Delay) {
    try {
        DoTimer(Delay);
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        // An exception without a message has nothing to show; the ticks go on all the same.
    }
}

} // namespace quillon
