#include "store/ConfigStore.h"

#include "files/FileAccess.h"
#include "files/FreshTemporary.h"
#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "model/SummonKey.h"
#include "platform/HomeFolder.h"
#include "platform/Log.h"
#include "platform/LoginItems.h"
#include "store/ConfigMerge.h"
#include "store/ConfigMigration.h"
#include "store/ConfigSanitizer.h"
#include "store/ConfigTextRepair.h"
#include "store/FormerFactoryLabels.h"
#include "store/FormerWindowTilerBinding.h"

#include <algorithm>
#include <ctime>
#include <system_error>
#include <utility>

namespace rondelix {

namespace {

struct LoadedConfig {
    std::optional<Config> config;
    std::string bytes;
    std::string error;
    // The size of a file refused as larger than a configuration may be.
    std::optional<std::uint64_t> tooLarge;
};

// Reads and decodes a configuration file of at most `largest` bytes; the
// error says which of the two failed. Former factory labels read in today's
// words, and the former gallery's window wheel follows no application.
LoadedConfig readConfigFile(const std::filesystem::path& file, std::size_t largest) {
    Result<std::string> read = readWholeFile(file, largest);
    if (!read.ok()) {
        const auto identity = fileIdentity(file);
        const bool tooLarge = identity && static_cast<std::uint64_t>(identity->size) > largest;
        return {std::nullopt,
                {},
                read.error(),
                tooLarge ? std::optional(static_cast<std::uint64_t>(identity->size)) : std::nullopt};
    }
    std::string bytes = std::move(read).value();
    LoadedConfig loaded{decodeConfigBytes(bytes), std::move(bytes), {}, std::nullopt};
    if (loaded.config)
        renameFormerFactoryLabels(*loaded.config);
    else
        loaded.error =
            file.string() + ": " + jsonSyntaxError(loaded.bytes).value_or("not a readable configuration");
    if (loaded.config) unbindFormerWindowTiler(*loaded.config);
    return loaded;
}

std::string_view text(bool value) {
    return value ? "true" : "false";
}

// What writes a kill cut short left beside the configuration and its backup:
// their fresh temporaries, and the fixed ones earlier versions wrote through.
// A store starts before any write of its own, and in the one program that
// writes the configuration.
void removeStaleTemporaries(const ConfigPaths& paths) {
    const std::string config = paths.config.filename().string(), backup = paths.backup.filename().string();
    removeFreshTemporaries(paths.folder,
                           [&](std::string_view name) { return name == config || name == backup; });
    for (const auto& file : {paths.config, paths.backup}) {
        const auto fixed = std::filesystem::path(file) += ".tmp";
        std::error_code ignored;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(fixed, ignored)))
            std::filesystem::remove(fixed, ignored);
    }
}

} // namespace

ConfigStore::ConfigStore(Platform platform)
    : queue_(platform.queue), log_(platform.log), watcher_(platform.watcher),
      loginItems_(platform.loginItems), paths_(ConfigPaths::in(platform.home.configFolder())),
      seenFile_(paths_.config), largestFile_(platform.largestFile),
      saver_(
          paths_, platform.queue, platform.background,
          [this](ConfigSaver::Outcome outcome) { onSaved(std::move(outcome)); }, platform.largestFile,
          std::move(platform.whileSaving)) {
    seenFile_.noteBeforeReading();
    load(platform.noWriterLock);
    startWatchingConfigFile();
}

ConfigStore::~ConfigStore() {
    saver_.flush();
    guard_.end();
    reloadWork_.cancel();
    reopenRetry_.cancel();
    watcher_.disarm();
}

void ConfigStore::sanitize(Config& config) {
    rondelix::sanitize(config);
}

// Loading ---------------------------------------------------------------------

