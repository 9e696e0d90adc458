#include "ThrdTime.h"

#include "Errors.h"
#include "MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>

using namespace quillon;
using namespace std::chrono_literals;

namespace {

// A main-thread queue drained by the test's own thread.
class TManualQueue : public TMainThreadQueue {
public:
    void Post(std::function<void()> call) override {
        std::lock_guard lock(FMutex);
        FCalls.push_back(std::move(call));
        MaxQueued = std::max(MaxQueued, FCalls.size());
        FPosted.notify_all();
    }
    // Waits up to timeout for a call, then runs it; false when none came.
    bool RunOne(std::chrono::milliseconds timeout = 2000ms) {
        std::function<void()> call;
        {
            std::unique_lock lock(FMutex);
            if (!FPosted.wait_for(lock, timeout, [&] { return !FCalls.empty(); })) return false;
            call = std::move(FCalls.front());
            FCalls.pop_front();
        }
        call();
        return true;
    }
    std::size_t Queued() {
        std::lock_guard lock(FMutex);
        return FCalls.size();
    }
    std::size_t MaxQueued = 0;

private:
    std::mutex FMutex;
    std::condition_variable FPosted;
    std::deque<std::function<void()>> FCalls;
};

} // namespace

TEST(TickCounter, WholeIntervalsOnAFakeClock) {
    TTickCounter counter;
    counter.Start(0);
    EXPECT_EQ(counter.Reading(10, 16), std::nullopt);
    EXPECT_EQ(counter.Remaining(10, 16), 6u);
    EXPECT_EQ(counter.Reading(16, 16), 1);
    // The event took 40 ms: the next reading comes at once with two whole intervals.
    EXPECT_EQ(counter.Reading(56, 16), 2);
    EXPECT_EQ(counter.Reading(71, 16), std::nullopt);
    EXPECT_EQ(counter.Reading(72, 16), 1);
    EXPECT_EQ(counter.Remaining(72, 16), 16u);
}

TEST(TickCounter, ClockWrapsAndIntervalZero) {
    TTickCounter counter;
    counter.Start(0xFFFFFFF8u);
    EXPECT_EQ(counter.Reading(0xFFFFFFFFu, 16), std::nullopt);
    EXPECT_EQ(counter.Reading(8, 16), 1); // 16 ms across the wrap
    counter.Start(100);
    EXPECT_EQ(counter.Reading(100, 0), std::nullopt); // interval 0 counts as 1
    EXPECT_EQ(counter.Reading(103, 0), 3);
    counter.Start(0);
    EXPECT_EQ(counter.Reading(0xFFFFFFFFu, 1), INT_MAX); // a count that does not fit is capped
}

TEST(TickCounter, RateOverEachSecond) {
    TTickCounter counter;
    counter.Start(0);
    EXPECT_EQ(counter.TickRate(), 0);
    for (std::uint32_t t = 16; t <= 1008; t += 16) counter.Reading(t, 16);
    EXPECT_EQ(counter.TickRate(), 63); // 63 ticks in 1008 ms
}

class ThreadTimerTest : public ::testing::Test {
protected:
    TManualQueue Queue;
    TThreadTimer Timer{Queue};
    std::vector<int> Delays;
    std::vector<std::thread::id> Threads;

    void SetUp() override {
        Timer.SetInterval(2);
        Timer.OnTimer = [this](TCustomThreadTimer& sender, int delay) {
            EXPECT_EQ(&sender, &Timer);
            Delays.push_back(delay);
            Threads.push_back(std::this_thread::get_id());
        };
    }
};

TEST_F(ThreadTimerTest, TicksRunOnTheDrainingThreadOneAtATime) {
    Timer.SetEnabled(true);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Queue.RunOne());
        std::this_thread::sleep_for(10ms); // a slow main thread: ticks must not pile up
    }
    Timer.SetEnabled(false);
    EXPECT_EQ(Delays.size(), 5u);
    for (int delay : Delays) EXPECT_GE(delay, 1);
    EXPECT_GE(*std::max_element(Delays.begin(), Delays.end()), 2); // 10 ms of work at a 2 ms interval
    for (auto id : Threads) EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_EQ(Queue.MaxQueued, 1u);
}

TEST_F(ThreadTimerTest, DisablingWithATickPendingDropsIt) {
    Timer.SetEnabled(true);
    while (Queue.Queued() == 0) std::this_thread::sleep_for(1ms);
    const auto start = std::chrono::steady_clock::now();
    Timer.SetEnabled(false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    while (Queue.RunOne(50ms)) {
    }
    EXPECT_TRUE(Delays.empty());
    EXPECT_FALSE(Timer.Enabled());
}

TEST_F(ThreadTimerTest, DisablingFromInsideTheEventDoesNotDeadlock) {
    Timer.OnTimer = [this](TCustomThreadTimer&, int delay) {
        Delays.push_back(delay);
        Timer.SetEnabled(false);
    };
    Timer.SetEnabled(true);
    ASSERT_TRUE(Queue.RunOne());
    EXPECT_FALSE(Timer.Enabled());
    while (Queue.RunOne(50ms)) {
    }
    EXPECT_EQ(Delays.size(), 1u);
    Timer.SetEnabled(true); // and it starts again
    ASSERT_TRUE(Queue.RunOne());
    EXPECT_EQ(Delays.size(), 2u);
}

TEST_F(ThreadTimerTest, AnExceptionOfTheEventIsShownAndTicksGoOn) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    Timer.OnTimer = [this](TCustomThreadTimer&, int delay) {
        Delays.push_back(delay);
        if (Delays.size() == 1) throw Exception("フレーム失敗");
        if (Delays.size() == 2) throw 42;
    };
    Timer.SetEnabled(true);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Queue.RunOne());
    Timer.SetEnabled(false);
    EXPECT_EQ(Delays.size(), 3u);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "フレーム失敗");
}

TEST_F(ThreadTimerTest, NewIntervalTakesEffectWithoutRestart) {
    Timer.SetInterval(100000);
    Timer.SetEnabled(true);
    EXPECT_FALSE(Queue.RunOne(50ms));
    Timer.SetInterval(0);
    EXPECT_EQ(Timer.Interval(), 1u);
    EXPECT_TRUE(Queue.RunOne());
}

TEST_F(ThreadTimerTest, SleepTimeAndPriorityWhileRunning) {
    Timer.SetSleepTime(30);
    Timer.SetPriority(TThreadPriority::tpLower);
    Timer.SetEnabled(true);
    ASSERT_TRUE(Queue.RunOne());
    ASSERT_TRUE(Queue.RunOne());
    EXPECT_GE(Delays.back(), 15); // the worker rested 30 ms after the first tick
    Timer.SetPriority(TThreadPriority::tpIdle);
    Timer.SetSleepTime(0);
    ASSERT_TRUE(Queue.RunOne());
    EXPECT_EQ(Timer.Priority(), TThreadPriority::tpIdle);
}

TEST(ThreadTimer, DestroyingAnEnabledTimerStopsItsWorker) {
    TManualQueue queue;
    int events = 0;
    {
        TThreadTimer timer(queue);
        timer.SetInterval(1);
        timer.OnTimer = [&](TCustomThreadTimer&, int) { ++events; };
        timer.SetEnabled(true);
        while (queue.Queued() == 0) std::this_thread::sleep_for(1ms);
    }
    while (queue.RunOne(20ms)) {
    }
    EXPECT_EQ(events, 0);
}
