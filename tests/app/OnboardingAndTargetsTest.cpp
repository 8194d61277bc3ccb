#include "app/SummonKeyNames.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "platform/sim/SimUserDefaults.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace rondelix {
namespace {

TEST(UserDefaults, TypedReadsTolerateOtherShapes) {
    platform::sim::SimUserDefaults defaults;
    defaults.store("n", 1);
    defaults.store("d", 2.9);
    defaults.store("big", 1e12);
    defaults.store("s", "text");
    defaults.store("huge", std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(defaults.get(platform::DefaultsKey<int>{"huge"}), 0);
    EXPECT_TRUE(defaults.get(platform::DefaultsKey<bool>{"n"}));
    EXPECT_EQ(defaults.get(platform::DefaultsKey<int>{"d"}), 2);
    EXPECT_EQ(defaults.get(platform::DefaultsKey<int>{"big"}), 0);
    EXPECT_FALSE(defaults.get(platform::DefaultsKey<bool>{"s"}));
    EXPECT_EQ(defaults.get(platform::DefaultsKey<int>{"s"}), 0);
    EXPECT_FALSE(defaults.get(platform::DefaultsKey<std::string>{"n"}));
}

class SummonKeyNamesTest : public ::testing::Test {
  protected:
    static SummonBinding binding(std::vector<int> keys, bool enabled = true) {
        SummonBinding b;
        b.keyCodes = std::move(keys);
        b.enabled = enabled;
        return b;
    }
    platform::sim::SimKeyboardLayout layout;
};

TEST_F(SummonKeyNamesTest, NamesEnabledBindingsElseTheFirstElseLeftAlt) {
    EXPECT_EQ(summonKeyNames({binding({58, 55}), binding({61}, false), binding({79})}, layout),
              (std::vector<std::string>{"Left Alt + Left Super", "F18"}));
    EXPECT_EQ(summonKeyNames({binding({61}, false), binding({58}, false)}, layout),
              (std::vector<std::string>{"Right Alt"}));
    EXPECT_EQ(summonKeyNames({}, layout), (std::vector<std::string>{"Left Alt"}));
    EXPECT_EQ(summonKeyNames({binding({}, false), binding({58}, false)}, layout),
              (std::vector<std::string>{"Left Alt"}));
    EXPECT_EQ(summonKeyNames({binding({79}), binding({79})}, layout),
              (std::vector<std::string>{"F18", "F18"}));
    // Keys no hands hold at once never summon, so the guides do not name them.
    EXPECT_EQ(summonKeyNames({binding({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11}), binding({79})}, layout),
              (std::vector<std::string>{"F18"}));
}

TEST_F(SummonKeyNamesTest, PhraseJoinsWithOrAndASerialComma) {
    EXPECT_EQ(summonKeysPhrase({"F18"}), "F18");
    EXPECT_EQ(summonKeysPhrase({"Right Command", "F18"}), "Right Command or F18");
    EXPECT_EQ(summonKeysPhrase({"Right Command", "F18", "Mouse 4"}), "Right Command, F18, or Mouse 4");
}

} // namespace
} // namespace rondelix
