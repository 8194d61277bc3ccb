#include "actions/MacroExecutor.h"

#include "actions/LinkText.h"
#include "actions/ShippedAutomation.h"
#include "actions/ShortcutsRunner.h"
#include "actions/SystemActionRoute.h"
#include "catalog/ShortcutCatalog.h"
#include "files/FolderEntries.h"
#include "model/ActionClassification.h"
#include "model/AutomationWords.h"
#include "platform/CurrentDesktop.h"
#include "platform/EventTaps.h"
#include "platform/HomeFolder.h"
#include "platform/Log.h"
#include "platform/ModifierFlags.h"
#include "platform/Processes.h"
#include "platform/Sounds.h"
#include "platform/Workspace.h"
#include "util/Ascii.h"
#include "util/CurlyQuoted.h"
#include "util/Overloaded.h"
#include "util/TextClipping.h"
#include "util/TextTrimming.h"
#include "util/Utf8.h"

#include <cstdlib>
#include <utility>

namespace rondelix {

namespace {

// The flags of the modifiers a key combination holds: the group flags, and
// for Super the left Command key's own bit, since Command's group flag
// travels as Control.
constexpr std::uint64_t comboFlags(const KeyCombo& combo) {
    return (combo.primary ? ModifierFlag::command : 0) | (combo.shift ? ModifierFlag::shift : 0) |
           (combo.alt ? ModifierFlag::option : 0) | (combo.control ? ModifierFlag::control : 0) |
           (combo.super ? ModifierFlag::leftCommand : 0);
}

constexpr int keyCodeV = 9;
constexpr int keyCodeInsert = 114;

constexpr const char* noTextSentence = "This slice has no text to paste yet.";
constexpr const char* notAnAppSentence = "That file isn't an app.";
constexpr const char* notInstalledSentence = "That app isn't installed.";
constexpr const char* invalidLinkSentence = "That link isn't valid.";
constexpr const char* fileLinkSentence = "Can't open that kind of link.";
constexpr const char* unopenedLinkSentence = "Nothing can open that link.";
constexpr const char* scriptFailedSentence = "Your script exited with an error.";
const std::string noShortcutSentence =
    "No " + std::string(AutomationWords::singular) + " chosen for this slice yet.";
const std::string shortcutFailedSentence =
    "Your " + std::string(AutomationWords::singular) + " exited with an error.";
const std::string shortcutMissingSentence =
    "That " + std::string(AutomationWords::singular) + " isn't installed.";
constexpr const char* couldNotRunSentence = "That action couldn't run.";

// The first characters of the error output for a log line: output that is
// not valid UTF-8 gives nothing, and line breaks become spaces so the entry
// stays one line.
std::string logExcerpt(std::string_view standardError, std::size_t characters) {
    static constexpr std::string_view encodedReplacement = "\xEF\xBF\xBD";
    std::string out;
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < standardError.size();) {
        const std::size_t start = pos;
        const char32_t scalar = utf8::decodeNext(standardError, pos);
        const auto bytes = standardError.substr(start, pos - start);
        if (scalar == utf8::replacementCharacter && bytes != encodedReplacement) return {};
        if (count < characters) {
            out += scalar == U'\n' ? std::string_view(" ") : bytes;
            ++count;
        }
    }
    return out;
}

// The sentence for an automation that exited with an error, followed by the
// first line it wrote to its error output, which says why in its own words.
std::string automationFailedSentence(const platform::ProcessResult& result) {
    const std::string_view said = result.standardError;
    const std::string line =
        clippedForDisplay(said.substr(0, said.find('\n')), MacroExecutor::saidExcerptLength);
    return line.empty() ? shortcutFailedSentence : shortcutFailedSentence + " " + line;
}

// What went wrong with a child, for the log line after the fixed one.
std::string failureDetail(const platform::ProcessResult& result) {
    if (!result.launched) return "couldn't start: " + result.launchError;
    if (result.timedOut) return "ran past its time limit and was ended";
    const auto said = logExcerpt(result.standardError, MacroExecutor::logExcerptLength);
    return "exited " + std::to_string(result.status) + (said.empty() ? "" : ": " + said);
}

// Children started outside the script route: their time limit keeps one
// that hangs from holding the action back for good.
platform::ProcessRequest limitedRequest(const route::Queued& command) {
    platform::ProcessRequest request;
    request.program = command.program;
    request.arguments = command.arguments;
    request.timeLimit = MacroExecutor::systemCommandTimeLimitSeconds;
    return request;
}

} // namespace

