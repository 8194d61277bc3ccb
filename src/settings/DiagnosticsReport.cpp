#include "settings/DiagnosticsReport.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace rondelix {

namespace {

std::string flag(bool value) {
    return value ? "true" : "false";
}

// Screen coordinates print as whole points, cut toward zero.
std::string whole(double value) {
    return std::isfinite(value) ? std::to_string(static_cast<long long>(value)) : "0";
}

std::string isoTime(std::int64_t unixTime) {
    const std::time_t seconds = static_cast<std::time_t>(unixTime);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i ? separator : "") + parts[i];
    return text;
}

std::string detail(const std::string& label, const std::string& value) {
    return "  " + label + ": " + value;
}

std::string screenEntry(const DiagnosticsInputs::Screen& s, std::size_t index) {
    return "#" + std::to_string(index) + (s.isMain ? "*main" : "") + " " + whole(s.x) + "," + whole(s.y) +
           " " + whole(s.width) + "x" + whole(s.height) + " @" + reportNumber(s.scale) +
           "x safeH=" + whole(s.visibleHeight);
}

std::string screenUnderMouse(const DiagnosticsInputs& in) {
    for (std::size_t i = 0; i < in.screens.size(); ++i) {
        const auto& s = in.screens[i];
        if (in.mouseX >= s.x && in.mouseX < s.x + s.width && in.mouseY >= s.y && in.mouseY < s.y + s.height)
            return std::to_string(i);
    }
    return "NONE(gap)";
}

std::string tapText(DiagnosticsInputs::TapState state, bool listen) {
    using Tap = DiagnosticsInputs::TapState;
    if (listen) {
        if (state == Tap::notInstalled) return "NOT INSTALLED";
        return state == Tap::enabled ? "installed+enabled" : "installed-but-DISABLED";
    }
    if (state == Tap::notInstalled) return "not installed (expected unless holding)";
    return state == Tap::enabled ? "installed-ENABLED" : "installed-DISABLED";
}

std::string listenText(DiagnosticsInputs::ListenAccess access) {
    switch (access) {
    case DiagnosticsInputs::ListenAccess::granted:
        return "granted";
    case DiagnosticsInputs::ListenAccess::denied:
        return "DENIED";
    case DiagnosticsInputs::ListenAccess::unknown:
        break;
    }
    return "unknown/no-record";
}

std::string glassBackdrop(const DiagnosticsInputs& in) {
    if (in.reduceTransparency || !in.compositor) return "opaque-windowBackground";
    return in.glassConfigured ? "translucent-windowColor" : "opaque-windowBackground";
}

std::string wheelsLine(const DiagnosticsInputs& in) {
    int slices = 0;
    std::vector<std::string> fill;
    for (const auto& [filled, slots] : in.wheelFill) {
        slices += filled;
        fill.push_back(std::to_string(filled) + "/" + std::to_string(slots));
    }
    return "wheels=" + std::to_string(in.wheelFill.size()) + " totalSlices=" + std::to_string(slices) +
           " perWheel(filled/cap)=[" + joined(fill, " ") +
           "] appBoundWheels=" + std::to_string(in.appBoundWheels) +
           " lastUsedResolves=" + flag(in.lastUsedResolves);
}

std::string actionsLine(const DiagnosticsInputs::ActionCounts& a) {
    const auto n = [](int count) { return std::to_string(count); };
    return "text=" + n(a.text) + " keystroke=" + n(a.keystroke) + " system=" + n(a.system) +
           " url=" + n(a.url) + " script=" + n(a.script) + " app=" + n(a.app) + " shortcut=" + n(a.shortcut) +
           " openSettings=" + n(a.openSettings);
}

std::string soundText(const std::string& name, bool loads) {
    return name + "(" + (loads ? "ok" : "MISSING→fallback") + ")";
}

std::string mainWindowText(DiagnosticsInputs::MainWindowState state) {
    switch (state) {
    case DiagnosticsInputs::MainWindowState::key:
        return "on-screen(key)";
    case DiagnosticsInputs::MainWindowState::notKey:
        return "on-screen(not-key)";
    case DiagnosticsInputs::MainWindowState::absent:
        break;
    }
    return "absent";
}

std::string bindingsLine(const std::vector<DiagnosticsInputs::Binding>& bindings) {
    std::vector<std::string> entries;
    for (const auto& b : bindings) {
        std::vector<std::string> codes;
        for (const int code : b.keyCodes)
            codes.push_back(std::to_string(code));
        entries.push_back(b.comboName + " [" + joined(codes, ",") + "] enabled=" + flag(b.enabled) +
                          " holdMs=" + std::to_string(b.holdMs));
    }
    return joined(entries, "; ");
}

} // namespace

std::string reportNumber(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    std::string printed(text, result.ptr);
    if (printed.find_first_of(".eainf") == std::string::npos) printed += ".0";
    return printed;
}

std::string fileSafeVersion(std::string_view version) {
    std::string safe;
    for (const char c : version)
        if (c != '/' && c != '\0') safe += c;
    while (!safe.empty() && safe.front() == '.')
        safe.erase(safe.begin());
    return safe.empty() ? "?" : safe;
}

