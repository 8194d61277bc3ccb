#pragma once

#include "editor/KeystrokeRecorder.h"
#include "editor/SliceFormKinds.h"
#include "editor/SliceSlot.h"
#include "model/Config.h"
#include "util/LifetimeGuard.h"

#include <filesystem>
#include <functional>
#include <string>

namespace rondelix {

class ConfigStore;
class HotkeyManager;
class InstalledAutomations;

namespace platform {
class Background;
class Dialogs;
class Images;
class KeyboardLayout;
class Log;
class MainQueue;
class Sounds;
class Workspace;
} // namespace platform

// Where a keystroke capture reaches beyond the form: the summon engine,
// which evaluates no binding while a capture runs, and the flag that keeps
// the editor's undo key off the captured press.
struct KeystrokeCaptureHost {
    HotkeyManager& engine;
    // False once the main window is closed, miniaturized or gone.
    std::function<bool()> mainWindowOnScreen;
    std::function<void(bool capturing)> setCapturing;
};

// What the slice form needs from the rest of the program.
struct SliceFormServices {
    ConfigStore& store;
    platform::Workspace& workspace;
    platform::Sounds& sounds;
    platform::Dialogs& dialogs;
    const platform::Images& images;
    platform::Log& log;
    platform::Background& background;
    platform::MainQueue& queue;
    const platform::KeyboardLayout& keyboard;
    std::filesystem::path configFolder;
    KeystrokeCaptureHost capture;
    InstalledAutomations& automations;
    // Opens the setup window of the automations that system actions need.
    std::function<void()> showAutomationSetup;
};

// The form that edits the slice in one slot of one wheel. It keeps no copy of
// the slice: every read goes to the store and every change writes the whole
// slice back as one wheel edit keyed "slice:<wheel id>:<slot>", so a burst of
// edits to one slice is one undo step, and undo, redo and reloads show at once.
// Main thread only.
class SliceForm {
  public:
    SliceForm(SliceFormServices services, SliceSlot slot);
    ~SliceForm();
    SliceForm(const SliceForm&) = delete;
    SliceForm& operator=(const SliceForm&) = delete;

    const SliceSlot& slot() const { return slot_; }
    const SliceFormServices& services() const { return services_; }
    std::string coalesceKey() const { return slot_.coalesceKey(); }

    // The slice in the slot; for an empty slot a blank one (empty label, icon
    // auto, empty text) whose id stays the same for the life of the form.
    Slice slice() const;

    void setLabel(const std::string& label);
    void setIcon(const Icon& icon);
    void setIconKind(SliceFormKinds::IconKind kind);
    void setAction(const MacroAction& action);
    void setActionKind(SliceFormKinds::ActionKind kind);

    // Asks for a picture and, once the icon store has read and stored it
    // away from the window's thread, makes it the icon. A picture the store
    // refuses beeps and leaves the icon as it was. `done` then gets the
    // sentence to show beside the picker, else none; it is called once,
    // unless the form is gone by then.
    void chooseImage(std::function<void(std::optional<std::string> problem)> done);

    // The record button: starts a capture (summoning suspended meanwhile)
    // or ends the one running.
    void pressRecord();
    KeystrokeRecorder& recorder() { return recorder_; }

    // The user's automations, which the automation input offers.
    InstalledAutomations& automations() const { return services_.automations; }
    void showAutomationSetup();
    void openLink(const std::string& address);

    // Runs before every write, so a view can hand over an edit it held back.
    std::function<void()> beforeWrite;

  private:
    void write(const std::function<void(Slice&)>& change);

    SliceFormServices services_;
    SliceSlot slot_;
    Uuid blankId_;
    KeystrokeRecorder recorder_;
    // Lets work finishing elsewhere tell whether the form still exists.
    LifetimeGuard lifetime_;
};

} // namespace rondelix
