#pragma once

#include "platform/SvgRenderer.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Draws with Qt's SVG image plugin, and decodes pictures from outside with
// Qt's image readers (DrawerImages), in a process of its own, the drawer
// (app/drawer/main.cpp), whose memory and processor time are capped: a
// drawing or picture costs the program neither, whatever it holds. A drawer
// still running when the caller's time is up, or when the renderer shuts
// down, is killed, so no drawing outlives its caller and nothing waits on
// one. Qt SVG runs no script and, with the drawing cleaned of outside
// references before it comes here, reads nothing from the network or the disk.
class SvgDrawerClient final : public SvgRenderer {
  public:
    static constexpr double watchdogSeconds = 6;
    // Drawers running at once; a caller waits for one to end, within its time.
    static constexpr std::size_t drawersAtOnce = 2;
    static constexpr const char* drawerName = "rondelix-svg-drawer";
    // The most of a drawer's answer that is read: a PNG of an icon is far smaller.
    static constexpr std::size_t largestAnswer = 4u << 20;

    // The drawer where the running program finds it: beside it, else where
    // the install puts it.
    static std::filesystem::path installedDrawer();

    explicit SvgDrawerClient(double watchdog = watchdogSeconds,
                             std::filesystem::path drawer = installedDrawer());
    ~SvgDrawerClient() override;
    SvgDrawerClient(const SvgDrawerClient&) = delete;
    SvgDrawerClient& operator=(const SvgDrawerClient&) = delete;

    std::optional<std::string> renderPNG(const std::string& svg, int side, double seconds,
                                         std::shared_ptr<const void> hold) override;

    // The drawer's answer to a request (its arguments, app/drawer/main.cpp)
    // about the bytes given, within the caller's seconds and the watchdog's;
    // none when the drawer failed or was stopped. Any thread.
    std::optional<std::string> answer(const std::vector<std::string>& request, std::string_view bytes,
                                      double seconds);
    // The answer when it is a PNG.
    std::optional<std::string> pngAnswer(const std::vector<std::string>& request, std::string_view bytes,
                                         double seconds);

    // Every drawing under way ends now and its caller gets no picture; so
    // does every later caller. Any thread.
    void shutDown();

  private:
    double watchdog_;
    std::filesystem::path drawer_;
    std::mutex lock_;
    // Drawers started and not yet reaped: a pid here is still ours to kill.
    std::set<pid_t> running_;
    std::condition_variable drawerEnded_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
