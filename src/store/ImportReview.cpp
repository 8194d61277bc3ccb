#include "store/ImportReview.h"

#include "gallery/WheelManifest.h"
#include "model/ActionClassification.h"
#include "platform/Workspace.h"
#include "util/CurlyQuoted.h"
#include "util/TextClipping.h"

namespace rondelix::ImportReview {

namespace {

using platform::Alert;

constexpr const char* addAnyway = "Add Anyway";
constexpr const char* addWheel = "Add Wheel";
constexpr const char* cancel = "Cancel";

// The wheel's name in quotation marks, or none when it has no name to show.
// Kept to one short line: the name comes from a file of unknown origin.
std::optional<std::string> displayName(const Wheel& wheel) {
    const std::string name = clippedForDisplay(wheel.name, displayNameLimit);
    if (name.empty()) return std::nullopt;
    return curlyQuoted(name);
}

std::string joined(const std::vector<std::string>& lines, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += separator;
        text += lines[i];
    }
    return text;
}

// The label and what the slice does come from the file: each is kept apart
// so that neither can turn the line around.
std::string manifestLine(const std::string& label, const std::string& detail) {
    return reviewLine(isolatedForDisplay(label) + ": " + isolatedForDisplay(detail));
}

std::string plainReviewBox(const Wheel& wheel, const platform::Workspace& workspace,
                           const SystemActionUnavailable& unavailable) {
    std::vector<std::string> lines;
    for (const auto& entry : WheelManifest::entries(wheel, workspace, unavailable))
        lines.push_back(manifestLine(entry.label, entry.detail));
    if (lines.empty()) return "This wheel has no slices yet.";
    return "WHAT\u2019S INSIDE\n\n" + joined(lines, "\n");
}

std::string codeReviewBox(const Wheel& wheel, const std::vector<std::string>& warnings,
                          const platform::Workspace& workspace, const SystemActionUnavailable& unavailable) {
    std::vector<std::string> warningLines;
    for (const auto& warning : warnings)
        warningLines.push_back(reviewLine(warning));
    std::string text = "SCRIPTS & CUSTOM ACTIONS\n\n" + joined(warningLines, "\n\n");

    std::vector<std::string> otherLines;
    const auto installed = workspace.applicationFolders();
    for (const auto& slice : WheelManifest::slicesInSlotOrder(wheel)) {
        if (canRunCode(slice.action, installed)) continue;
        otherLines.push_back(
            manifestLine(WheelManifest::label(slice),
                         WheelManifest::describe(slice.action, workspace, unavailable).detail));
    }
    if (!otherLines.empty()) text += "\n\nEVERYTHING ELSE THIS WHEEL DOES\n\n" + joined(otherLines, "\n");
    return text;
}

bool chose(platform::Dialogs& dialogs, const Alert& alert, std::string_view button) {
    const std::size_t index = dialogs.runAlert(alert);
    return index < alert.buttons.size() && alert.buttons[index] == button;
}

} // namespace

std::string reviewLine(std::string_view item) {
    return "\u2022  " + std::string(item);
}

Alert failureAlert(std::string message, std::string text) {
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.message = std::move(message);
    alert.informativeText = std::move(text);
    return alert;
}

Alert codeImportAlert(const std::vector<std::string>& warnings) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < warnings.size() && i < listedWarningLimit; ++i)
        lines.push_back(reviewLine(warnings[i]));
    std::string list = joined(lines, "\n");
    if (warnings.size() > listedWarningLimit)
        list +=
            "\n" + reviewLine("\u2026and " + std::to_string(warnings.size() - listedWarningLimit) + " more");

    Alert alert;
    alert.style = Alert::Style::critical;
    alert.message = "This file can run code on this computer";
    alert.informativeText =
        "Only add wheels from people you trust. When fired, it will be able to:\n\n" + list;
    alert.buttons = {cancel, addAnyway};
    alert.defaultButton = 0;
    return alert;
}

Alert wheelImportAlert(const Wheel& wheel, const platform::Workspace& workspace,
                       const SystemActionUnavailable& unavailable) {
    const auto name = displayName(wheel);
    const auto warnings = codeWarnings(wheel, workspace.applicationFolders());
    Alert alert;
    if (warnings.empty()) {
        alert.style = Alert::Style::informational;
        alert.symbol = "checkmark.seal.fill";
        alert.message = "Add " + name.value_or("this wheel") + " to your wheels?";
        alert.informativeText =
            "Looks safe. This wheel uses only standard actions (opening apps, typing text, "
            "keystrokes, web links). No scripts or code.";
        alert.detailText = plainReviewBox(wheel, workspace, unavailable);
        alert.buttons = {addWheel, cancel};
    } else {
        alert.style = Alert::Style::warning;
        alert.symbol = "exclamationmark.circle.fill";
        alert.message = name.value_or("This wheel") + " can run custom actions";
        alert.informativeText =
            "This wheel includes a script or other custom action that runs on this computer when you fire a "
            "slice. "
            "It\u2019s often something handy like opening a file or controlling an app, but since it runs on "
            "this computer, it\u2019s worth adding wheels only from people you trust.\n\nYou can see exactly "
            "what "
            "it does below. If anything looks unfamiliar, select a line to copy and look it up, or just "
            "click "
            "Cancel.";
        alert.detailText = codeReviewBox(wheel, warnings, workspace, unavailable);
        alert.buttons = {cancel, addAnyway};
    }
    alert.defaultButton = 0;
    return alert;
}

bool confirmCodeImport(platform::Dialogs& dialogs, const std::vector<std::string>& warnings) {
    return chose(dialogs, codeImportAlert(warnings), addAnyway);
}

bool confirmWheelImport(platform::Dialogs& dialogs, const Wheel& wheel, const platform::Workspace& workspace,
                        const SystemActionUnavailable& unavailable) {
    const Alert alert = wheelImportAlert(wheel, workspace, unavailable);
    return chose(dialogs, alert, alert.buttons.front() == addWheel ? addWheel : addAnyway);
}

} // namespace rondelix::ImportReview
