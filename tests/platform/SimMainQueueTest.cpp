#include "platform/sim/SimMainQueue.h"

#include "util/Signal.h"

#include <gtest/gtest.h>
#include <string>

using rondelix::ScopedConnection;
using rondelix::Signal;
using rondelix::platform::sim::SimMainQueue;

TEST(SimMainQueue, RunsDueWorkInTimeOrderAtItsOwnTime) {
    SimMainQueue queue;
    std::string order;
    std::vector<double> times;
    queue.after(0.5, [&] {
        order += 'b';
        times.push_back(queue.now());
    });
    queue.after(0.2, [&] {
        order += 'a';
        times.push_back(queue.now());
    });
    queue.post([&] { order += 'p'; });
    queue.after(0.5, [&] { order += 'c'; });
    queue.advance(0.3);
    EXPECT_EQ(order, "pa");
    queue.advance(0.3);
    EXPECT_EQ(order, "pabc");
    EXPECT_DOUBLE_EQ(times[0], 0.2);
    EXPECT_DOUBLE_EQ(times[1], 0.5);
    EXPECT_DOUBLE_EQ(queue.now(), 0.6);
}

TEST(SimMainQueue, CancelledStepsNeverRunAndWorkMayScheduleWork) {
    SimMainQueue queue;
    int runs = 0;
    auto handle = queue.after(1.0, [&] { ++runs; });
    auto copy = handle;
    copy.cancel();
    EXPECT_TRUE(handle.isCancelled());
    queue.after(0.1, [&] { queue.after(0.1, [&] { runs += 10; }); });
    queue.advance(2.0);
    EXPECT_EQ(runs, 10);
    EXPECT_EQ(queue.pendingCount(), 0u);
}

TEST(Signal, DisconnectDuringEmitSkipsTheRemovedSlot) {
    Signal<int> signal;
    int sum = 0;
    Signal<int>::Connection second = 0;
    signal.connect([&](int v) {
        sum += v;
        signal.disconnect(second);
    });
    second = signal.connect([&](int v) { sum += 100 * v; });
    signal.emit(2);
    EXPECT_EQ(sum, 2);
    signal.emit(1);
    EXPECT_EQ(sum, 3);
    EXPECT_EQ(signal.size(), 1u);
}

TEST(Signal, ScopedConnectionEndsWhenItsLastHolderGoes) {
    Signal<int> signal;
    int sum = 0;
    {
        ScopedConnection kept;
        {
            ScopedConnection first = signal.connectScoped([&](int v) { sum += v; });
            kept = std::move(first);
        }
        signal.emit(1);
        kept = signal.connectScoped([&](int v) { sum += 10 * v; });
        signal.emit(1);
    }
    signal.emit(1);
    EXPECT_EQ(sum, 11);
    EXPECT_EQ(signal.size(), 0u);
}
