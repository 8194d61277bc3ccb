#include "editor/WheelGate.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

TEST(WheelGate, EachMilestoneHasItsTitleAndButton) {
    struct Row {
        int count;
        const char* title;
        const char* confirm;
        const char* messageStart;
    };
    const std::vector<Row> rows{
        {10, "That's a lot of wheels", "Add Wheel",
         "You have 10 wheels, the most that get a number-key jump (1\u20139"},
        {20, "Twenty wheels. Respect.", "More wheels!", "We didn't really plan for 20."},
        {30, "Thirty. Okay then.", "I'm sure", "This is less 'radial menu'"},
        {37, "37: the 'random' number", "Predictably, yes", "Funny: 37 is the number"},
        {42, "42.", "Don't panic", "Famously the answer"},
        {50, "Fifty. Half a hundred.", "Quantity it is", "A genuine commitment."},
        {67, "Sixty\u2026 seven.", "6-7", "6-7. You know what you did. Add a 68th?"},
        {69, "Nice.", "Worth it", "69 wheels. Nice. Add a 70th and ruin it?"},
        {75, "Seventy-five. We're concerned.", "Continue anyway", "This stopped being convenient"},
    };
    for (const Row& row : rows) {
        const auto gate = wheelGate(row.count);
        ASSERT_TRUE(gate) << row.count;
        EXPECT_EQ(gate->title, row.title);
        EXPECT_EQ(gate->confirm, row.confirm);
        EXPECT_EQ(gate->message.rfind(row.messageStart, 0), 0u) << gate->message;
    }
    EXPECT_EQ(
        wheelGate(10)->message,
        "You have 10 wheels, the most that get a number-key jump (1\u20139, then 0). Past here, new wheels "
        "only switch via Tab or scroll, and the radial speed starts to dilute. Add an 11th?");
}

TEST(WheelGate, OtherCountsPassWithoutOne) {
    std::vector<int> counts{0, 1, 9, 99, 100, 101, 255, 256, 1000};
    for (int c = 11; c <= 19; ++c)
        counts.push_back(c);
    for (int count : counts)
        EXPECT_FALSE(wheelGate(count)) << count;
}

TEST(WheelGate, CenturyAndFarewellSequencesInOrder) {
    const auto& century = centuryConfirmations();
    EXPECT_EQ(
        century[0],
        (WheelGate{"99 wheels.", "You're one away from the century. Are you absolutely sure?", "I'm sure"}));
    EXPECT_EQ(century[1].confirm, "Yes, really");
    EXPECT_EQ(century[2],
              (WheelGate{"Final answer?",
                         "One more click and you join the 100 Wheel Club. There are no other members.",
                         "Make it 100"}));
    std::vector<std::string> titles, buttons;
    for (const auto& alert : farewellAlerts()) {
        titles.push_back(alert.title);
        buttons.push_back(alert.confirm);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Error 0xWHEEL", "WheelManager not responding",
                                                "kernel_panic_averted", "Cleanup required", "Goodbye"}));
    EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "Sure", "Fine", "Whatever", "Goodbye"}));
    EXPECT_EQ(farewellAlerts()[3].message, "Reticulating wheels\u2026 preparing to remove the clutter.");
}

} // namespace
} // namespace rondelix
