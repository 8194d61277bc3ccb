#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {

// A save panel: where the user wants a new file written.
struct SavePanel {
    std::string suggestedName;
    // File-name extensions without the dot; the first is added to a name
    // typed without one. Empty allows any file.
    std::vector<std::string> allowedExtensions;
};

// An open panel for exactly one existing file.
struct OpenPanel {
    std::vector<std::string> allowedExtensions;
};

// A modal alert, described as data so that the logic can build and tests can
// read it without a window.
struct Alert {
    enum class Style { informational, warning, critical };

    Style style = Style::warning;
    std::string message;
    std::string informativeText;
    // In the order they are shown; the first is placed where the desktop puts
    // the primary choice.
    std::vector<std::string> buttons{"OK"};
    // The button Return chooses.
    std::size_t defaultButton = 0;
    // Shown under the text in a scrolling, read-only box whose lines can be
    // selected and copied.
    std::optional<std::string> detailText;
    // A system symbol shown in place of the style's standard icon, when the
    // desktop can draw it.
    std::optional<std::string> symbol;
    // The title of a check box under the text that lets the user silence
    // later alerts of this kind; none shows no box.
    std::optional<std::string> suppressionTitle;

    friend bool operator==(const Alert&, const Alert&) = default;
};

// The user's answer to an alert with a suppression box.
struct AlertAnswer {
    std::size_t button = 0;
    // The box was ticked when the alert closed.
    bool suppress = false;

    friend bool operator==(const AlertAnswer&, const AlertAnswer&) = default;
};

// The modal panels and alerts of the desktop. Each call blocks until the user
// has answered.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // The chosen location, or none when the user cancelled.
    virtual std::optional<std::filesystem::path> chooseSaveLocation(const SavePanel& panel) = 0;
    virtual std::optional<std::filesystem::path> chooseFileToOpen(const OpenPanel& panel) = 0;

    // The index of the chosen button. Closing the alert any other way counts
    // as choosing a button titled "Cancel" when there is one, else the default.
    virtual std::size_t runAlert(const Alert& alert) = 0;
    // The same for an alert that shows its suppression box.
    virtual AlertAnswer runSuppressibleAlert(const Alert& alert) = 0;
};

} // namespace rondelix::platform
