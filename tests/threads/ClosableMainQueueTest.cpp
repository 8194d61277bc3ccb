#include "platform/linux/process/ClosableMainQueue.h"

#include "platform/linux/BlockingMainQueue.h"
#include "threads/Gate.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <thread>

namespace rondelix::platform::linux_desktop {
namespace {

// Once closed, a step posted is dropped and let go of at once, and the clock
// reads as if every time limit were up, so that work outliving its giver
// stops waiting.
TEST(ClosableMainQueueTest, AfterClosingAPostIsDroppedAndTheClockReadsEveryLimitUp) {
    BlockingMainQueue main;
    ClosableMainQueue queue(main);
    bool ran = false;
    queue.post([&ran] { ran = true; });
    ASSERT_TRUE(main.runNext(0));
    EXPECT_TRUE(ran);
    EXPECT_EQ(queue.now(), 0.0);

    queue.close();
    auto held = std::make_shared<int>(1);
    const std::weak_ptr<int> watched = held;
    queue.post([held = std::move(held)] { ADD_FAILURE() << "ran after the queue closed"; });
    EXPECT_TRUE(watched.expired());
    EXPECT_FALSE(main.runNext(0));
    EXPECT_EQ(queue.now(), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(queue.after(1, [] { ADD_FAILURE() << "ran after the queue closed"; }).isCancelled());
}

// A main queue that takes a while over each post and is gone once the queue
// in front of it has closed: a post that reaches it then would reach freed
// memory in the program.
class SlowMainQueue final : public MainQueue {
  public:
    void post(std::function<void()>) override {
        posting.open();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (gone) reachedOnceGone = true;
        ++posts;
    }
    Cancel after(double, std::function<void()>) override { return {}; }
    double now() const override { return 0.0; }

    threads::Gate posting;
    std::atomic<bool> gone = false;
    std::atomic<bool> reachedOnceGone = false;
    std::atomic<int> posts = 0;
};

// A post racing the close on another thread ends before the close returns,
// after which the main queue may go.
TEST(ClosableMainQueueTest, APostUnderWayOnAnotherThreadEndsBeforeTheCloseReturns) {
    SlowMainQueue main;
    ClosableMainQueue queue(main);
    std::thread poster([&queue] { queue.post([] {}); });
    main.posting.wait();
    queue.close();
    main.gone = true;
    queue.post([] {});
    poster.join();
    EXPECT_FALSE(main.reachedOnceGone);
    EXPECT_EQ(main.posts, 1);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
