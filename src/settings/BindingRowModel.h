#pragma once

#include "model/Config.h"
#include "settings/BindingsHost.h"
#include "settings/SliderScale.h"
#include "settings/SummonComboRecorder.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

class ConfigStore;
class HotkeyManager;

namespace platform {
class KeyboardLayout;
}

// One summon binding as its settings row shows and edits it. The row never
// keeps a copy: every read and write finds the binding by its id in the live
// configuration, so a binding removed elsewhere makes the row's writes do
// nothing. The row owns the recorder of its binding and stops it when it goes.
class BindingRowModel {
  public:
    static constexpr SliderScale holdDelayScale{0, 500, 10};

    struct Services {
        ConfigStore& store;
        HotkeyManager& engine;
        const platform::KeyboardLayout& layout;
        std::shared_ptr<BindingsHost> host;
        KeyEventMonitorFactory installKeyMonitor;
    };

    BindingRowModel(Uuid id, Services services);
    ~BindingRowModel();
    BindingRowModel(const BindingRowModel&) = delete;
    BindingRowModel& operator=(const BindingRowModel&) = delete;

    const Uuid& id() const { return id_; }
    // The binding as the configuration holds it now, or none once it is gone.
    std::optional<SummonBinding> binding() const;

    // "Recording…" while recording, else the keys' names ("None" for none).
    std::string comboLabel() const;
    // The only binding that can still summon: it can be neither switched off nor removed.
    bool isLastWorkingBinding() const;
    bool showsRemove() const;
    bool showsCollisionHint() const;
    // Why the binding never summons, when it needs more keys than can be held.
    std::optional<std::string> unholdableWarning() const;
    bool showsHoldDelay() const;
    std::string holdDelayText() const;

    // Each is one change of the configuration, or nothing when the binding is gone.
    void setEnabled(bool enabled);
    void setHoldDelay(double ms);
    // Stores the keys and switches the binding on.
    void setKeyCodes(const std::vector<int>& keyCodes);
    void remove();

    // The Record button: stops another row's recording and starts this one,
    // or stops this one.
    void toggleRecording();
    SummonComboRecorder& recorder() { return *recorder_; }
    // "Hold keys…" until something is captured.
    std::string capturedLabel() const;
    bool capturedMayCollide() const;

  private:
    void wireRecorder();

    Uuid id_;
    Services services_;
    std::shared_ptr<SummonComboRecorder> recorder_;
};

} // namespace rondelix
