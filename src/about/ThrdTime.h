#pragma once
// A timer whose ticks are timed by a worker thread and delivered on the main thread.
//
// The worker reads a millisecond clock, sleeps until the next whole interval is due, hands the tick
// to the main thread through the main-thread queue and waits until the main thread has run it, so
// at most one tick is ever in flight. The event receives the number of whole intervals since the
// previous tick: when the main thread was busy, the next tick comes at once with a larger count
// instead of several ticks queuing up. The next interval is measured from the time read before the
// event, so the time the event took counts into it.
//
// Stopping is done on the main thread: it marks the worker terminated, wakes it and joins it. A tick
// already posted but not yet run is dropped, so no event follows a stop, and stopping from inside
// the event does not deadlock (the worker waits for "tick done or terminated").
#include "MainThread.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace quillon {

// A millisecond clock that wraps at 2 to the 32nd.
using TMillisecondClock = std::function<std::uint32_t()>;
// The real one: milliseconds of the steady clock.
std::uint32_t TimeGetTime();

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The worker's bookkeeping, apart from any thread. Differences of times are taken modulo 2^32.
class TTickCounter {
public:
    void Start(std::uint32_t now);
    // When at least one interval (taken as 1 when 0) has passed since the last tick: records a tick at
    // now and answers the number of whole intervals that passed. Otherwise nothing.
    std::optional<int> Reading(std::uint32_t now, std::uint32_t interval);
    // Milliseconds until the next tick is due; 0 when it is due.
    std::uint32_t Remaining(std::uint32_t now, std::uint32_t interval) const;
    // Ticks per second over the last rate window of at least one second, rounded; 0 before the first.
    int TickRate() const { return FTickRate; }

private:
    std::uint32_t FLastTick = 0;  // the next interval counts from here
    std::uint32_t FRateStart = 0; // start of the current rate window
    int FTickCount = 0;           // ticks in the current rate window
    int FTickRate = 0;
};

// The worker thread. It starts at construction and stops at Terminate or destruction.
class TThreadWatch {
public:
    using TTickHandler = std::function<void(int Delay)>; // runs on the main thread; must not throw

    TThreadWatch(TMainThreadQueue& queue, TTickHandler onTick, TMillisecondClock clock, std::uint32_t interval,
                 std::int32_t sleepTime, TThreadPriority priority);
    ~TThreadWatch();
    TThreadWatch(const TThreadWatch&) = delete;
    TThreadWatch& operator=(const TThreadWatch&) = delete;

    // Take effect at the worker's next reading.
    void SetInterval(std::uint32_t value);
    void SetSleepTime(std::int32_t value);
    void SetPriority(TThreadPriority value);
    // Stops the worker and waits for its end; call on the main thread.
    void Terminate();

private:
    struct TShared; // what the worker and the posted ticks share; outlives the worker
    void Execute();
    void ApplyPriority();

    TMainThreadQueue& FQueue;
    TMillisecondClock FClock;
    std::atomic<std::uint32_t> FInterval; // at least 1
    std::atomic<std::int32_t> FSleepTime; // milliseconds to rest after each tick when > 0
    std::atomic<TThreadPriority> FPriority;
    std::shared_ptr<TShared> FShared;
    TTickCounter FCounter; // used by the worker only
    std::thread FThread;   // started last, once everything above is set
};

class TCustomThreadTimer {
public:
    using TNotifyThreadTimerEvent = std::function<void(TCustomThreadTimer& Sender, int Delay)>;

    explicit TCustomThreadTimer(TMainThreadQueue& queue, TMillisecondClock clock = TimeGetTime);
    virtual ~TCustomThreadTimer();
    TCustomThreadTimer(const TCustomThreadTimer&) = delete;
    TCustomThreadTimer& operator=(const TCustomThreadTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    // true starts a worker, false stops it and waits for its end (dropping a tick on its way).
    void SetEnabled(bool value);

protected:
    // Calls OnTimer when it is assigned and the timer is enabled.
    virtual void DoTimer(int Delay);

    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority value);
    std::uint32_t Interval() const { return FInterval; }
    // 0 is taken as 1: the worker divides by the interval.
    void SetInterval(std::uint32_t value);
    std::int32_t SleepTime() const { return FSleepTime; }
    void SetSleepTime(std::int32_t value);

    TNotifyThreadTimerEvent OnTimer;

private:
    // A tick that reached the main thread: DoTimer inside a guard, so that an exception of the event
    // is reported and ticks go on.
    void Tick(int Delay);

    TMainThreadQueue& FQueue;
    TMillisecondClock FClock;
    bool FEnabled = false;
    TThreadPriority FPriority = TThreadPriority::tpNormal;
    std::uint32_t FInterval = 1000;
    std::int32_t FSleepTime = 0;
    std::unique_ptr<TThreadWatch> FWatch; // present exactly while enabled
};

class TThreadTimer : public TCustomThreadTimer {
public:
    using TCustomThreadTimer::Interval;
    using TCustomThreadTimer::OnTimer;
    using TCustomThreadTimer::Priority;
    using TCustomThreadTimer::SetInterval;
    using TCustomThreadTimer::SetPriority;
    using TCustomThreadTimer::SetSleepTime;
    using TCustomThreadTimer::SleepTime;
    using TCustomThreadTimer::TCustomThreadTimer;
};

} // namespace quillon