void ConfigStore::load(const std::optional<std::string>& noWriterLock) {
    // Every save would fail, or another program could be writing too: the
    // store writes nothing, and removes nothing another may still write.
    if (const auto error = folderWriteError(paths_.folder)) {
        log_.write("configuration folder " + paths_.folder.string() + " is not writable (" + error.message() +
                   ") — running read-only.");
        refuseWriting(SaveRefusal::folderNotWritable(paths_.folder.string() + ": " + error.message()));
    } else if (noWriterLock) {
        log_.write("configuration lock unavailable (" + *noWriterLock + ") — running read-only.");
        refuseWriting(SaveRefusal::noWriterLock(*noWriterLock));
    } else {
        removeStaleTemporaries(paths_);
    }
    if (isMissing(paths_.config)) {
        replaceConfig(DefaultConfig::factoryConfig());
        saveLoggingFailure(true);
        return;
    }

    LoadedConfig primary = readConfigFile(paths_.config, largestFile_);
    if (primary.config) {
        sanitize(*primary.config);
        replaceConfig(std::move(*primary.config));
        checkReadOnly();
        noteValueRead();
        if (migrateIfNeeded()) saveLoggingFailure(true);
        loadedPrimaryCleanly_ = true;
        return;
    }

    log_.write("config load failed (" + primary.error + ") — trying the backup, else defaults.");
    LoadedConfig backup = readConfigFile(paths_.backup, largestFile_);
    // A file refused for its size alone holds the user's wheels all the
    // same: it stays where it is, and no save writes over it.
    if (primary.tooLarge) {
        log_.write("config.json is too large to load — leaving it as it is, read-only.");
        refuseWriting(SaveRefusal::tooLargeToLoad(*primary.tooLarge, backup.config.has_value()));
    }
    const bool keepPrimary = writingRefused_.has_value();
    if (!backup.config) {
        if (!keepPrimary) moveAside(paths_.config);
        replaceConfig(DefaultConfig::factoryConfig());
        return;
    }
    sanitize(*backup.config);
    replaceConfig(std::move(*backup.config));
    log_.write("recovered config from " + paths_.backup.filename().string() + ".");
    if (!keepPrimary) {
        moveAside(paths_.config);
        // Best effort: the save below writes the file again either way.
        if (writeFileAtomically(paths_.config, backup.bytes, TemporaryName::fresh).ok())
            seenFile_.noteWritten(fileIdentity(paths_.config));
    }
    checkReadOnly();
    migrateIfNeeded();
    saveLoggingFailure(true);
}

void ConfigStore::refuseWriting(std::optional<SaveRefusal> refusal) {
    const auto before = saveRefusal();
    writingRefused_ = std::move(refusal);
    checkReadOnly();
    tellIfRefusalChanged(before);
}

std::optional<SaveRefusal> ConfigStore::saveRefusal() const {
    if (writingRefused_) return writingRefused_;
    if (newerVersion_) return SaveRefusal::newerVersion();
    return lastSaveRefused_;
}

void ConfigStore::tellIfRefusalChanged(const std::optional<SaveRefusal>& before) {
    if (saveRefusal() != before) readOnlyChanged.emit();
}

void ConfigStore::checkReadOnly() {
    const auto before = saveRefusal();
    const bool wasReadOnly = isReadOnly_;
    newerVersion_ = config_.version > Config::currentVersion;
    isReadOnly_ = newerVersion_ || writingRefused_;
    if (!isReadOnly_) {
        loggedReadOnlySkip_ = false;
    } else if (newerVersion_ && !wasReadOnly) {
        log_.write("config version " + std::to_string(config_.version) + " > build version " +
                   std::to_string(Config::currentVersion) + " — running read-only (won't downgrade it).");
    }
    tellIfRefusalChanged(before);
}

bool ConfigStore::migrateIfNeeded() {
    if (!rondelix::migrateIfNeeded(config_)) return false;
    tellChanged();
    return true;
}

// Saving ----------------------------------------------------------------------

