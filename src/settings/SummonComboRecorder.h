#pragma once

#include "settings/KeyEventMonitor.h"
#include "util/Signal.h"

#include <functional>
#include <memory>
#include <vector>

namespace rondelix {

// Captures the combination of one summon binding while the user holds it:
// it keeps the keys held right now and, beside them, the largest set held
// together since everything was last let go, which Confirm hands over. Keys
// come from a monitor of the program's own key events; extra mouse buttons
// come from the summon engine, which sees them everywhere. Main thread only.
class SummonComboRecorder {
  public:
    explicit SummonComboRecorder(KeyEventMonitorFactory installMonitor);

    bool isRecording() const { return isRecording_; }
    // What Confirm would commit, in the order the keys went down.
    const std::vector<int>& captured() const { return captured_; }
    // Told when isRecording or captured really changes.
    Signal<> changed;

    // Receives the combination on Confirm.
    std::function<void(const std::vector<int>&)> onCommit;
    // Told true when a recording starts and false when it ends.
    std::function<void(bool active)> onActiveChange;

    // Nothing while already recording.
    void start();
    // Ends without committing; the captured combination stays until the next start.
    void stop();
    // Stops, then commits; nothing while nothing is captured.
    void confirm();
    // An extra mouse button (2 and up) went down or up anywhere.
    void handleMouseButton(int button, bool isDown);

  private:
    void handle(const MonitoredKeyEvent& event);
    void pressKey(int code);
    void handleFlags(int code, std::optional<std::uint64_t> flags);
    void press(int code);
    void release(int code);
    void setRecording(bool recording);
    void setCaptured(std::vector<int> captured);

    KeyEventMonitorFactory installMonitor_;
    bool isRecording_ = false;
    std::vector<int> captured_;
    std::vector<int> order_;
    std::unique_ptr<KeyEventMonitor> monitor_;
};

} // namespace rondelix
