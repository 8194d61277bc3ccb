// The rig's window manager counts as started only once it manages the
// screen: one that ended leaves its check window named on the root, and a
// server that some client keeps up does not clear it.

#include "EndToEndRig.h"

#include <QWidget>

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AWindowManagerStartedWhereAnotherEndedActivatesAWindowAtOnce) {
    { const WindowManager ended; }
    QWidget window;
    window.setWindowTitle("Window to activate");
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(waitServing(
        [] { return !output("xdotool search --onlyvisible --name '^Window to activate$'").empty(); },
        patience));
    const WindowManager manager;
    ASSERT_TRUE(manager.running) << "openbox is not installed (scripts/setup installs it)";
    EXPECT_EQ(std::system(("xdotool windowactivate " + std::to_string(window.winId())).c_str()), 0);
}

} // namespace
} // namespace rondelix::e2e
