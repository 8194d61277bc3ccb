// The desktop's appearance settings read the ways desktops publish them: a
// stand-in settings portal on a private session bus, a kdeglobals file, and
// a stand-in settings daemon owning the X settings selection.

#include "platform/linux/desktop/LinuxDesktopAppearance.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/PortalStandIn.h"
#include "platform/linux/PrivateSessionBus.h"
#include "platform/linux/x11/XSettings.h"
#include "platform/sim/SimLog.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {
namespace {

using Settings = AppearanceSettings;

class LinuxDesktopAppearanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
        ASSERT_TRUE(bus.up());
    }
    void TearDown() override {
        appearance.reset();
        QDBusConnection::disconnectFromBus("program");
    }
    void open(const std::string& desktop) {
        appearance = std::make_unique<LinuxDesktopAppearance>(
            log, LinuxDesktopAppearance::Sources{QDBusConnection::connectToBus(bus.address, "program"),
                                                 desktop, kdeGlobals});
        appearance->changed.connect([this] { ++notices; });
    }
    bool reads(const Settings& expected) {
        return testing::untilWithEvents([&] { return appearance->settings() == expected; });
    }
    // KDE writes the file anew and renames it over the old one.
    void writeKdeGlobals(const std::string& text) {
        std::ofstream(kdeGlobals.string() + ".new") << text;
        std::filesystem::rename(kdeGlobals.string() + ".new", kdeGlobals);
    }

    testing::PrivateSessionBus bus;
    QTemporaryDir config;
    std::filesystem::path kdeGlobals = config.filePath("kdeglobals").toStdString();
    sim::SimLog log;
    std::unique_ptr<LinuxDesktopAppearance> appearance;
    int notices = 0;
};

TEST_F(LinuxDesktopAppearanceTest, FollowsThePortalAndTellsOnlyOfRealChanges) {
    testing::PortalStandIn portal(bus.address);
    portal.values["org.freedesktop.appearance"] = {{"color-scheme", 1u}, {"contrast", 1u}};
    portal.values["org.gnome.desktop.interface"] = {{"enable-animations", false}};
    ASSERT_TRUE(portal.start());
    open("GNOME");
    ASSERT_TRUE(reads({ColorScheme::dark, true, true}));

    const int before = notices;
    portal.change("org.freedesktop.appearance", "color-scheme", 2u);
    ASSERT_TRUE(reads({ColorScheme::light, true, true}));
    portal.change("org.gnome.desktop.interface", "gtk-theme", QString("Adwaita")); // not one of ours
    portal.change("org.gnome.desktop.interface", "enable-animations", true);
    ASSERT_TRUE(reads({ColorScheme::light, false, true}));
    EXPECT_EQ(notices - before, 2);
}

TEST_F(LinuxDesktopAppearanceTest, KdeGlobalsSpeaksWhereThePortalHasNoPreferenceAndIsFollowed) {
    writeKdeGlobals("[Colors:Window]\nBackgroundNormal=32,35,38\n[KDE]\nAnimationDurationFactor=0\n");
    testing::PortalStandIn portal(bus.address);
    portal.values["org.freedesktop.appearance"] = {{"color-scheme", 0u}};
    ASSERT_TRUE(portal.start());
    open("KDE");
    ASSERT_TRUE(reads({ColorScheme::dark, true, false}));

    writeKdeGlobals("[General]\nColorScheme=BreezeLight\n[KDE]\nAnimationDurationFactor=0.5\n");
    ASSERT_TRUE(reads({ColorScheme::light, false, false}));
    // The portal's own answer wins once it has one.
    portal.change("org.freedesktop.appearance", "color-scheme", 1u);
    ASSERT_TRUE(reads({ColorScheme::dark, false, false}));
}

TEST_F(LinuxDesktopAppearanceTest, KdeGlobalsCountsOnlyOnKdeAndNothingReadsAsOff) {
    writeKdeGlobals("[General]\nColorScheme=BreezeDark\n");
    open("XFCE");
    ASSERT_TRUE(testing::untilWithEvents([&] { return !log.lines().empty(); }))
        << "the missing portal is said";
    EXPECT_EQ(appearance->settings(), Settings{});
    EXPECT_EQ(notices, 0);
}

// A settings daemon on a connection of its own, as Xfce's, MATE's and
// GNOME's publish the GTK theme to X programs.
class SettingsDaemonStandIn {
  public:
    SettingsDaemonStandIn() : connection_(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        selection_ = atom("_XSETTINGS_S0");
        settings_ = atom("_XSETTINGS_SETTINGS");
    }
    ~SettingsDaemonStandIn() { xcb_disconnect(connection_); }

