#include "app/ui/SideWindow.h"
#include "icons/ui/SymbolGridPicker.h"
#include "platform/linux/DesktopApplication.h"
#include "settings/ui/ChangelogSheet.h"

#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
// Last: Xlib's macros would rename what the headers above declare.
#include <X11/Xlib.h>

namespace rondelix {
namespace {

// The window manager hints a window carries: functions and decorations.
struct MotifHints {
    unsigned long flags = 0, functions = 0, decorations = 0;
};

std::optional<MotifHints> motifHints(const QWidget& window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    const Atom name = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<MotifHints> hints;
    if (XGetWindowProperty(display, window.winId(), name, 0, 5, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) == Success &&
        data && count >= 3) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        hints = MotifHints{values[0], values[1], values[2]};
    }
    if (data) XFree(data);
    XCloseDisplay(display);
    return hints;
}

// A window of fixed size offers neither minimise nor maximise: the window
// manager is told which functions and buttons it has.
TEST(FixedWindowHints, FixedSizeWindowsAskForNoMinimiseOrMaximise) {
    if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
    constexpr unsigned long functionsGiven = 1, decorationsGiven = 2;
    constexpr unsigned long functionAll = 1, functionMinimise = 8, functionMaximise = 16, functionClose = 32;
    constexpr unsigned long decorationAll = 1, decorationMinimise = 32, decorationMaximise = 64;
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"side window",
         [] { return std::make_unique<SideWindow>("Settings", GlassBackdrop::Environment{}); }},
        {"changelog", [] { return std::make_unique<ChangelogSheet>(nullptr); }},
        {"symbols", [] { return std::make_unique<SymbolGridPicker>([](const std::string&) {}, nullptr); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        const auto window = make();
        window->show();
        QCoreApplication::processEvents();
        const auto hints = motifHints(*window);
        ASSERT_TRUE(hints);
        EXPECT_TRUE(hints->flags & functionsGiven);
        EXPECT_TRUE(hints->flags & decorationsGiven);
        EXPECT_FALSE(hints->functions & (functionAll | functionMinimise | functionMaximise))
            << hints->functions;
        EXPECT_TRUE(hints->functions & functionClose);
        EXPECT_FALSE(hints->decorations & (decorationAll | decorationMinimise | decorationMaximise))
            << hints->decorations;
    }
}

} // namespace
} // namespace rondelix
