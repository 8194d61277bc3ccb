// The desktop switching from light to dark while the program runs, told by a
// stand-in settings portal: the main window's page and the summoned wheel
// follow, the wheel's rim turning from dark stops to light ones.

#include "EndToEndRig.h"
#include "platform/linux/PortalStandIn.h"

#include <cmath>
#include <iostream>
#include <numbers>

namespace rondelix {
namespace {

using namespace e2e;

double meanLightness(const QImage& image, const QRect& box) {
    double sum = 0;
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); y += 3)
        for (int x = box.left(); x <= box.right(); x += 3, ++count)
            sum += image.pixelColor(x, y).lightnessF() * 255;
    return count ? sum / count : 0;
}

// The wheel of this radius around its centre: how light its slots are, and
// how much lighter its rim is than the slot just inside it, up and to the
// right where the rim's stops are strongest (negative where the rim is
// darker). Only pixels inside the disc count: the desktop beyond its edge is
// neither rim nor slot.
struct WheelLook {
    double slotLightness = 0;
    double rimLift = 0;
};

WheelLook wheelLook(const QImage& screen, QPoint centre, double radius) {
    WheelLook look;
    double sum = 0;
    int count = 0;
    // Between the hub and the icons, and between the icons and the rim.
    for (const double ring : {70.0, 140.0})
        for (int step = 0; step < 48; ++step, ++count) {
            const double angle = step * 2 * std::numbers::pi / 48 + 0.03;
            sum +=
                screen.pixelColor(centre + QPoint(int(ring * std::cos(angle)), int(ring * std::sin(angle))))
                    .lightnessF() *
                255;
        }
    look.slotLightness = sum / count;
    const auto at = [&](double radius) {
        const double angle = -std::numbers::pi / 4;
        return screen
                   .pixelColor(centre + QPoint(int(std::lround(radius * std::cos(angle))),
                                               int(std::lround(radius * std::sin(angle)))))
                   .lightnessF() *
               255;
    };
    const double inside = at(radius - 10);
    for (double r = radius - 5; r <= radius - 1.5; r += 0.5)
        if (std::abs(at(r) - inside) > std::abs(look.rimLift)) look.rimLift = at(r) - inside;
    return look;
}

TEST_F(EndToEnd, TheWindowsAndTheWheelTurnDarkWhenTheDesktopDoes) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.freedesktop.appearance"] = {{"color-scheme", 2u}};
    ASSERT_TRUE(portal.start());
    Program program(home.path, "dark-desktop");
    ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, patience)) << program.log();
    std::string window;
    ASSERT_TRUE(waitServing([&] { return !(window = mainWindowId()).empty(); }, patience)) << program.log();
    const QPoint pointer(800, 520);

    // The page as it shows once `drawn` holds of it; the wheel once it has
    // opened whole and come to rest.
    const auto look = [&](const std::string& name, const std::function<bool(double)>& drawn) {
        QImage page;
        waitServing([&] { return drawn(meanLightness(page = grabWindow(window), page.rect())); }, patience);
        page.save(artifact("dark-desktop-" + name + "-main.png"));
        const QRect wheel = summonAt(pointer, "dark-desktop-" + name + "-wheel.png");
        EXPECT_GE(wheel.width(), 300) << program.log();
        const WheelLook shown = wheelLook(grabScreen(), wheel.center(), wheel.width() / 2.0);
        xdotool("key Escape");
        release();
        EXPECT_TRUE(wheelGone(pointer));
        return std::pair{meanLightness(page, page.rect()), shown};
    };

    const auto [lightPage, lightWheel] = look("light", [](double lightness) { return lightness > 170; });
    portal.change("org.freedesktop.appearance", "color-scheme", 1u);
    EXPECT_TRUE(waitServing([&] { return meanLightness(grabWindow(window), grabWindow(window).rect()) < 90; },
                            patience))
        << "the main window stayed light";
    const auto [darkPage, darkWheel] = look("dark", [](double lightness) { return lightness < 90; });
    std::cout << "[ measured ] page lightness " << lightPage << " light, " << darkPage
              << " dark; wheel slots " << lightWheel.slotLightness << " light, " << darkWheel.slotLightness
              << " dark; rim against the slot inside " << lightWheel.rimLift << " light, "
              << darkWheel.rimLift << " dark\n";
    EXPECT_GT(lightPage, 170);
    EXPECT_LT(darkPage, 90);
    EXPECT_GT(lightWheel.slotLightness, 150);
    EXPECT_LT(darkWheel.slotLightness, 100);
    // Black stops drawn normally darken the rim; white ones blended as an
    // overlay lighten it.
    EXPECT_LT(lightWheel.rimLift, -10);
    EXPECT_GT(darkWheel.rimLift, 10);
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
