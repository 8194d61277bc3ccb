#include "platform/linux/process/DetachingBackground.h"

#include "platform/HostResolver.h"
#include "threads/Gate.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>

namespace rondelix::platform::linux_desktop {
namespace {

using Clock = std::chrono::steady_clock;

// A name server that answers only when the test lets it: never, unless told.
class SilentResolver final : public HostResolver {
  public:
    std::vector<std::string> addresses(const std::string&) override {
        asked.open();
        answering.wait();
        return {"93.184.216.34"};
    }
    std::vector<std::string> ownAddresses() override { return {}; }

    threads::Gate asked, answering;
};

struct Outcome {
    std::atomic<bool> finished = false;
    std::atomic<bool> queuedRan = false;
};

TEST(DetachingBackgroundTest, aQuitWaitsBrieflyForASearchThatNeverHearsBackThenLeavesIt) {
    auto resolver = std::make_shared<SilentResolver>();
    auto outcome = std::make_shared<Outcome>();
    auto pool = std::make_unique<DetachingBackground>(1);
    pool->run([resolver, outcome] {
        resolver->addresses("example.com");
        outcome->finished = true;
    });
    pool->run([outcome] { outcome->queuedRan = true; });
    resolver->asked.wait();

    const auto start = Clock::now();
    pool.reset();
    const auto waited = std::chrono::duration<double>(Clock::now() - start).count();
    // The time is what is tested: about a second, and not for ever. A busy
    // machine only wakes the quit late, so the upper bound is loose.
    EXPECT_GE(waited, 0.9);
    EXPECT_LT(waited, 5);
    EXPECT_FALSE(outcome->finished);

    // The search left behind still has all it uses once it hears back, and
    // lets it go when it ends; the work that never started stays undone.
    const std::weak_ptr<SilentResolver> watched = resolver;
    resolver->answering.open();
    resolver.reset();
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (!watched.expired() && Clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_TRUE(watched.expired());
    EXPECT_TRUE(outcome->finished);
    EXPECT_FALSE(outcome->queuedRan);
}

// The threads this process runs now.
int threadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("Threads:")) return std::stoi(line.substr(8));
    return -1;
}

// Without a limit, every piece of work starts at once however long the
// others keep waiting, as the website icon searches do; once they end no
// thread of the pool is left behind, and a quit while they all wait leaves
// them after its while.
TEST(DetachingBackgroundTest, WithoutALimitNoWorkWaitsForAnotherAndNoThreadOutlivesTheWork) {
    constexpr int pieces = 24;
    const int threadsBefore = threadCount();
    auto pool = std::make_unique<DetachingBackground>(DetachingBackground::unlimited, 0.05);
    // Hands over the pieces, each waiting for the gate answered.
    const auto startAll = [&pool] {
        auto release = std::make_shared<threads::Gate>(), allStarted = std::make_shared<threads::Gate>();
        auto started = std::make_shared<std::atomic<int>>(0);
        for (int piece = 0; piece < pieces; ++piece)
            pool->run([release, allStarted, started] {
                if (++*started == pieces) allStarted->open();
                release->wait();
            });
        EXPECT_TRUE(allStarted->waitFor(std::chrono::seconds(30))) << *started << " started";
        return release;
    };
    const auto threadsLeftGo = [threadsBefore] {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (threadCount() > threadsBefore && Clock::now() < deadline)
            std::this_thread::yield();
        return threadCount() <= threadsBefore;
    };
    startAll()->open();
    EXPECT_TRUE(threadsLeftGo());
    const auto release = startAll();
    pool.reset();
    release->open();
    EXPECT_TRUE(threadsLeftGo());
}

// Work that never started is dropped by the quit, and all it holds with it,
// even while a thread left behind keeps the pool's own state alive.
TEST(DetachingBackgroundTest, AQuitLetsGoOfWhatWorkNotYetStartedHolds) {
    auto busy = std::make_shared<threads::Gate>(), running = std::make_shared<threads::Gate>();
    auto pool = std::make_unique<DetachingBackground>(1, 0.05);
    pool->run([busy, running] {
        running->open();
        busy->wait();
    });
    running->wait();
    auto held = std::make_shared<int>(1);
    const std::weak_ptr<int> watched = held;
    pool->run([held = std::move(held)] {});
    pool.reset();
    EXPECT_TRUE(watched.expired());
    busy->open();
}

// What a piece of work holds is let go outside the pool's lock, so that more
// work can be handed over meanwhile, and before a quit that waits for the
// work hears it ended, however long that takes.
TEST(DetachingBackgroundTest, WhatAPieceOfWorkHoldsIsLetGoFreelyBeforeAQuitHearsItEnded) {
    threads::Gate running, finish, lettingGo, handedMore;
    std::atomic<bool> handedMoreMeanwhile = false, letGo = false;
    struct LetsGoSlowly {
        threads::Gate &lettingGo, &handedMore;
        std::atomic<bool>&handedMoreMeanwhile, &letGo;
        ~LetsGoSlowly() {
            lettingGo.open();
            handedMoreMeanwhile = handedMore.waitFor(std::chrono::seconds(2));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            letGo = true;
        }
    };
    auto pool = std::make_unique<DetachingBackground>(1, 5.0);
    std::shared_ptr<LetsGoSlowly> held(new LetsGoSlowly{lettingGo, handedMore, handedMoreMeanwhile, letGo});
    pool->run([held = std::move(held), &running, &finish] {
        running.open();
        finish.wait();
    });
    running.wait();
    finish.open();
    lettingGo.wait();
    pool->run([] {});
    handedMore.open();
    pool.reset();
    EXPECT_TRUE(handedMoreMeanwhile);
    EXPECT_TRUE(letGo);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
