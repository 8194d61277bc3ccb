// The inspector's two cards on My Wheels stay inside the window and clear of
// its scroll bar whatever slice they show: every slice of the factory wheels
// and of the gallery's, and slices with the longest names and titles the form
// shows, on a small and a large screen, with and without a window manager.
// The cards are found on the screen, as the user sees them.

#include "EndToEndRig.h"
#include "gallery/GalleryCatalogue.h"

namespace rondelix::e2e {
namespace {

struct Screen {
    QSize size;
    bool managed;
};

std::string screenName(const Screen& screen) {
    return std::to_string(screen.size.width()) + "x" + std::to_string(screen.size.height()) +
           (screen.managed ? "Managed" : "Bare");
}

// Installed in the test's home, it turns the automation field into a menu of
// names.
constexpr std::string_view longAutomation =
    "Turn Do Not Disturb On For The Rest Of The Afternoon While Presenting";

// Slices whose rows hold the longest texts: a long symbol name, both
// automation buttons, actions marked as missing here, an application known
// only by its identifier, every modifier with a long key, a long automation
// name; on a wheel bound to an application known only by its identifier.
Wheel longRows() {
    Wheel wheel;
    wheel.id = "long-rows";
    wheel.name = "Long Rows";
    wheel.appBundleIdentifier = "org.example.ApplicationWithAVeryLongIdentifierIndeed";
    KeyCombo everyModifier{105, true, true, true, true, true};
    const std::vector<std::pair<Icon, MacroAction>> rows{
        {Icon::SfSymbol{"chevron.left.forwardslash.chevron.right"}, MacroAction::Keystroke{{1, true}}},
        {Icon{}, MacroAction::Shortcut{"Toggle Focus"}},
        {Icon{}, MacroAction::SystemAction{"toggle-dock-magnification"}},
        {Icon{}, MacroAction::App{"org.example.ApplicationWithAVeryLongIdentifierIndeed", std::nullopt}},
        {Icon{}, MacroAction::Keystroke{everyModifier}},
        {Icon{}, MacroAction::OpenSettings{"check-for-updates"}},
        {Icon{}, MacroAction::Shortcut{std::string(longAutomation)}},
    };
    for (std::size_t i = 0; i < rows.size(); ++i)
        wheel.slices.push_back(
            Slice{Uuid::generate(), static_cast<int>(i), "Long", rows[i].first, rows[i].second});
    return wheel;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <=
           12;
}

// What is wrong with the cards in a grab of the inspector, the last 450
// points of the window: each card's right edge must lie 8 pixels or more
// inside the window, with the window's own colour beside it, where a card
// that runs on is cut by the window's edge or by the scroll bar.
std::vector<std::string> cardFaults(const QImage& inspector) {
    const int left = 24; // inside the cards' padding, where nothing is drawn
    const QColor window = inspector.pixelColor(4, 4);
    std::vector<std::string> faults;
    int cards = 0;
    for (int y = 0; y < inspector.height(); ++y) {
        const QColor card = inspector.pixelColor(left, y);
        if (near(card, window)) continue;
        int bottom = y;
        while (bottom + 1 < inspector.height() && inspector.pixelColor(left, bottom + 1) == card)
            ++bottom;
        if (bottom - y < 40) {
            y = bottom;
            continue;
        }
        ++cards;
        // Below the rounded corner, in the padding above the card's title.
        const int row = y + 16;
        int right = left;
        while (right + 1 < inspector.width() && inspector.pixelColor(right + 1, row) == card)
            ++right;
        const int inset = inspector.width() - 1 - (right + 1);
        bool clear = true;
        for (int x = right + 3; clear && x < right + 10 && x < inspector.width(); ++x)
            clear = near(inspector.pixelColor(x, row), window);
        const std::string which = "card " + std::to_string(cards);
        if (inset < 8)
            faults.push_back(which + " ends " + std::to_string(inset) + " px inside the window");
        else if (!clear)
            faults.push_back(which + " runs into the scroll bar");
        y = bottom;
    }
    if (cards < 2) faults.push_back(std::to_string(cards) + " cards found");
    return faults;
}

class InspectorFit : public EndToEnd, public ::testing::WithParamInterface<Screen> {};

TEST_P(InspectorFit, EverySliceShowsBothCardsWhole) {
    const Screen screen = GetParam();
    const PrivateDisplay display(home.path, screen.size);
    ASSERT_FALSE(display.name.empty()) << "no private X server: Xvfb did not start";
    std::optional<WindowManager> manager;
    if (screen.managed) {
        manager.emplace(display.name);
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    Config config = DefaultConfig::factoryConfig();
    for (GalleryWheel& gallery : GalleryCatalogue::build())
        config.wheels.push_back(std::move(gallery.wheel));
    config.wheels.push_back(longRows());
    config.lastUsedWheelId = "default";
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    const fs::path automation = home.configFolder() / "shortcuts" / longAutomation;
    writeFile(automation, "#!/bin/sh\n");
    fs::permissions(automation, fs::perms::owner_all);

    const std::string variant = screenName(screen);
    Program program(home.path, "inspector-" + variant, {}, display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    FramedWindow window{display, {}};
    ASSERT_TRUE(waitFor([&] { return window.find(); }, patience)) << program.log();
    if (screen.managed) {
        ASSERT_TRUE(window.settledFrame()) << "the window manager never framed the window";
    }
    const QRect content = window.content();
    const QRect inspector(content.right() - 449, content.top(), 450, content.height());

    // Runs xdotool and waits until the inspector has changed and then shows
    // the same in three grabs running and for a twelfth of a second, as it
    // draws a new slice in a few flushes a frame or so apart; false when it
    // never changed. Every slot of every wheel takes a step, so the stillness
    // asked for is short.
    QImage shown;
    const auto step = [&](const std::string& arguments) {
        display.xdotool(arguments);
        QImage now;
        if (!waitFor([&] { return (now = display.grab(inspector)) != shown; }, patience)) return false;
        auto since = Clock::now();
        int same = 0;
        waitFor(
            [&] {
                QImage next = display.grab(inspector);
                same = next == now ? same + 1 : 0;
                if (same == 0) since = Clock::now();
                now = std::move(next);
                return same >= 3 && Clock::now() - since >= std::chrono::milliseconds(80);
            },
            patience);
        shown = now;
        return true;
    };
    // The wheel name field, in the first card, takes the keys; the preview
    // is the control before it.
    int field = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            shown = display.grab(inspector);
            for (int y = 0; y < shown.height() && !field; ++y)
                if (shown.pixelColor(225, y).lightness() >= 250) field = y + 68;
            return field > 0;
        },
        patience))
        << "no card";
    ASSERT_TRUE(step("mousemove " + pointText(inspector.topLeft() + QPoint(225, field)) + " click 1"));
    ASSERT_TRUE(step("key shift+Tab")) << "the name field never had the keys";

