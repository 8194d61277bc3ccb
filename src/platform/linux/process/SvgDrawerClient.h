#pragma once

#include "platform/Admission.h"
#include "platform/linux/process/DrawerQueue.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Draws with Qt's SVG image plugin (DrawerDrawings), and decodes pictures
// from outside with Qt's image readers (DrawerImages), in a process of its
// own, the drawer (app/drawer/main.cpp), whose memory and processor time are
// capped: a drawing or picture costs the program neither, whatever it holds.
// A few drawers run at once, their turns handed out fairly (DrawerQueue):
// waiting for one counts against no caller's time, and a caller working for
// an account, such as a website icon search, is charged what its drawers
// use, up to the account's budget. A drawer still running when the caller's
// time is up, or when the client shuts down, is killed, so no drawing
// outlives its caller and nothing waits on one. Qt SVG runs no script and,
// with the drawing cleaned of outside references before it comes here, reads
// nothing from the network or the disk.
class SvgDrawerClient {
  public:
    static constexpr double watchdogSeconds = 6;
    // Drawers at once unless told otherwise: each may take a gibibyte or two
    // of address space.
    static constexpr std::size_t drawersAtOnce = 2;
    static constexpr const char* drawerName = "rondelix-svg-drawer";
    // The most of a drawer's answer that is read: a PNG of an icon is far smaller.
    static constexpr std::size_t largestAnswer = 4u << 20;

    using Account = std::shared_ptr<FairTurns::Account>;

    // The drawer where the running program finds it: beside it, else where
    // the install puts it.
    static std::filesystem::path installedDrawer();

    explicit SvgDrawerClient(double watchdog = watchdogSeconds,
                             std::filesystem::path drawer = installedDrawer(),
                             std::size_t drawers = drawersAtOnce);
    ~SvgDrawerClient();
    SvgDrawerClient(const SvgDrawerClient&) = delete;
    SvgDrawerClient& operator=(const SvgDrawerClient&) = delete;

    // The drawer's answer to a request (its arguments, app/drawer/main.cpp)
    // about the bytes given, within the caller's seconds and the watchdog's,
    // both counted from when a drawer takes it up, and within what is left
    // of the account's budget; none when the drawer failed or was stopped.
    // Without an account, the request is an account of its own without a
    // budget. The admission is asked once a drawer is granted, before the
    // drawer starts, and the request goes no further when it gives none; a
    // wait there, like the wait for the drawer, counts against neither the
    // seconds nor the account. When there is no answer because the time,
    // the budget or the drawer's memory ran out (the drawer's caps included),
    // `tooCostly`, if given, is set. Any thread.
    std::optional<std::string> answer(const std::vector<std::string>& request, std::string_view bytes,
                                      double seconds, const Account& account = nullptr,
                                      const Admission& admission = {}, bool* tooCostly = nullptr);
    // The answer when it is a PNG.
    std::optional<std::string> pngAnswer(const std::vector<std::string>& request, std::string_view bytes,
                                         double seconds, const Account& account = nullptr,
                                         const Admission& admission = {}, bool* tooCostly = nullptr);

    // Every drawing under way ends now and its caller gets no picture; so
    // does every caller waiting for a drawer, and every later one. Any thread.
    void shutDown();

  private:
    double watchdog_;
    std::filesystem::path drawer_;
    DrawerQueue queue_;
    std::mutex lock_;
    // Drawers started and not yet reaped: a pid here is still ours to kill.
    std::set<pid_t> running_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
