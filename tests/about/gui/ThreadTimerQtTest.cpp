#include "QtMainThread.h"
#include "ThrdTime.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace quillon;
using namespace std::chrono_literals;

TEST(ThreadTimerQt, TicksArriveOnTheGuiThread) {
    TThreadTimer timer(MainThread());
    timer.SetInterval(16);
    std::vector<QThread*> threads;
    timer.OnTimer = [&](TCustomThreadTimer&, int delay) {
        EXPECT_GE(delay, 1);
        threads.push_back(QThread::currentThread());
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return threads.size() >= 5; }, 5000));
    timer.SetEnabled(false);
    for (QThread* thread : threads) EXPECT_EQ(thread, QCoreApplication::instance()->thread());
}

TEST(ThreadTimerQt, DisablingWithATickPendingEndsPromptlyWithoutAnotherEvent) {
    TThreadTimer timer(MainThread());
    timer.SetInterval(1);
    int events = 0;
    timer.OnTimer = [&](TCustomThreadTimer&, int) { ++events; };
    timer.SetEnabled(true);
    std::this_thread::sleep_for(30ms); // the event loop does not run: the worker's tick waits in the queue
    const auto start = std::chrono::steady_clock::now();
    timer.SetEnabled(false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    QCoreApplication::processEvents(); // delivers the tick if it were still queued
    EXPECT_EQ(events, 0);
}

TEST(ThreadTimerQt, DisablingFromInsideTheEventDoesNotDeadlock) {
    TThreadTimer timer(MainThread());
    timer.SetInterval(5);
    int events = 0;
    timer.OnTimer = [&](TCustomThreadTimer& sender, int) {
        ++events;
        static_cast<TThreadTimer&>(sender).SetEnabled(false);
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer.Enabled(); }, 5000));
    QCoreApplication::processEvents(); // delivers a tick if one were still queued
    EXPECT_EQ(events, 1);
}
