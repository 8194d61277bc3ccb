#pragma once

#include "model/KeyCombo.h"

#include <optional>
#include <string>
#include <variant>

namespace rondelix {

// What firing a slot does; a slice carries exactly one.
struct MacroAction {
    // Text to paste into the frontmost application.
    struct Text {
        std::string text;
        friend bool operator==(const Text&, const Text&) = default;
    };
    // An application, by identifier, else by path.
    struct App {
        std::optional<std::string> bundleIdentifier;
        std::optional<std::string> path;
        friend bool operator==(const App&, const App&) = default;
    };
    struct Url {
        std::string url;
        friend bool operator==(const Url&, const Url&) = default;
    };
    // A built-in system action by its kebab-case id.
    struct SystemAction {
        std::string id;
        friend bool operator==(const SystemAction&, const SystemAction&) = default;
    };
    // A shell command.
    struct Script {
        std::string source;
        friend bool operator==(const Script&, const Script&) = default;
    };
    // A named automation.
    struct Shortcut {
        std::string name;
        friend bool operator==(const Shortcut&, const Shortcut&) = default;
    };
    // One of the program's own pages or quick settings.
    struct OpenSettings {
        std::optional<std::string> target;
        friend bool operator==(const OpenSettings&, const OpenSettings&) = default;
    };
    struct Keystroke {
        KeyCombo combo;
        friend bool operator==(const Keystroke&, const Keystroke&) = default;
    };

    // An action of a kind this version does not know, kept exactly as the
    // file held it so that saving writes it back unchanged. It never fires.
    struct Unknown {
        // The case key that names the kind.
        std::string kind;
        // The whole action object as compact JSON text with sorted keys.
        std::string json;
        friend bool operator==(const Unknown&, const Unknown&) = default;
    };

    using Value =
        std::variant<Text, App, Url, SystemAction, Script, Shortcut, OpenSettings, Keystroke, Unknown>;
    Value value = Text{};

    MacroAction() = default;
    template <typename Case>
    requires std::is_constructible_v<Value, Case> MacroAction(Case c) : value(std::move(c)) {}

    template <typename Case> bool is() const { return std::holds_alternative<Case>(value); }
    template <typename Case> const Case* as() const { return std::get_if<Case>(&value); }

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

} // namespace rondelix
