// The listen path: a raw X key event becomes the system's event and reaches
// the listen tap's handler. The first benchmark times our own share on the
// reader and main threads; the second times the whole trip through a real X
// server (DISPLAY must be set), XTest request to handler, the queue hop from
// the reader thread included.

#include "engine/KeyEventTap.h"
#include "platform/linux/x11/X11EventTaps.h"
#include "platform/linux/x11/X11InputDecoder.h"
#include "platform/linux/x11/X11TapChain.h"
#include "platform/sim/SimLog.h"

#include <benchmark/benchmark.h>
#include <condition_variable>
#include <deque>
#include <mutex>

// Last: Xlib's macros clash with names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
// clang-format on

namespace {

using namespace rondelix;
using namespace rondelix::platform;
using namespace rondelix::platform::linux_desktop;

// What the engine's listen handler does first: skip our own events, then
// look at the key code.
TapVerdict engineLikeHandler(const InputEvent& event, std::uint64_t& seen) {
    if (event.sourceUserData == programEventMarker) return TapVerdict::pass;
    seen += event.keyCode;
    return TapVerdict::pass;
}

void BM_ListenPathDecodeAndDeliver(benchmark::State& state) {
    X11PostLedger ledger;
    X11InputDecoder decoder(ledger);
    decoder.setKeyMap(X11InputDecoder::makeKeyMap(true, nullptr));
    decoder.setXtestDevices({5});
    decoder.setCharacters([](int) { return std::u16string(u"a"); });
    X11TapChain chain;
    std::uint64_t seen = 0;
    chain.add(TapMode::listenOnly, listenMask,
              [&](const InputEvent& e) { return engineLikeHandler(e, seen); });

    bool press = true;
    for (auto _ : state) {
        const auto event = decoder.decodeRaw(
            {press ? X11RawInput::Kind::keyPress : X11RawInput::Kind::keyRelease, 38, 10, false}, 0.0);
        chain.deliver(TapMode::listenOnly, *event);
        press = !press;
    }
    benchmark::DoNotOptimize(seen);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ListenPathDecodeAndDeliver);

// The main queue as the benchmark's own thread: it waits for the reader
// thread's posts and runs them. (The program's queue rides on Qt's event
// loop, which the wheel-painting benchmark owns in this process.)
class DrainedQueue final : public MainQueue {
  public:
    void post(std::function<void()> fn) override {
        {
            std::lock_guard lock(mutex_);
            work_.push_back(std::move(fn));
        }
        posted_.notify_one();
    }
    Cancel after(double, std::function<void()>) override { return {}; }
    double now() const override { return 0.0; }

    // Runs posted work until the condition holds; false after a quiet second.
    bool runUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::unique_lock lock(mutex_);
            if (!posted_.wait_for(lock, std::chrono::seconds(1), [this] { return !work_.empty(); }))
                return false;
            auto fn = std::move(work_.front());
            work_.pop_front();
            lock.unlock();
            fn();
        }
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> work_;
};

void BM_ListenPathThroughXServer(benchmark::State& state) {
    Display* sender = XOpenDisplay(nullptr);
    if (!sender) {
        state.SkipWithError("no X display (set DISPLAY, for example to an Xvfb)");
        return;
    }
    DrainedQueue queue;
    sim::SimLog log;
    X11EventTaps taps(queue, log);
    KeyEventTap tap(taps);
    std::uint64_t seen = 0;
    std::int64_t handled = 0;
    if (!tap.install(TapMode::listenOnly, listenMask, [&](EventType, const InputEvent& e) {
            ++handled;
            return engineLikeHandler(e, seen);
        })) {
        XCloseDisplay(sender);
        state.SkipWithError("the listen tap could not be installed");
        return;
    }

    constexpr int batch = 100; // key presses per iteration, each with its release
    std::int64_t expected = 0;
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) {
            XTestFakeKeyEvent(sender, 38, True, CurrentTime);
            XTestFakeKeyEvent(sender, 38, False, CurrentTime);
        }
        XFlush(sender);
        expected += 2 * batch;
        if (!queue.runUntil([&] { return handled >= expected; })) {
            state.SkipWithError(
                ("events went missing: " + std::to_string(handled) + " of " + std::to_string(expected))
                    .c_str());
            break;
        }
    }
    benchmark::DoNotOptimize(seen);
    state.SetItemsProcessed(expected);
    tap.uninstall();
    XCloseDisplay(sender);
}
BENCHMARK(BM_ListenPathThroughXServer)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