    void publish(const std::vector<std::uint8_t>& property) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, settings_, settings_, 8,
                            static_cast<std::uint32_t>(property.size()), property.data());
        if (!owning_) {
            xcb_set_selection_owner(connection_, window_, selection_, XCB_CURRENT_TIME);
            xcb_client_message_event_t manager{};
            manager.response_type = XCB_CLIENT_MESSAGE;
            manager.format = 32;
            manager.window = root_;
            manager.type = atom("MANAGER");
            manager.data.data32[0] = XCB_CURRENT_TIME;
            manager.data.data32[1] = selection_;
            manager.data.data32[2] = window_;
            xcb_send_event(connection_, 0, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                           reinterpret_cast<const char*>(&manager));
            owning_ = true;
        }
        xcb_flush(connection_);
    }
    void quit() {
        xcb_destroy_window(connection_, window_);
        xcb_flush(connection_);
    }

  private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t result = reply->atom;
        std::free(reply);
        return result;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0, window_ = 0;
    xcb_atom_t selection_ = 0, settings_ = 0;
    bool owning_ = false;
};

// The property's layout, least significant byte first.
std::vector<std::uint8_t> xsettingsProperty(const std::string& theme, std::int32_t animations) {
    std::vector<std::uint8_t> bytes = {0, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0};
    const auto add32 = [&](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    };
    const auto addText = [&](const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.resize(bytes.size() + (4 - text.size() % 4) % 4);
    };
    const auto header = [&](std::uint8_t type, const std::string& name) {
        bytes.insert(bytes.end(), {type, 0, static_cast<std::uint8_t>(name.size()), 0});
        addText(name);
        add32(0);
    };
    header(2, "Gtk/Color"); // a colour, skipped
    bytes.resize(bytes.size() + 8);
    header(1, "Net/ThemeName");
    add32(static_cast<std::uint32_t>(theme.size()));
    addText(theme);
    header(0, "Gtk/EnableAnimations");
    add32(static_cast<std::uint32_t>(animations));
    return bytes;
}

TEST_F(LinuxDesktopAppearanceTest, FollowsTheSettingsDaemonFromItsStartToItsEnd) {
    open("XFCE");
    SettingsDaemonStandIn daemon;
    daemon.publish(xsettingsProperty("Greybird-dark", 0));
    ASSERT_TRUE(reads({ColorScheme::dark, true, false}));
    daemon.publish(xsettingsProperty("HighContrast", 1));
    ASSERT_TRUE(reads({ColorScheme::light, false, true}));
    daemon.quit();
    ASSERT_TRUE(reads({}));
}

TEST(XSettingsTest, ADamagedPropertyKeepsWhatCameBeforeTheDamage) {
    const auto whole = xsettingsProperty("Adwaita-dark", 0);
    const XSettings all = decodedXSettings(whole);
    EXPECT_EQ(all, (XSettings{{"Net/ThemeName", "Adwaita-dark"}, {"Gtk/EnableAnimations", 0}}));
    // Cut inside the last setting, inside the theme's name, inside the header.
    EXPECT_EQ(decodedXSettings(std::span(whole).first(whole.size() - 2)),
              (XSettings{{"Net/ThemeName", "Adwaita-dark"}}));
    EXPECT_EQ(decodedXSettings(std::span(whole).first(whole.size() - 40)), XSettings{});
    EXPECT_EQ(decodedXSettings(std::span(whole).first(5)), XSettings{});
    auto huge = whole;
    huge[8] = 0xff; // claims far more settings than it holds
    EXPECT_EQ(decodedXSettings(huge), all);
}

TEST(AppearanceReadingTest, ThemeNamesAndKdeGlobalsTellTheirSettings) {
    struct Case {
        const char* name;
        AppearanceReading reading;
        AppearanceReading expected;
    };
    const Case cases[] = {
        {"stock MATE dark", readingOfThemeName("BlackMATE"), {ColorScheme::dark, {}, false}},
        {"inverse contrast", readingOfThemeName("HighContrastInverse"), {ColorScheme::dark, {}, true}},
        {"plain", readingOfThemeName(" Menta "), {ColorScheme::light, {}, false}},
        {"no name", readingOfThemeName(""), {}},
        {"flags on a key", readingOfKdeGlobals("[KDE]\nAnimationDurationFactor[$e]=0\n"), {{}, true, {}}},
        {"colours beat the name",
         readingOfKdeGlobals(
             "[General]\nColorScheme=BreezeDark\n[Colors:Window]\nBackgroundNormal=239,240,241\n"),
         {ColorScheme::light, {}, {}}},
        {"bad colour, name used",
         readingOfKdeGlobals(
             "[Colors:Window]\nBackgroundNormal=300,0,0\n[General]\nColorScheme=BreezeDark\n"),
         {ColorScheme::dark, {}, {}}},
        {"key of another group", readingOfKdeGlobals("[General]\nAnimationDurationFactor=0\n"), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.reading.colorScheme, c.expected.colorScheme) << c.name;
        EXPECT_EQ(c.reading.reduceMotion, c.expected.reduceMotion) << c.name;
        EXPECT_EQ(c.reading.highContrast, c.expected.highContrast) << c.name;
    }
}

} // namespace
} // namespace rondelix::platform::linux_desktop
