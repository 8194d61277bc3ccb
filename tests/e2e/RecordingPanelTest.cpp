// The Bindings page's recording panel is a window of its own: closing the
// main window while it records must take the panel along at once.

#include "EndToEndRig.h"

namespace rondelix {
namespace {

using namespace e2e;

// Asks the window to close as a window manager's close button does: the
// recording takes every key, Ctrl+W included.
void askToClose(const std::string& id) {
    xcb_connection_t* connection =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(std::stoul(id));
    message.type = internAtom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

TEST_F(EndToEnd, ClosingTheMainWindowWhileRecordingTakesTheRecordingPanelAlong) {
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    Program program(home.path, "recording-panel");
    const std::string main = readyMainWindow(program);
    ASSERT_FALSE(main.empty()) << program.log();
    ASSERT_TRUE(downTheSidebar(main, 3)) << program.log(); // to Bindings

    const QRect window = windowGeometry(main);
    clickAt(window.topLeft() + buttonIn(config, MainTab::shortcuts, "record", window.size()));
    const std::string panel = windowNamed("Recording Summon Key");
    ASSERT_FALSE(panel.empty()) << program.log();
    grabScreen().save(artifact("recording-panel-open.png"));

    askToClose(main);
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Rondelix").empty(); }, patience));
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Recording Summon Key").empty(); }, patience))
        << "the panel stays on the desktop";
    grabScreen().save(artifact("recording-panel-closed-with-window.png"));
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