MacroExecutor::Locations MacroExecutor::Locations::standard(const platform::HomeFolder& home) {
    const auto folder = home.path();
    return {isExecutableFile("/bin/zsh") ? "/bin/zsh" : "/bin/bash",
            ShortcutsRunner::standardFolder(home.configFolder()).string(), folder.string(),
            platform::currentDesktop()};
}

MacroExecutor::MacroExecutor(Platform platform, Locations locations)
    : platform_(platform), locations_(std::move(locations)) {}

MacroExecutor::~MacroExecutor() {
    pendingRestore_.cancel();
}

void MacroExecutor::report(const std::string& sentence) {
    if (onActionFailed)
        onActionFailed(sentence);
    else
        beep();
}

void MacroExecutor::beep() {
    platform_.sounds.beep();
}

void MacroExecutor::fire(const MacroAction& action) {
    std::visit(Overloaded{
                   [&](const MacroAction::Text& a) {
                       if (a.text.empty())
                           report(noTextSentence);
                       else
                           pasteText(a.text);
                   },
                   [&](const MacroAction::App& a) { launchApp(a.bundleIdentifier, a.path); },
                   [&](const MacroAction::Url& a) { openURL(a.url); },
                   [&](const MacroAction::SystemAction& a) { runSystemAction(a.id); },
                   [&](const MacroAction::Script& a) { runScript(a.source); },
                   [&](const MacroAction::Shortcut& a) { runShortcut(a.name); },
                   [&](const MacroAction::OpenSettings& a) {
                       if (onOpenSettings) onOpenSettings(a.target);
                   },
                   [&](const MacroAction::Keystroke& a) { postKeystroke(a.combo); },
                   // What it would do is unknown here, so it is told, never guessed at.
                   [&](const MacroAction::Unknown&) { report(std::string(newerVersionSentence)); },
               },
               action.value);
}

// Paste and the clipboard restore ---------------------------------------------

void MacroExecutor::pasteText(const std::string& text) {
    auto& board = platform_.pasteboard;
    if (pendingRestore_.isValid()) {
        pendingRestore_.cancel();
        pendingRestore_ = {};
        // An unchanged board still holds our earlier paste, so the snapshot
        // from before that paste is the user's clipboard and stays.
        if (board.changeCount() != pendingChangeCount_) pendingOriginalItems_ = board.items();
    } else {
        pendingOriginalItems_ = board.items();
    }
    board.writeText(text);
    pendingChangeCount_ = board.changeCount();
    switch (platform_.workspace.frontmostPasteKey()) {
    case platform::PasteKey::controlV:
        postKey(keyCodeV, ModifierFlag::command);
        break;
    case platform::PasteKey::controlShiftV:
        postKey(keyCodeV, ModifierFlag::command | ModifierFlag::shift);
        break;
    case platform::PasteKey::shiftInsert:
        // The earliest selection of a quick run of pastes is the user's.
        if (!pendingPrimary_) pendingPrimary_ = board.primaryText();
        board.writePrimaryText(text);
        postKey(keyCodeInsert, ModifierFlag::shift);
        break;
    }
    pendingRestore_ = platform_.queue.after(restoreDelaySeconds, [alive = lifetime_.watch(), this] {
        if (alive) restoreClipboard();
    });
}

void MacroExecutor::restoreClipboard() {
    if (!pendingRestore_.isValid()) return;
    pendingRestore_ = {};
    auto original = std::move(pendingOriginalItems_);
    pendingOriginalItems_.reset();
    auto& board = platform_.pasteboard;
    if (auto primary = std::exchange(pendingPrimary_, std::nullopt); primary && *primary)
        board.writePrimaryText(**primary);
    // Someone copied after our paste: their content wins.
    if (board.changeCount() != pendingChangeCount_) return;
    board.writeItems(original.value_or(std::vector<platform::PasteboardItem>{}));
}

void MacroExecutor::applicationWillTerminate() {
    if (!pendingRestore_.isValid()) return;
    pendingRestore_.cancel();
    restoreClipboard();
}

// Keys ------------------------------------------------------------------------

void MacroExecutor::postKeystroke(const KeyCombo& combo) {
    if (combo.keyCode < 0 || combo.keyCode > 0xFFFF) {
        beep();
        return;
    }
    postKey(combo.keyCode & 0xFFFF, comboFlags(combo));
}