std::string diagnosticsReport(const DiagnosticsInputs& in) {
    std::vector<std::string> screens;
    for (std::size_t i = 0; i < in.screens.size(); ++i)
        screens.push_back(screenEntry(in.screens[i], i));

    const std::vector<std::string> lines{
        "Rondelix diagnostics: " + isoTime(in.unixTime),
        "diagnosticsFormat=2",
        "Version: " + in.version,
        "OS: " + in.systemName,
        "Rendering: " + std::string(in.compositor
                                        ? "translucent windows (compositor running)"
                                        : "opaque fallback rendering (no compositor — Frosted Glass "
                                          "unavailable)"),
        "Last launch: " + in.lastLaunch,

        "",
        "[1] Environment & Displays",
        detail("Screens", joined(screens, " | ")),
        detail("Mouse (at report time)",
               whole(in.mouseX) + "," + whole(in.mouseY) + " onScreen=" + screenUnderMouse(in)),
        detail("Appearance", in.darkAppearance ? "dark" : "light"),
        detail("A11y render", "reduceTransparency=" + flag(in.reduceTransparency) + " reduceMotion=" +
                                  flag(in.reduceMotion) + " increaseContrast=" + flag(in.increaseContrast) +
                                  " differentiateWithoutColor=" + flag(in.differentiateWithoutColor) +
                                  " invertColors=" + flag(in.invertColors)),

        "",
        "[2] Permissions & Event-Tap Health",
        detail("Input Monitoring",
               "latched=" + flag(in.inputMonitoringLatched) + " live(input)=" + listenText(in.listenAccess)),
        detail("Accessibility",
               "latched=" + flag(in.accessibilityLatched) + " live=" + flag(in.accessibilityLive)),
        detail("Tap proof", "listenConfirmedGlobal=" + flag(in.listenConfirmed) +
                                " armedConfirmedGlobal=" + flag(in.armedConfirmed)),
        detail("Listen tap", tapText(in.listenTap, true)),
        detail("Armed tap", tapText(in.armedTap, false)),
        detail("Watchdog", "started=" + flag(in.watchdogStarted)),
        detail("Mute", "paused=" + flag(in.paused) + " recording=" + flag(in.recording)),
        detail("Keyboard grab",
               in.secureInput ? "held by another program (the summon keys may be silently blocked)" : "free"),
        detail("Onboarding", "completed=" + flag(in.onboardingCompleted) +
                                 " skipped=" + flag(in.onboardingSkipped) + " resumeStep=" + in.resumeStep +
                                 " rescueReentered=" + flag(in.rescueReentered)),
        detail("Conflicting input apps",
               in.conflictingApps.empty() ? "none" : joined(in.conflictingApps, ", ")),

        "",
        "[3] Overlay / Window / Workspaces (capture while HOLDING the wheel or running Test Wheel)",
        detail("Panel", in.panelSummary),
        detail("Expected coll", "0x141"),
        detail("Glass", "configured=" + flag(in.glassConfigured) +
                            " reduceTransparency=" + flag(in.reduceTransparency) +
                            " effective=" + glassBackdrop(in) + " compositor=" + flag(in.compositor)),

        "",
        "[4] Config",
        detail("Path", in.configPath),
        detail("File", "exists=" + flag(in.fileExists) + " bytes=" + std::to_string(in.fileBytes)),
        detail("Backup", "bak=" + flag(in.backupExists) + " bakBytes=" + std::to_string(in.backupBytes) +
                             " corruptAside=" + std::to_string(in.corruptAside)),
        detail("Schema", "v" + std::to_string(in.schemaVersion) + " / build v" +
                             std::to_string(in.buildSchemaVersion) + " readOnly=" + flag(in.readOnly) +
                             " loadedCleanly=" + flag(in.loadedCleanly)),
        detail("Wheels", wheelsLine(in)),
        detail("Icons", "referenced=" + std::to_string(in.iconsReferenced) +
                            " onDisk=" + std::to_string(in.iconsOnDisk) +
                            " missingFiles=" + std::to_string(in.iconsMissing) +
                            " sweepEligible=" + flag(in.loadedCleanly && !in.readOnly)),
        detail("Undo/watch", "undo=" + std::to_string(in.undoDepth) +
                                 " redo=" + std::to_string(in.redoDepth) + " watching=" + flag(in.watching) +
                                 " reloadPending=" + flag(in.reloadPending)),

        "",
        "[6] Action Execution",
        detail("Actions", actionsLine(in.actions)),
        detail("Script slices", "scriptSlices=" + std::to_string(in.actions.script)),
        detail("Toolchain",
               "sh=" + flag(in.shellAvailable) + " automationFolder=" + flag(in.automationFolder)),
        detail("Managed shortcuts", shortcutsPlaceholder),
        detail("Feedback",
               "soundEnabled=" + flag(in.soundEnabled) + " volume=" + reportNumber(in.soundVolume) +
                   " aim=" + soundText(in.aimSound, in.aimSoundLoads) + " fire=" +
                   soundText(in.fireSound, in.fireSoundLoads) + " haptics=" + flag(in.hapticsEnabled)),
        detail("Handlers", "onShortcutFailed=" + flag(in.shortcutFailedHandler) +
                               " onOpenSettings=" + flag(in.openSettingsHandler)),

        "",
        "[7] App Lifecycle",
        detail("Activation", std::string("policy=") + (in.regularActivation ? "regular" : "accessory") +
                                 " mainWindow=" + mainWindowText(in.mainWindow)),
        detail("Login item", "config=" + flag(in.launchAtLoginConfigured) + " system=" + in.loginItemStatus),
        detail("Frontmost", !in.frontmostBound   ? "none"
                            : *in.frontmostBound ? "<bound-wheel>"
                                                 : "<unbound>"),
        detail("Bindings", bindingsLine(in.bindings)),
    };
    return joined(lines, "\n");
}

std::string fullDiagnosticsText(std::string report, const std::string& shortcuts,
                                const std::string& recentLog) {
    const std::string placeholder = shortcutsPlaceholder;
    for (auto at = report.find(placeholder); at != std::string::npos;
         at = report.find(placeholder, at + shortcuts.size()))
        report.replace(at, placeholder.size(), shortcuts);
    return report + "\n--- Recent logs (last 10 min) ---\n" + recentLog;
}

} // namespace rondelix
