#pragma once

#include "files/FileAccess.h"
#include "model/Config.h"
#include "platform/FileWatcher.h"
#include "platform/MainQueue.h"
#include "store/ConfigPaths.h"
#include "store/ConfigSaver.h"
#include "store/LastSeenFile.h"
#include "store/SaveRefusal.h"
#include "store/UndoHistory.h"
#include "util/LifetimeGuard.h"
#include "util/Result.h"
#include "util/Signal.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

namespace platform {
class Background;
class HomeFolder;
class LoginItems;
class Log;
} // namespace platform

// The one owner of the current configuration. It loads the file when built,
// recovers from the backup or the factory defaults, writes every change back
// with a rotating backup, adopts changes other programs make to the file, and
// keeps an undo history of the wheels. Main thread only.
class ConfigStore {
  public:
    // What the store needs from the system; all must outlive the store.
    struct Platform {
        platform::MainQueue& queue;
        platform::Log& log;
        const platform::HomeFolder& home;
        platform::FileWatcher& watcher;
        platform::LoginItems& loginItems;
        // Where saves are encoded and written, one after another; without
        // it each save is written at once, before the change returns.
        platform::Background* background = nullptr;
        // Why this process could not take the lock that makes it the one
        // program writing the configuration, with the path; the store then
        // runs read-only and leaves every file as it finds it.
        std::optional<std::string> noWriterLock;
        // The most bytes a configuration file may hold: a larger one is
        // neither read nor written.
        std::size_t largestFile = maxConfigFileBytes;
        // Runs at each step of each save's write, on the thread that writes.
        ConfigSaver::Seam whileSaving = {};
    };

    static constexpr double debounceDelay = 0.15;
    static constexpr double reopenRetryDelay = 0.5;
    static constexpr std::size_t undoLimit = UndoHistory::limit;
    static constexpr double coalesceWindow = 1.0;

    // Loads the configuration at once and starts watching the file. Never
    // fails: whatever the disk holds, the store ends with a usable value.
    explicit ConfigStore(Platform platform);
    // Writes the saves still waiting before it goes.
    ~ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    const Config& config() const { return config_; }
    // Replaces the value without sanitizing or saving (text that is not UTF-8
    // is repaired); observers hear of it only when it differs.
    void setConfig(Config config);

    // A configuration written by a newer build is used but never saved
    // over; so is every configuration while this process may not write it.
    bool isReadOnly() const { return isReadOnly_; }
    // Why changes are not reaching the file, which every window that edits
    // says: always while read-only, and after a save that was refused.
    std::optional<SaveRefusal> saveRefusal() const;
    bool loadedPrimaryCleanly() const { return loadedPrimaryCleanly_; }
    const ConfigPaths& paths() const { return paths_; }

    // Told whenever `config` may have changed; observers re-read it.
    Signal<> configChanged;
    // While configChanged is told after an edit of one wheel that kept its
    // id and left every other wheel and setting alone: that wheel's place,
    // so that an observer of a great many wheels re-reads only it. None
    // when anything else may have changed.
    std::optional<std::size_t> onlyWheelChanged() const { return onlyWheelChanged_; }
    // Told whenever the undo or redo history changes.
    Signal<> historyChanged;
    // Told when the configuration turns read-only or writable again, or
    // the reason changes are not saved changes.
    Signal<> readOnlyChanged;
    // Told after the configuration was replaced from a file: an adopted
    // external change or a restore from the backup.
    std::function<void()> afterConfigReplaced;

    // What the HUD says when a change made to the file outside the program
    // does not decode.
    static constexpr std::string_view brokenFileSentence =
        "config.json has an error; your change wasn't loaded.";
    // Told when an external change still does not decode a debounce after
    // the first failed read; the file stays as the user left it.
    std::function<void()> onBrokenExternalChange;

    // A change to anything; sanitized and saved, not undoable.
    void mutate(const std::function<void(Config&)>& change);

    // An undoable change to the wheel list. Edits with the same key that
    // follow each other within the coalescing window make one undo step.
    void editWheels(std::optional<std::string> coalesceKey,
                    const std::function<void(std::vector<Wheel>&)>& change);

    // As editWheels for a change to the one wheel with this id, which
    // costs the same however many wheels there are; nothing when there is
    // no such wheel.
    void editWheel(std::string_view id, std::optional<std::string> coalesceKey,
                   const std::function<void(Wheel&)>& change);

    // Records the wheel a summon ended on. Unlike an edit it never replaces a
    // broken hand-edited file: it waits in memory until the file decodes.
    void recordLastUsedWheel(std::string wheelId);

    void undo();
    void redo();
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    const UndoHistory& history() const { return history_; }
    void clearUndoHistory();

    // The first wheel with this id, or nothing.
    std::optional<Wheel> wheel(std::string_view id) const;
    // The last used wheel, else the first, else the factory main wheel.
    Wheel activeWheel() const;

    void resetToDefaults();
    // Returns false, changing nothing, when the backup is missing or unusable.
    bool restoreFromBackup();