void ConfigStore::saveLoggingFailure(bool rotatingBackup) {
    if (isReadOnly_) {
        if (!loggedReadOnlySkip_) {
            loggedReadOnlySkip_ = true;
            log_.write("not saving — " + std::string(saveRefusal()->skippedBecause()) + " (read-only).");
        }
        savedWheels_.clear();
        return;
    }
    saver_.save(settingsHeld(), shareWheels(), rotatingBackup, seenFile_.seen());
}

Config ConfigStore::settingsHeld() {
    // Everything but the wheels is small: copied as it is.
    std::vector<Wheel> wheels = std::move(config_.wheels);
    Config settings = config_;
    config_.wheels = std::move(wheels);
    return settings;
}

ConfigSaver::SharedWheels ConfigStore::shareWheels() {
    const auto edited = std::exchange(onlyWheelEdited_, std::nullopt);
    if (edited && savedWheels_.size() == config_.wheels.size()) {
        savedWheels_[*edited] = std::make_shared<const Wheel>(config_.wheels[*edited]);
        return savedWheels_;
    }
    savedWheels_.clear();
    savedWheels_.reserve(config_.wheels.size());
    for (const Wheel& wheel : config_.wheels)
        savedWheels_.push_back(std::make_shared<const Wheel>(wheel));
    return savedWheels_;
}

void ConfigStore::onSaved(ConfigSaver::Outcome outcome) {
    for (const std::string& line : outcome.logLines)
        log_.write(line);
    const auto before = saveRefusal();
    if (!outcome.written.ok()) {
        log_.write("config save failed: " + outcome.written.error());
        if (outcome.refusedSize) lastSaveRefused_ = SaveRefusal::tooLargeToSave(*outcome.refusedSize);
    } else {
        lastSaveRefused_.reset();
        lastSavedFile_ = outcome.file;
        seenFile_.noteWritten(outcome.file);
        // What the file now holds is this store's own value, waiting changes included.
        brokenOnDisk_ = false;
        heldLastUsedWheel_.reset();
        const ConfigSaver::Value base = std::exchange(fileValue_, std::move(outcome.saved));
        if (outcome.outsideFile) adoptFoundFile(std::move(*outcome.outsideFile), base);
    }
    tellIfRefusalChanged(before);
    if (reloadAfterSaves_ && !saver_.pending()) {
        reloadAfterSaves_ = false;
        scheduleReload();
    }
}

// The save went on, and the other program's file waits in the backup: what
// it changed is taken in as a reload would, on top of the changes made here
// meanwhile, and saved.
void ConfigStore::adoptFoundFile(Config fromFile, const ConfigSaver::Value& base) {
    renameFormerFactoryLabels(fromFile);
    sanitize(fromFile);
    Config merged = mergeOutsideChange(config_, fromFile, base.settings, base.wheels);
    sanitize(merged);
    if (merged == config_) return;
    replaceConfig(std::move(merged));
    clearUndoHistory();
    checkReadOnly();
    migrateIfNeeded();
    saveLoggingFailure(true);
    log_.write("config reloaded from disk (external change).");
    if (afterConfigReplaced) afterConfigReplaced();
}

void ConfigStore::noteValueRead() {
    fileValue_.settings = settingsHeld();
    fileValue_.wheels.clear();
    fileValue_.wheels.reserve(config_.wheels.size());
    for (const Wheel& wheel : config_.wheels)
        fileValue_.wheels.push_back(std::make_shared<const Wheel>(wheel));
    // The next save shares them: after an edit of one wheel, all but that one.
    savedWheels_ = fileValue_.wheels;
}

// Failures of setting a damaged file aside are not reported.
std::optional<std::filesystem::path> ConfigStore::moveAside(const std::filesystem::path& file) {
    return setAside(file, static_cast<std::int64_t>(std::time(nullptr)));
}

// The value -------------------------------------------------------------------