void MacroExecutor::postKey(int keyCode, std::uint64_t flags) {
    const auto code = static_cast<std::uint16_t>(keyCode);
    platform_.taps.postKey(code, true, flags);
    platform_.taps.postKey(code, false, flags);
}

void MacroExecutor::pressKey(int keyType) {
    platform_.taps.postMediaKey(keyType, true);
    platform_.taps.postMediaKey(keyType, false);
}

// Applications and links ------------------------------------------------------

void MacroExecutor::launchApp(const std::optional<std::string>& identifier,
                              const std::optional<std::string>& path) {
    auto& workspace = platform_.workspace;
    std::optional<std::string> target;
    if (identifier) target = workspace.applicationPath(*identifier);
    if (!target && path) {
        // A relative path would lead wherever the program happened to start.
        target = path->starts_with('/') ? workspace.applicationAt(*path) : std::nullopt;
        if (!target) {
            report(notAnAppSentence);
            platform_.log.write("refused to launch a non-app-bundle path: " + *path);
            return;
        }
    }
    if (!target) {
        report(notInstalledSentence);
        return;
    }
    workspace.openApplication(*target, [alive = lifetime_.watch(), this](bool started) {
        if (!started && alive) beep();
    });
}

void MacroExecutor::openURL(const std::string& text) {
    const auto link = LinkText::parse(text);
    if (!link) {
        report(invalidLinkSentence);
        return;
    }
    if (link->scheme && equalIgnoringCase(*link->scheme, "file")) {
        report(fileLinkSentence);
        platform_.log.write("refused to open a file:// URL from a slice.");
        return;
    }
    // The desktop's opener takes a text without a scheme for a file path;
    // no such link opens anything on purpose, so none is handed over.
    if (!link->scheme) {
        report(unopenedLinkSentence);
        return;
    }
    platform_.workspace.openLink(link->url, [alive = lifetime_.watch(), this](bool opened) {
        if (!opened && alive) report(unopenedLinkSentence);
    });
}

// Child processes -------------------------------------------------------------

void MacroExecutor::runChecked(const QueuedCommand& command, std::optional<double> timeLimit,
                               std::function<void(const platform::ProcessResult&)> onFailure,
                               std::function<void()> completion) {
    platform::ProcessRequest request;
    request.program = command.launchPath;
    request.arguments = command.arguments;
    request.standardErrorCap = standardErrorCap;
    request.timeLimit = timeLimit;
    platform_.processes.run(
        std::move(request),
        [alive = lifetime_.watch(), this, launchPath = command.launchPath, onFailure = std::move(onFailure),
         completion = std::move(completion)](const platform::ProcessResult& result) {
            if (!alive) return;
            auto& log = platform_.log;
            bool failed = true;
            if (!result.launched) {
                log.write("macro command " + launchPath + " failed to launch: " + result.launchError);
            } else if (result.timedOut) {
                log.write("macro command " + launchPath + " ran past its time limit and was ended");
            } else if (result.status != 0) {
                log.write("macro command " + launchPath + " exited " + std::to_string(result.status) +
                          "; stderr\u00BB " + logExcerpt(result.standardError, logExcerptLength));
            } else {
                failed = false;
            }
            if (failed) {
                if (onFailure)
                    onFailure(result);
                else
                    beep();
            }
            if (completion) completion();
        });
}

void MacroExecutor::runScript(const std::string& script) {
    runChecked(
        {locations_.loginShell, {"-lc", script}}, std::nullopt,
        [this](const platform::ProcessResult&) { report(scriptFailedSentence); }, nullptr);
}

void MacroExecutor::runShortcut(const std::string& name) {
    if (name.empty()) {
        report(noShortcutSentence);
        return;
    }
    runShortcutFile(name, ShortcutCatalog::namesToRun(name), 0);
}

// Runs the file of the next name; one that does not launch hands over to the
// name after it, so an automation installed under its former name still runs.
void MacroExecutor::runShortcutFile(const std::string& name, std::vector<std::string> files,
                                    std::size_t next) {
    // The sentence says what went wrong where the user is looking; the
    // coordinator may also offer to set a known automation up, under the
    // name the slice asked for.
    auto failed = [this, name](const std::string& sentence) {
        report(sentence);
        if (onShortcutFailed) onShortcutFailed(name);
    };
    const auto program = ShortcutsRunner::executablePath(locations_.shortcutsFolder, files.at(next));
    if (!program) {
        platform_.log.write("macro command refused: " + curlyQuoted(files[next]) + " is not a file name");
        failed(shortcutMissingSentence);
        return;
    }
    // A file that is gone or not executable does not launch: to the user it
    // is not installed, as the folder's listing leaves it out too.
    runChecked(
        {*program, {}}, std::nullopt,
        [this, failed, name, files, next](const platform::ProcessResult& result) {
            if (!result.launched && next + 1 < files.size())
                runShortcutFile(name, files, next + 1);
            else
                failed(result.launched ? automationFailedSentence(result) : shortcutMissingSentence);
        },
        nullptr);
}

