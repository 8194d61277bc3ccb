#pragma once

#include "model/Config.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

namespace rondelix::testing {

// Random configurations that reach every branch of the writer: optional
// members present and absent, empty lists, text that must be escaped or is
// not UTF-8 at all, numbers at the edges, actions only a newer version knows.
class RandomConfigs {
  public:
    explicit RandomConfigs(unsigned seed) : random_(seed) {}

    Config config() {
        Config c;
        c.version = pick({1, 19, 20, -3, std::numeric_limits<int>::max()});
        for (int i = count(3); i > 0; --i) {
            SummonBinding b{Uuid::generate(), {}, number(), coin()};
            for (int k = count(4); k > 0; --k)
                b.keyCodes.push_back(number());
            c.bindings.push_back(b);
        }
        c.behavior.wheelSize = real();
        c.behavior.opacity = real();
        c.behavior.soundVolume = real();
        c.behavior.accentStrength = real();
        c.behavior.scrollSensitivity = real();
        c.behavior.closeFadeMs = number();
        c.behavior.accentHex = text();
        c.behavior.aimSoundName = text();
        c.behavior.stickyAim = coin();
        c.behavior.position = coin() ? Behavior::Position::textCaret : Behavior::Position::screenCenter;
        c.general.launchAtLogin = coin();
        for (int i = count(4); i > 0; --i)
            c.wheels.push_back(wheel());
        c.lastUsedWheelId = text();
        if (coin()) c.exportedIcons = std::map<std::string, std::string>{{text(), text()}, {text(), ""}};
        return c;
    }

    Wheel wheel() {
        Wheel w{text(), text(), number(), {}, std::nullopt};
        if (coin()) w.appBundleIdentifier = text();
        for (int i = count(6); i > 0; --i)
            w.slices.push_back({Uuid::generate(), number(), text(), icon(), action()});
        return w;
    }

    // The same random choices, for tests that build more on them.
    bool coin() { return random_() % 2 == 0; }
    int count(int most) { return static_cast<int>(random_() % static_cast<unsigned>(most + 1)); }
    template <typename T> T pick(std::initializer_list<T> values) {
        return values.begin()[random_() % values.size()];
    }

  private:
    int number() { return pick({0, 1, -1, 58, 1005, 250, std::numeric_limits<int>::min()}); }
    double real() {
        return pick({0.0, -0.0, 1.0, 0.9, 320.0, 333.5, 1e-7, 1.5e300, 1e21, 0.1 + 0.2, -2.25,
                     std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()});
    }
    std::string text() {
        std::string out;
        for (int i = count(5); i > 0; --i)
            out += pick<std::string>({"a",
                                      "Copy",
                                      " ",
                                      "\"",
                                      "\\",
                                      "/",
                                      "\n",
                                      "\t",
                                      "\b",
                                      "\f",
                                      "\r",
                                      std::string(1, '\0'),
                                      "\x01",
                                      "\x1f",
                                      "\x7f",
                                      "é",
                                      "🚀",
                                      "\u2028",
                                      "\u202E",
                                      "\xC3",
                                      "\xED\xA0\x80",
                                      "\xF4\x90\x80\x80",
                                      "\xC0\xAF",
                                      "\xFF"});
        return out;
    }
    Icon icon() {
        switch (random_() % 5) {
        case 0:
            return Icon::Auto{};
        case 1:
            return Icon::None{};
        case 2:
            return Icon::SfSymbol{text()};
        case 3:
            return Icon::Emoji{text()};
        default:
            return Icon::CustomImage{text()};
        }
    }
    std::optional<std::string> maybeText() {
        if (coin()) return std::nullopt;
        return text();
    }
    MacroAction action() {
        switch (random_() % 9) {
        case 0:
            return MacroAction::Text{text()};
        case 1:
            return MacroAction::App{maybeText(), maybeText()};
        case 2:
            return MacroAction::Url{text()};
        case 3:
            return MacroAction::SystemAction{text()};
        case 4:
            return MacroAction::Script{text()};
        case 5:
            return MacroAction::Shortcut{text()};
        case 6:
            return MacroAction::OpenSettings{maybeText()};
        case 7:
            return MacroAction::Keystroke{{number(), coin(), coin(), coin(), coin()}};
        default: {
            const nlohmann::json raw{
                {"later",
                 {{"to", nlohmann::json::array({1, 2.5, nlohmann::json::object(), nlohmann::json::array()})},
                  {"mode", {{"z", nullptr}, {"a", "é\n"}}}}}};
            return MacroAction::Unknown{"later", raw.dump()};
        }
        }
    }

    std::mt19937 random_;
};

} // namespace rondelix::testing
