#include "platform/linux/x11/XkbKeyboardLayout.h"

#include "model/SummonKey.h"
#include "platform/linux/DesktopApplication.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rondelix::platform::linux_desktop {
namespace {

class RecordingLog final : public Log {
  public:
    void write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

// The X server the test script starts has the default US keymap.
TEST(XkbKeyboardLayoutTest, ReadsWhatKeysTypeOnTheServersLayout) {
    ASSERT_TRUE(rondelix::testing::desktopApplication());
    RecordingLog log;
    const XkbKeyboardLayout layout(log);

    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(layout.typedText(0), "a");
    EXPECT_EQ(layout.typedText(1), "s");
    EXPECT_EQ(layout.typedText(12), "q");
    EXPECT_EQ(layout.typedText(29), "0");
    EXPECT_EQ(layout.typedText(24), "=");
    EXPECT_EQ(layout.typedText(50), "`");
    EXPECT_EQ(layout.typedText(49), " ");
    EXPECT_EQ(layout.typedText(56), std::nullopt); // Shift types nothing
    EXPECT_EQ(layout.typedText(63), std::nullopt); // no Fn key on a PC keyboard
    EXPECT_EQ(layout.typedText(-1), std::nullopt);
    EXPECT_EQ(layout.typedText(128), std::nullopt);

    EXPECT_EQ(SummonKey::name(0, layout), "A");
    EXPECT_EQ(SummonKey::name(42, layout), "\\");
    EXPECT_EQ(SummonKey::name(36, layout), "Enter");
    EXPECT_EQ(SummonKey::comboName({59, 1}, layout), "Left Ctrl + S");
}

TEST(XkbKeyboardLayoutTest, WithoutAnX11ApplicationNoKeyTypesAnythingAndThatIsLoggedOnce) {
    RecordingLog log;
    const XkbKeyboardLayout layout(log);
    EXPECT_EQ(layout.typedText(0), std::nullopt);
    EXPECT_EQ(layout.typedText(1), std::nullopt);
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(SummonKey::name(0, layout), "Key 0");
}

} // namespace
} // namespace rondelix::platform::linux_desktop
