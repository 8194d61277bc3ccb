#include "icons/FaviconCache.h"

#include "platform/sim/SimBackground.h"
#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

class FaviconCacheTest : public ::testing::Test {
  protected:
    void settle() {
        background.runAll();
        queue.runPending();
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimBackground background;
    std::map<std::string, std::string> icons;
    std::vector<std::string> searched;
    FaviconCache cache{queue, background, [this](const std::string& host) -> std::optional<std::string> {
                           searched.push_back(host);
                           const auto found = icons.find(host);
                           if (found == icons.end()) return std::nullopt;
                           return found->second;
                       }};
};

TEST_F(FaviconCacheTest, OneSearchPerHostWhileRunningAndAfterSuccess) {
    icons["a.org"] = "A";
    std::vector<std::string> arrived;
    cache.addListener([&](const std::string& host) { arrived.push_back(host); });
    cache.prefetch("a.org");
    cache.prefetch("a.org");
    EXPECT_EQ(background.pendingCount(), 1u);
    EXPECT_EQ(cache.image("a.org"), nullptr);
    settle();
    ASSERT_NE(cache.image("a.org"), nullptr);
    EXPECT_EQ(*cache.image("a.org"), "A");
    cache.prefetch("a.org");
    settle();
    EXPECT_EQ(searched, std::vector<std::string>{"a.org"});
    EXPECT_EQ(arrived, std::vector<std::string>{"a.org"});
}

TEST_F(FaviconCacheTest, FailedHostWaitsTenMinutesOnTheMonotonicClock) {
    cache.prefetch("down.org");
    settle();
    const struct {
        double advance;
        std::size_t searches;
    } steps[] = {{599, 1}, {0.999, 1}, {0.001, 2}};
    for (const auto& step : steps) {
        queue.advance(step.advance);
        cache.prefetch("down.org");
        settle();
        EXPECT_EQ(searched.size(), step.searches) << queue.now();
    }
    // A later success clears the failure for good.
    icons["down.org"] = "D";
    queue.advance(600);
    cache.prefetch("down.org");
    settle();
    EXPECT_EQ(*cache.image("down.org"), "D");
}

TEST_F(FaviconCacheTest, HostStringsAreKeysAsGiven) {
    icons["Example.com"] = "upper";
    cache.prefetch("Example.com");
    cache.prefetch("example.com");
    settle();
    EXPECT_EQ(searched, (std::vector<std::string>{"Example.com", "example.com"}));
    EXPECT_NE(cache.image("Example.com"), nullptr);
    EXPECT_EQ(cache.image("example.com"), nullptr);
}

TEST_F(FaviconCacheTest, SearchFinishingAfterTheCacheIsGoneIsDropped) {
    platform::sim::SimMainQueue ownQueue;
    platform::sim::SimBackground ownBackground;
    {
        FaviconCache shortLived(ownQueue, ownBackground, [](const std::string&) { return std::string("x"); });
        shortLived.prefetch("a.org");
    }
    ownBackground.runAll();
    ownQueue.runPending();
    EXPECT_EQ(ownQueue.pendingCount(), 0u);
}

} // namespace
} // namespace rondelix