    // Adopts the system's login-item state when the setting drifted from it.
    void reconcileLaunchAtLogin();
    // Registers or unregisters the login item; on failure the setting follows
    // what the system really did.
    void applyLaunchAtLogin(bool wanted);
    // Why the last change of the login item failed, in the words the switch
    // shows beside it; none once a change succeeds.
    const std::optional<std::string>& launchAtLoginProblem() const { return launchAtLoginProblem_; }

    // Writes the saves still waiting now, for a reader of the file that
    // needs it to hold the value held.
    void writePendingSaves() { saver_.flush(); }

    // Reads the file and adopts it when it differs from the value held.
    void reloadFromDiskIfChanged();
    // For the diagnostics: the file is being watched; a reload waits for its debounce.
    bool watching() const { return watching_; }
    bool reloadPending() const { return reloadWork_.isValid() && !reloadWork_.isCancelled(); }

    // The sanitizing every value goes through before the store holds it.
    static void sanitize(Config& config);

  private:
    void load(const std::optional<std::string>& noWriterLock);
    // Runs read-only from now on, for the reason given; none lifts it.
    void refuseWriting(std::optional<SaveRefusal> refusal);
    // Tells the windows when the reason changes are not saved is no longer `before`.
    void tellIfRefusalChanged(const std::optional<SaveRefusal>& before);
    // Saves `config`; a failure is logged when the save is done.
    void saveLoggingFailure(bool rotatingBackup);
    // The value held, without its wheels.
    Config settingsHeld();
    void onSaved(ConfigSaver::Outcome outcome);
    // Takes in what a save found another program had written, on top of the
    // value held, measured against `base`, the value the file held before.
    void adoptFoundFile(Config fromFile, const ConfigSaver::Value& base);
    // The value held is the one the file holds, as just read.
    void noteValueRead();
    // The wheels as they are now, sharing each one the last save shared
    // where it is known not to have changed since.
    ConfigSaver::SharedWheels shareWheels();
    void checkReadOnly();
    bool migrateIfNeeded();
    std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file);
    void replaceConfig(Config config);
    void tellChanged(std::optional<std::size_t> onlyWheel = std::nullopt);
    // Records the wheels as they are before an edit, unless it merges with
    // the one before; answers whether the history changes.
    bool recordUndoStep(std::optional<std::string> coalesceKey);
    // Takes a wheel list that undo or redo handed back; nothing does nothing.
    void adoptSnapshot(std::optional<std::vector<Wheel>> snapshot);

    void startWatchingConfigFile();
    void onFileChange(platform::FileWatcher::Change change);
    void scheduleReload();
    void scheduleRead();
    void flushPendingReload();
    void noteUndecodableChange(const std::string& error);
    // Puts a last-used wheel that waited for a broken file onto the value
    // read from the fixed one; true when that changes it.
    bool applyHeldLastUsedWheel(Config& fromFile);

    platform::MainQueue& queue_;
    platform::Log& log_;
    platform::FileWatcher& watcher_;
    platform::LoginItems& loginItems_;
    ConfigPaths paths_;
    // What a local write made while no watcher runs compares the file with.
    LastSeenFile seenFile_;

    const std::size_t largestFile_;

    Config config_;
    bool isReadOnly_ = false;
    // The last read-only check found a version newer than this build's.
    bool newerVersion_ = false;
    // Why this process may not write the file, whatever its version: for
    // the run, or for a file too large to read until it reads again.
    std::optional<SaveRefusal> writingRefused_;
    // Why the last save was refused, when it was for its size.
    std::optional<SaveRefusal> lastSaveRefused_;
    bool loggedReadOnlySkip_ = false;
    bool loadedPrimaryCleanly_ = false;
    bool watching_ = false;
    platform::Cancel reloadWork_;
    platform::Cancel reopenRetry_;
    // A failed read of an external change waits one more debounce before it
    // counts: an editor writing in place can be caught half-way once.
    bool confirmingFailedRead_ = false;
    // The file holds an external change that does not decode; nothing but
    // an edit in the program's own windows replaces it.
    bool brokenOnDisk_ = false;
    std::optional<std::string> heldLastUsedWheel_;
    std::optional<std::string> launchAtLoginProblem_;

    // The file the last successful save made: a notice of it is the store's
    // own write, not a change to adopt.
    std::optional<FileIdentity> lastSavedFile_;
    // A notice came while saves were still being written; the file is read
    // once they are done.
    bool reloadAfterSaves_ = false;
    // The value the file was last seen to hold: the last save written, or
    // the file last read. What the program and another program changed is
    // told apart against it.
    ConfigSaver::Value fileValue_;
    // The wheels of the last save, and the one wheel changed since when
    // only an edit of one wheel changed them; empty when unknown.
    ConfigSaver::SharedWheels savedWheels_;
    std::optional<std::size_t> onlyWheelEdited_;
    std::optional<std::size_t> onlyWheelChanged_;

    UndoHistory history_;
    std::optional<std::string> lastCoalesceKey_;
    double lastEditTime_ = 0.0;

    // Deferred steps watch this and do nothing once the store is gone.
    LifetimeGuard guard_;
    // Last, so that it writes what still waits while the store is whole.
    ConfigSaver saver_;
};

} // namespace rondelix
