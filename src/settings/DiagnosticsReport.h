#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// Everything the diagnostics report prints, gathered beforehand so that the
// report itself is a plain function of it. Values the gatherer could not read
// carry their fallback already (-1 sizes, "?" versions, empty lists).
struct DiagnosticsInputs {
    struct Screen {
        double x = 0, y = 0, width = 0, height = 0;
        double scale = 1.0;
        double visibleHeight = 0;
        bool isMain = false;
    };
    enum class ListenAccess { granted, denied, unknown };
    enum class TapState { notInstalled, enabled, disabled };
    struct Binding {
        std::string comboName;
        std::vector<int> keyCodes;
        bool enabled = false;
        int holdMs = 0;
    };
    struct ActionCounts {
        int text = 0, keystroke = 0, system = 0, url = 0, script = 0, app = 0, shortcut = 0, openSettings = 0;
    };
    enum class MainWindowState { key, notKey, absent };

    // Header.
    std::int64_t unixTime = 0;
    std::string version = "?";
    std::string systemName;
    bool compositor = false;
    std::string lastLaunch;

    // Environment and displays.
    std::vector<Screen> screens;
    double mouseX = 0, mouseY = 0;
    bool darkAppearance = false;
    bool reduceTransparency = false, reduceMotion = false, increaseContrast = false;
    bool differentiateWithoutColor = false, invertColors = false;

    // Permissions and the taps.
    bool inputMonitoringLatched = false;
    ListenAccess listenAccess = ListenAccess::unknown;
    bool accessibilityLatched = false;
    bool accessibilityLive = false;
    bool listenConfirmed = false, armedConfirmed = false;
    TapState listenTap = TapState::notInstalled;
    TapState armedTap = TapState::notInstalled;
    bool watchdogStarted = false;
    bool paused = false, recording = false;
    bool secureInput = false;
    bool onboardingCompleted = false, onboardingSkipped = false, rescueReentered = false;
    std::string resumeStep = "welcome";
    std::vector<std::string> conflictingApps;

    // Overlay.
    std::string panelSummary;
    bool glassConfigured = false;

    // Configuration.
    std::string configPath;
    bool fileExists = false;
    std::int64_t fileBytes = -1;
    bool backupExists = false;
    std::int64_t backupBytes = -1;
    int corruptAside = 0;
    int schemaVersion = 0;
    int buildSchemaVersion = 0;
    bool readOnly = false, loadedCleanly = false;
    std::vector<std::pair<int, int>> wheelFill; // slices, slots
    int appBoundWheels = 0;
    bool lastUsedResolves = false;
    int iconsReferenced = 0, iconsOnDisk = 0, iconsMissing = 0;
    std::size_t undoDepth = 0, redoDepth = 0;
    bool watching = false, reloadPending = false;

    // Actions.
    ActionCounts actions;
    bool shellAvailable = false, automationFolder = false;
    bool soundEnabled = false;
    double soundVolume = 0;
    std::string aimSound, fireSound;
    bool aimSoundLoads = false, fireSoundLoads = false;
    bool hapticsEnabled = false;
    bool shortcutFailedHandler = false, openSettingsHandler = false;

    // Life of the program.
    bool regularActivation = false;
    MainWindowState mainWindow = MainWindowState::absent;
    bool launchAtLoginConfigured = false;
    std::string loginItemStatus = "unknown";
    std::optional<bool> frontmostBound; // none: no frontmost application
    std::vector<Binding> bindings;
};

// The placeholder the Shortcut details replace once they are listed.
inline constexpr const char* shortcutsPlaceholder = "__SHORTCUTS__";

// The report: 52 lines joined by line feeds, no trailing line feed.
std::string diagnosticsReport(const DiagnosticsInputs& inputs);

// A number as the report prints it: the shortest text that reads back as
// the same value, always with a decimal point ("2.0", "0.75").
std::string reportNumber(double value);

// The file name's version part: nothing that could leave the folder or hide
// the file ("/", NUL, a leading dot).
std::string fileSafeVersion(std::string_view version);

// The delivered text: the report with the Shortcut details in place and the
// recent log lines after a separator line.
std::string fullDiagnosticsText(std::string report, const std::string& shortcuts,
                                const std::string& recentLog);

} // namespace rondelix