// The serial system-command queue ---------------------------------------------

void MacroExecutor::enqueue(QueuedCommand command) {
    systemActionQueue_.push_back(std::move(command));
    pumpSystemActions();
}

void MacroExecutor::pumpSystemActions() {
    if (systemActionRunning_ || systemActionQueue_.empty()) return;
    systemActionRunning_ = true;
    const QueuedCommand next = std::move(systemActionQueue_.front());
    systemActionQueue_.pop_front();
    runChecked(
        next, systemCommandTimeLimitSeconds,
        [this](const platform::ProcessResult&) { report(couldNotRunSentence); },
        [this] {
            systemActionRunning_ = false;
            pumpSystemActions();
        });
}

// System actions --------------------------------------------------------------

void MacroExecutor::runSystemAction(const std::string& id) {
    std::visit(Overloaded{
                   [&](const route::Queued& r) {
                       enqueue({r.program, r.arguments});
                   },
                   [&](const route::MediaKey& r) { pressKey(r.keyType); },
                   [&](const route::Shortcut& r) {
                       // The program's own automation would only fail here;
                       // one the user changed may know a way.
                       if (!r.shippedIdleReason.empty() &&
                           ShippedAutomation::installedUnchanged(locations_.shortcutsFolder,
                                                                 locations_.shippedAutomationsFolder, r.name))
                           report(std::string(unavailableSentence));
                       else
                           runShortcut(r.name);
                   },
                   [&](const route::Keystroke& r) { postKeystroke(r.combo); },
                   [&](const route::OpenHomeFolder&) { openHomeFolder(); },
                   [&](const route::LockScreen&) { lockScreen(); },
                   [&](const route::ToggleWiFi&) { toggleWiFi(); },
                   [&](const route::Unavailable&) { report(std::string(unavailableSentence)); },
               },
               systemActionRoute(id, locations_.desktop));
}

void MacroExecutor::openHomeFolder() {
    platform_.workspace.openLink(LinkText::fileLink(locations_.homeFolder),
                                 [alive = lifetime_.watch(), this](bool opened) {
                                     if (!opened && alive) report(couldNotRunSentence);
                                 });
}

void MacroExecutor::lockScreen() {
    auto request = limitedRequest(lockScreenCommand(locations_.desktop));
    request.standardErrorCap = standardErrorCap;
    platform_.processes.run(
        std::move(request), [alive = lifetime_.watch(), this](const platform::ProcessResult& result) {
            if (!alive || (result.launched && !result.timedOut && result.status == 0)) return;
            // The beep alone is easily missed here: the sentence says it.
            report(couldNotRunSentence);
            platform_.log.write("lock-screen failed \u2014 couldn't load login.framework.");
            platform_.log.write("lock-screen: " + failureDetail(result));
        });
}

void MacroExecutor::toggleWiFi() {
    if (wifiToggleInFlight_) {
        beep();
        return;
    }
    wifiToggleInFlight_ = true;
    auto request = limitedRequest(wifiProbeCommand());
    request.captureStandardOutput = true;
    request.standardErrorCap = standardErrorCap;
    platform_.processes.run(std::move(request), [alive = lifetime_.watch(),
                                                 this](const platform::ProcessResult& result) {
        if (!alive) return;
        wifiToggleInFlight_ = false;
        const auto answer = trimmedWhitespace(result.standardOutput);
        if (!result.launched || result.timedOut || (answer != "enabled" && answer != "disabled")) {
            report(couldNotRunSentence);
            platform_.log.write("toggle-wifi failed \u2014 couldn't find the Wi-Fi hardware port.");
            platform_.log.write("toggle-wifi: " + (result.launched && !result.timedOut && result.status == 0
                                                       ? "nmcli answered " + curlyQuoted(answer)
                                                       : failureDetail(result)));
            return;
        }
        const auto command = wifiSwitchCommand(answer == "disabled");
        enqueue({command.program, command.arguments});
    });
}

} // namespace rondelix
