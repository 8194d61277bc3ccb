#pragma once

#include <string>
#include <variant>

namespace rondelix {

// What a slot shows.
struct Icon {
    // Derived from the action: the application's icon, the site's icon, our mark.
    struct Auto {
        friend bool operator==(const Auto&, const Auto&) = default;
    };
    struct None {
        friend bool operator==(const None&, const None&) = default;
    };
    struct SfSymbol {
        std::string name;
        friend bool operator==(const SfSymbol&, const SfSymbol&) = default;
    };
    struct Emoji {
        std::string text;
        friend bool operator==(const Emoji&, const Emoji&) = default;
    };
    // A PNG in the custom icon folder, by file name.
    struct CustomImage {
        std::string filename;
        friend bool operator==(const CustomImage&, const CustomImage&) = default;
    };

    using Value = std::variant<Auto, None, SfSymbol, Emoji, CustomImage>;
    Value value = None{};

    Icon() = default;
    template <typename Case>
    requires std::is_constructible_v<Value, Case> Icon(Case c) : value(std::move(c)) {}

    template <typename Case> bool is() const { return std::holds_alternative<Case>(value); }
    template <typename Case> const Case* as() const { return std::get_if<Case>(&value); }

    friend bool operator==(const Icon&, const Icon&) = default;
};

} // namespace rondelix