void ConfigStore::replaceConfig(Config config) {
    if (config == config_) return;
    config_ = std::move(config);
    savedWheels_.clear();
    // Sanitizing keeps such a binding; unless told, nobody learns why it never summons.
    for (const SummonBinding& binding : config_.bindings)
        if (binding.keyCodes.size() > SummonKey::mostKeysHeldAtOnce)
            log_.write("summon binding " + binding.id.text() + " needs " +
                       std::to_string(binding.keyCodes.size()) + " keys held at once — it never summons.");
    tellChanged();
}

void ConfigStore::tellChanged(std::optional<std::size_t> onlyWheel) {
    // Restored after: a change an observer makes meanwhile is told as its own.
    const auto outer = std::exchange(onlyWheelChanged_, onlyWheel);
    configChanged.emit();
    onlyWheelChanged_ = outer;
}

void ConfigStore::setConfig(Config config) {
    repairText(config);
    replaceConfig(std::move(config));
}

// Watching the file -----------------------------------------------------------

void ConfigStore::startWatchingConfigFile() {
    reopenRetry_.cancel();
    reopenRetry_ = {};
    const bool armed =
        watcher_.arm(paths_.config, [this, alive = guard_.watch()](platform::FileWatcher::Change change) {
            if (alive) onFileChange(change);
        });
    watching_ = armed;
    if (armed) return;
    reopenRetry_ = queue_.after(reopenRetryDelay, [this, alive = guard_.watch()] {
        if (alive) startWatchingConfigFile();
    });
}

void ConfigStore::onFileChange(platform::FileWatcher::Change change) {
    scheduleReload();
    // The name may now hold another file (our own saves replace it), or none.
    if (change == platform::FileWatcher::Change::replaced) startWatchingConfigFile();
}

void ConfigStore::scheduleReload() {
    // A new notice starts afresh: its first failed read is not yet told.
    confirmingFailedRead_ = false;
    scheduleRead();
}

void ConfigStore::scheduleRead() {
    reloadWork_.cancel();
    reloadWork_ = queue_.after(debounceDelay, [this, alive = guard_.watch()] {
        if (!alive) return;
        reloadWork_ = {};
        reloadFromDiskIfChanged();
    });
}

void ConfigStore::flushPendingReload() {
    // Without a watcher nothing announces an edit made outside: a file that
    // is not the one last read or written counts as one just announced.
    if (!watching_ && seenFile_.changed()) scheduleReload();
    if (!reloadWork_.isValid()) return;
    reloadWork_.cancel();
    reloadWork_ = {};
    reloadFromDiskIfChanged();
}

void ConfigStore::reloadFromDiskIfChanged() {
    // While saves are being written the file holds one of them, older than
    // the value held: it is looked at once they are done.
    if (saver_.pending()) {
        reloadAfterSaves_ = true;
        return;
    }
    if (isMissing(paths_.config)) return;
    // The file as the last save left it holds this store's own value.
    if (lastSavedFile_ && fileIdentity(paths_.config) == lastSavedFile_) return;
    seenFile_.noteBeforeReading();
    LoadedConfig loaded = readConfigFile(paths_.config, largestFile_);
    if (!loaded.config) {
        noteUndecodableChange(loaded.error);
        return;
    }
    confirmingFailedRead_ = false;
    brokenOnDisk_ = false;
    // A file once too large to read reads now: what it holds, saves may replace.
    if (writingRefused_ && writingRefused_->cause == SaveRefusal::Cause::tooLargeToLoad)
        refuseWriting(std::nullopt);
    sanitize(*loaded.config);
    const bool heldChange = applyHeldLastUsedWheel(*loaded.config);
    if (*loaded.config == config_) {
        if (heldChange) saveLoggingFailure(true);
        return;
    }

    replaceConfig(std::move(*loaded.config));
    noteValueRead();
    clearUndoHistory();
    checkReadOnly();
    if (migrateIfNeeded() || heldChange) saveLoggingFailure(true);
    log_.write("config reloaded from disk (external change).");
    if (afterConfigReplaced) afterConfigReplaced();
}