    std::vector<std::string> faults;
    for (std::size_t w = 0; w < config.wheels.size(); ++w) {
        const Wheel& wheel = config.wheels[w];
        if (w > 0) {
            ASSERT_TRUE(step("key shift+Tab Down Tab")) << "the editor never showed " << wheel.id;
        }
        for (int position = 0; position < wheel.sliceCount; ++position) {
            const auto found = cardFaults(shown);
            if (!found.empty() && faults.empty()) shown.save(artifact("inspector-" + variant + "-fault.png"));
            for (const std::string& fault : found)
                faults.push_back(wheel.id + " slot " + std::to_string(position) + ": " + fault);
            if (wheel.id == "long-rows")
                shown.save(artifact("inspector-" + variant + "-" + wheel.id + "-" + std::to_string(position) +
                                    ".png"));
            ASSERT_TRUE(step("key Right"))
                << "the editor never moved on from " << wheel.id << " slot " << position;
        }
    }
    display.grab().save(artifact("inspector-" + variant + ".png"));
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
    EXPECT_EQ(program.stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(Screens, InspectorFit,
                         ::testing::Values(Screen{{1280, 800}, false}, Screen{{1280, 800}, true},
                                           Screen{{1600, 1000}, false}, Screen{{1600, 1000}, true}),
                         [](const auto& info) { return screenName(info.param); });

} // namespace
} // namespace rondelix::e2e