// The first failed read is tried again a debounce later; one that fails
// again is the file the user saved. It stays in place, and changes wait in
// memory, until it decodes or the user edits in the program's own windows.
void ConfigStore::noteUndecodableChange(const std::string& error) {
    if (!confirmingFailedRead_) {
        confirmingFailedRead_ = true;
        scheduleRead();
        return;
    }
    confirmingFailedRead_ = false;
    brokenOnDisk_ = true;
    log_.write("config reload failed (" + error + ") — keeping config.json as it is until it is fixed.");
    if (onBrokenExternalChange) onBrokenExternalChange();
}

bool ConfigStore::applyHeldLastUsedWheel(Config& fromFile) {
    const auto held = std::exchange(heldLastUsedWheel_, std::nullopt);
    if (!held || fromFile.lastUsedWheelId == *held) return false;
    const bool exists = std::any_of(fromFile.wheels.begin(), fromFile.wheels.end(),
                                    [&](const Wheel& wheel) { return wheel.id == *held; });
    if (exists) fromFile.lastUsedWheelId = *held;
    return exists;
}

// Edits -----------------------------------------------------------------------

void ConfigStore::mutate(const std::function<void(Config&)>& change) {
    flushPendingReload();
    change(config_);
    repairText(config_);
    sanitize(config_);
    tellChanged();
    checkReadOnly();
    saveLoggingFailure(true);
}

void ConfigStore::editWheels(std::optional<std::string> coalesceKey,
                             const std::function<void(std::vector<Wheel>&)>& change) {
    flushPendingReload();
    std::vector<Wheel> after = config_.wheels;
    change(after);
    repairText(after);
    if (after == config_.wheels) return;

    const bool historyChanges = recordUndoStep(std::move(coalesceKey));
    config_.wheels = std::move(after);
    sanitize(config_);
    tellChanged();
    if (historyChanges) historyChanged.emit();
    saveLoggingFailure(true);
}

void ConfigStore::editWheel(std::string_view id, std::optional<std::string> coalesceKey,
                            const std::function<void(Wheel&)>& change) {
    // The id may point into a wheel that the reload below replaces.
    const std::string wheelId(id);
    flushPendingReload();
    const auto it = std::ranges::find(config_.wheels, wheelId, &Wheel::id);
    if (it == config_.wheels.end()) return;
    const auto index = static_cast<std::size_t>(it - config_.wheels.begin());
    Wheel edited = *it;
    change(edited);
    repairText(edited);
    if (edited == *it) return;

    const bool historyChanges = recordUndoStep(std::move(coalesceKey));
    Wheel before = std::exchange(config_.wheels[index], std::move(edited));
    const bool onlyThisWheel = rondelix::sanitizeAfterWheelEdit(config_, index, before);
    tellChanged(onlyThisWheel ? std::optional(index) : std::nullopt);
    if (historyChanges) historyChanged.emit();
    // Set only now: a change an observer made meanwhile was saved whole.
    if (onlyThisWheel) onlyWheelEdited_ = index;
    saveLoggingFailure(true);
}

bool ConfigStore::recordUndoStep(std::optional<std::string> coalesceKey) {
    const double now = queue_.now();
    const bool coalesces = coalesceKey && lastCoalesceKey_ && *coalesceKey == *lastCoalesceKey_ &&
                           now - lastEditTime_ < coalesceWindow;
    if (!coalesces) history_.record(config_.wheels);
    const bool historyChanges = !coalesces || history_.canRedo();
    history_.clearRedo();
    lastCoalesceKey_ = std::move(coalesceKey);
    lastEditTime_ = now;
    return historyChanges;
}

void ConfigStore::recordLastUsedWheel(std::string wheelId) {
    // Taken by value: a caller's id may live in a wheel the reload replaces.
    flushPendingReload();
    if (!brokenOnDisk_) {
        mutate([&wheelId](Config& config) { config.lastUsedWheelId = wheelId; });
        return;
    }
    if (config_.lastUsedWheelId == wheelId) return;
    config_.lastUsedWheelId = wheelId;
    sanitize(config_);
    heldLastUsedWheel_ = config_.lastUsedWheelId;
    tellChanged();
}

void ConfigStore::undo() {
    flushPendingReload();
    adoptSnapshot(history_.undo(config_.wheels));
}

void ConfigStore::redo() {
    flushPendingReload();
    adoptSnapshot(history_.redo(config_.wheels));
}

// Either way the next edit starts a new undo step.
void ConfigStore::adoptSnapshot(std::optional<std::vector<Wheel>> snapshot) {
    if (!snapshot) return;
    config_.wheels = std::move(*snapshot);
    sanitize(config_);
    lastCoalesceKey_.reset();
    tellChanged();
    historyChanged.emit();
    saveLoggingFailure(true);
}

void ConfigStore::clearUndoHistory() {
    lastCoalesceKey_.reset();
    if (!history_.canUndo() && !history_.canRedo()) return;
    history_.clear();
    historyChanged.emit();
}

// Lookups ---------------------------------------------------------------------

std::optional<Wheel> ConfigStore::wheel(std::string_view id) const {
    for (const auto& wheel : config_.wheels)
        if (wheel.id == id) return wheel;
    return std::nullopt;
}

Wheel ConfigStore::activeWheel() const {
    if (auto last = wheel(config_.lastUsedWheelId)) return std::move(*last);
    if (!config_.wheels.empty()) return config_.wheels.front();
    return DefaultConfig::mainWheel();
}

// Reset and restore -----------------------------------------------------------

void ConfigStore::resetToDefaults() {
    replaceConfig(DefaultConfig::factoryConfig());
    clearUndoHistory();
    checkReadOnly();
    saveLoggingFailure(true);
    applyLaunchAtLogin(config_.general.launchAtLogin);
}

bool ConfigStore::restoreFromBackup() {
    // The backup as the saves asked for so far leave it.
    saver_.flush();
    LoadedConfig backup = readConfigFile(paths_.backup, largestFile_);
    if (!backup.config) return false;
    sanitize(*backup.config);
    replaceConfig(std::move(*backup.config));
    checkReadOnly();
    migrateIfNeeded();
    clearUndoHistory();
    saveLoggingFailure(true);
    if (!isReadOnly_) applyLaunchAtLogin(config_.general.launchAtLogin);
    log_.write("config restored from .bak (dev pane).");
    if (afterConfigReplaced) afterConfigReplaced();
    return true;
}

// Launch at login -------------------------------------------------------------

void ConfigStore::reconcileLaunchAtLogin() {
    const bool on = platform::startsAtLogin(loginItems_.status());
    if (on == config_.general.launchAtLogin) return;
    log_.write("launch-at-login toggle (" + std::string(text(config_.general.launchAtLogin)) +
               ") drifted from system state (" + std::string(text(on)) + ") — adopting system state.");
    mutate([on](Config& config) { config.general.launchAtLogin = on; });
}

void ConfigStore::applyLaunchAtLogin(bool wanted) {
    const auto registered = loginItems_.setRegistered(wanted);
    if (registered.ok()) {
        if (std::exchange(launchAtLoginProblem_, std::nullopt)) tellChanged();
        return;
    }
    log_.write("launch-at-login change failed: " + registered.error());
    launchAtLoginProblem_ = std::string(wanted ? "Couldn't turn on" : "Couldn't turn off") +
                            " launch at login: " + registered.error();
    const bool on = platform::startsAtLogin(loginItems_.status());
    if (on != config_.general.launchAtLogin) {
        // Only the switch springs back; the backup is not rotated for this repair.
        config_.general.launchAtLogin = on;
        saveLoggingFailure(false);
    }
    tellChanged();
}

} // namespace rondelix
