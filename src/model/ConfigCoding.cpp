#include "model/ConfigCoding.h"

#include "model/JsonWriter.h"
#include "util/Overloaded.h"

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <type_traits>
#include <utility>
#include <variant>

namespace rondelix {

using nlohmann::json;

namespace {

// Reading one value as a field's type; nothing, with the value skipped, when
// its JSON type is wrong. Null is never of the type a field wants.

std::optional<int> intFrom(const JsonNumber& number) {
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    switch (number.type) {
    case JsonNumber::Type::unsignedInteger:
        return number.unsignedInteger > static_cast<std::uint64_t>(most)
                   ? most
                   : static_cast<int>(number.unsignedInteger);
    case JsonNumber::Type::integer:
        if (number.integer > most) return most;
        if (number.integer < least) return least;
        return static_cast<int>(number.integer);
    case JsonNumber::Type::real:
        break;
    }
    // A whole number written with a fraction part (3.0) is still that number.
    const double v = number.real;
    if (std::isfinite(v) && v == std::trunc(v) && v >= least && v <= most) return static_cast<int>(v);
    return std::nullopt;
}

template <typename T> std::optional<T> read(JsonReader& reader);

template <> std::optional<int> read<int>(JsonReader& reader) {
    if (reader.kind() == JsonKind::number) return intFrom(reader.readNumber());
    reader.skip();
    return std::nullopt;
}

template <> std::optional<double> read<double>(JsonReader& reader) {
    if (reader.kind() == JsonKind::number) return reader.readNumber().toDouble();
    reader.skip();
    return std::nullopt;
}

template <> std::optional<bool> read<bool>(JsonReader& reader) {
    if (reader.kind() == JsonKind::boolean) return reader.readBool();
    reader.skip();
    return std::nullopt;
}

template <> std::optional<std::string> read<std::string>(JsonReader& reader) {
    if (reader.kind() == JsonKind::string) return std::string(reader.readString());
    reader.skip();
    return std::nullopt;
}

template <> std::optional<Uuid> read<Uuid>(JsonReader& reader) {
    if (reader.kind() == JsonKind::string) return Uuid::parse(reader.readString());
    reader.skip();
    return std::nullopt;
}

// Reads the members of the object at the cursor: `onMember(key)` takes each
// member's value. False, with the value skipped, when it is not an object.
template <typename OnMember> bool readMembers(JsonReader& reader, OnMember&& onMember) {
    if (reader.kind() != JsonKind::object) {
        reader.skip();
        return false;
    }
    reader.enterObject();
    while (const auto key = reader.nextMember())
        onMember(*key);
    return true;
}

// A list whose every element decodes; one that does not fails the list.
template <typename T, typename Decode>
std::optional<std::vector<T>> readList(JsonReader& reader, Decode decode) {
    if (reader.kind() != JsonKind::array) {
        reader.skip();
        return std::nullopt;
    }
    reader.enterArray();
    std::vector<T> out;
    bool ok = true;
    while (reader.nextElement()) {
        auto decoded = decode(reader);
        ok = ok && decoded;
        if (ok) out.push_back(std::move(*decoded));
    }
    if (!ok) return std::nullopt;
    return out;
}

// The field rules. A key may appear more than once; as in a JSON document,
// the last one counts, so each reading replaces what an earlier one gave.

// A field that falls back to its default when absent, null or unreadable.
template <typename T, typename Read> void tolerant(JsonReader& reader, T& field, T fallback, Read read) {
    if (auto v = read(reader)) {
        field = std::move(*v);
    } else {
        field = std::move(fallback);
    }
}

// A field that may be absent or null, but fails its record when unreadable.
template <typename T, typename Read>
void optionalField(JsonReader& reader, T& field, const T& fallback, bool& failed, Read read) {
    failed = false;
    if (reader.kind() == JsonKind::null) {
        reader.skip();
        field = fallback;
    } else if (auto v = read(reader)) {
        field = std::move(*v);
    } else {
        field = fallback;
        failed = true;
    }
}

// Whether a record whose optional fields read as `failed` holds.
template <typename... Flags> bool noneFailed(Flags... failed) {
    return !(failed || ...);
}

template <typename Case> using Tag = std::type_identity<Case>;

constexpr std::string_view caseKey(Tag<Icon::Auto>) {
    return "auto";
}
constexpr std::string_view caseKey(Tag<Icon::None>) {
    return "none";
}
constexpr std::string_view caseKey(Tag<Icon::SfSymbol>) {
    return "sfSymbol";
}
constexpr std::string_view caseKey(Tag<Icon::Emoji>) {
    return "emoji";
}
constexpr std::string_view caseKey(Tag<Icon::CustomImage>) {
    return "customImage";
}

constexpr std::string_view caseKey(Tag<MacroAction::Text>) {
    return "text";
}
constexpr std::string_view caseKey(Tag<MacroAction::App>) {
    return "app";
}
constexpr std::string_view caseKey(Tag<MacroAction::Url>) {
    return "url";
}
constexpr std::string_view caseKey(Tag<MacroAction::SystemAction>) {
    return "systemAction";
}
constexpr std::string_view caseKey(Tag<MacroAction::Script>) {
    return "script";
}
constexpr std::string_view caseKey(Tag<MacroAction::Shortcut>) {
    return "shortcut";
}
constexpr std::string_view caseKey(Tag<MacroAction::OpenSettings>) {
    return "openSettings";
}
constexpr std::string_view caseKey(Tag<MacroAction::Keystroke>) {
    return "keystroke";
}

// Payloads of the cases whose inner object holds one required string.
template <typename Case, auto Field>
std::optional<Case> stringPayload(JsonReader& reader, std::string_view key) {
    std::optional<std::string> text;
    readMembers(reader, [&](std::string_view name) {
        if (name == key) {
            text = read<std::string>(reader);
        } else {
            reader.skip();
        }
    });
    if (!text) return std::nullopt;
    Case value;
    value.*Field = std::move(*text);
    return value;
}

// Auto and none ignore whatever their inner object holds.
std::optional<Icon::Auto> readPayload(Tag<Icon::Auto>, JsonReader& reader) {
    reader.skip();
    return Icon::Auto{};
}
std::optional<Icon::None> readPayload(Tag<Icon::None>, JsonReader& reader) {
    reader.skip();
    return Icon::None{};
}
std::optional<Icon::SfSymbol> readPayload(Tag<Icon::SfSymbol>, JsonReader& reader) {
    return stringPayload<Icon::SfSymbol, &Icon::SfSymbol::name>(reader, "_0");
}
std::optional<Icon::Emoji> readPayload(Tag<Icon::Emoji>, JsonReader& reader) {
    return stringPayload<Icon::Emoji, &Icon::Emoji::text>(reader, "_0");
}
std::optional<Icon::CustomImage> readPayload(Tag<Icon::CustomImage>, JsonReader& reader) {
    return stringPayload<Icon::CustomImage, &Icon::CustomImage::filename>(reader, "filename");
}

std::optional<MacroAction::Text> readPayload(Tag<MacroAction::Text>, JsonReader& reader) {
    return stringPayload<MacroAction::Text, &MacroAction::Text::text>(reader, "_0");
}
std::optional<MacroAction::App> readPayload(Tag<MacroAction::App>, JsonReader& reader) {
    MacroAction::App app;
    bool badIdentifier = false;
    bool badPath = false;
    readMembers(reader, [&](std::string_view key) {
        if (key == "bundleIdentifier") {
            optionalField(reader, app.bundleIdentifier, {}, badIdentifier, read<std::string>);
        } else if (key == "path") {
            optionalField(reader, app.path, {}, badPath, read<std::string>);
        } else {
            reader.skip();
        }
    });
    if (!noneFailed(badIdentifier, badPath)) return std::nullopt;
    return app;
}
std::optional<MacroAction::Url> readPayload(Tag<MacroAction::Url>, JsonReader& reader) {
    return stringPayload<MacroAction::Url, &MacroAction::Url::url>(reader, "_0");
}
std::optional<MacroAction::SystemAction> readPayload(Tag<MacroAction::SystemAction>, JsonReader& reader) {
    return stringPayload<MacroAction::SystemAction, &MacroAction::SystemAction::id>(reader, "_0");
}
std::optional<MacroAction::Script> readPayload(Tag<MacroAction::Script>, JsonReader& reader) {
    return stringPayload<MacroAction::Script, &MacroAction::Script::source>(reader, "_0");
}
std::optional<MacroAction::Shortcut> readPayload(Tag<MacroAction::Shortcut>, JsonReader& reader) {
    return stringPayload<MacroAction::Shortcut, &MacroAction::Shortcut::name>(reader, "name");
}
std::optional<MacroAction::OpenSettings> readPayload(Tag<MacroAction::OpenSettings>, JsonReader& reader) {
    MacroAction::OpenSettings open;
    bool badTarget = false;
    readMembers(reader, [&](std::string_view key) {
        if (key == "target") {
            optionalField(reader, open.target, {}, badTarget, read<std::string>);
        } else {
            reader.skip();
        }
    });
    if (badTarget) return std::nullopt;
    return open;
}
std::optional<MacroAction::Keystroke> readPayload(Tag<MacroAction::Keystroke>, JsonReader& reader) {
    std::optional<KeyCombo> combo;
    readMembers(reader, [&](std::string_view key) {
        if (key == "_0") {
            combo = decodeKeyCombo(reader);
        } else {
            reader.skip();
        }
    });
    if (!combo) return std::nullopt;
    return MacroAction::Keystroke{*combo};
}

template <typename Union> struct CaseCoding {
    std::string_view key;
    std::optional<Union> (*decode)(JsonReader& payload);
};

template <typename Union, typename Case> std::optional<Union> decodeCase(JsonReader& payload) {
    if (auto value = readPayload(Tag<Case>{}, payload)) return Union(std::move(*value));
    return std::nullopt;
}

template <typename Union, std::size_t... I> constexpr auto caseTable(std::index_sequence<I...>) {
    using Value = typename Union::Value;
    return std::array{CaseCoding<Union>{caseKey(Tag<std::variant_alternative_t<I, Value>>{}),
                                        &decodeCase<Union, std::variant_alternative_t<I, Value>>}...};
}

// The cases a file can name. An action of a kind this version does not know
// is the one case without a key of its own; it comes last.
template <typename Union> constexpr std::size_t namedCaseCount = std::variant_size_v<typename Union::Value>;
template <> constexpr std::size_t namedCaseCount<MacroAction> = std::variant_size_v<MacroAction::Value> - 1;
static_assert(std::is_same_v<std::variant_alternative_t<namedCaseCount<MacroAction>, MacroAction::Value>,
                             MacroAction::Unknown>);

template <typename Union>
constexpr auto casesOf = caseTable<Union>(std::make_index_sequence<namedCaseCount<Union>>{});

// A tagged union: exactly one case key, whose value is an object. Keys that
// name no case go to `onOther`, which takes their values.
template <typename Union> struct UnionMembers {
    std::optional<Union> value;
    // The case keys that appeared, one bit each.
    unsigned cases = 0;
    bool isObject = false;

    std::optional<Union> decoded() && {
        if (std::popcount(cases) != 1) return std::nullopt;
        return std::move(value);
    }
};

template <typename Union, typename OnOther>
UnionMembers<Union> readUnion(JsonReader& reader, OnOther&& onOther) {
    UnionMembers<Union> members;
    members.isObject = readMembers(reader, [&](std::string_view key) {
        for (std::size_t i = 0; i < casesOf<Union>.size(); ++i) {
            if (casesOf<Union>[i].key != key) continue;
            members.cases |= 1u << i;
            if (reader.kind() == JsonKind::object) {
                members.value = casesOf<Union>[i].decode(reader);
            } else {
                reader.skip();
                members.value.reset();
            }
            return;
        }
        onOther(key);
    });
    return members;
}

// The one key of an action in the tagged form that names no kind this
// version knows, and its object, kept whole: a newer version wrote it, and it
// is carried as it stands.
struct UnknownKind {
    std::optional<std::string> kind;
    std::optional<json> payload;
    bool otherKeys = false;

    void read(JsonReader& reader, std::string_view key) {
        if (!kind) kind = std::string(key);
        otherKeys = otherKeys || *kind != key;
        if (!otherKeys && reader.kind() == JsonKind::object) {
            payload = reader.readDocument();
        } else {
            reader.skip();
            payload.reset();
        }
    }
};

// The behaviour settings that follow the optional field rule, by key.
using BehaviorMember =
    std::variant<double Behavior::*, int Behavior::*, bool Behavior::*, std::string Behavior::*>;
struct BehaviorField {
    std::string_view key;
    BehaviorMember member;
};
constexpr std::array behaviorFields{
    BehaviorField{"wheelSize", &Behavior::wheelSize},
    BehaviorField{"emptySliceOpensEditor", &Behavior::emptySliceOpensEditor},
    BehaviorField{"stickyAim", &Behavior::stickyAim},
    BehaviorField{"closeFadeEnabled", &Behavior::closeFadeEnabled},
    BehaviorField{"closeFadeMs", &Behavior::closeFadeMs},
    BehaviorField{"opacity", &Behavior::opacity},
    BehaviorField{"soundEnabled", &Behavior::soundEnabled},
    BehaviorField{"soundVolume", &Behavior::soundVolume},
    BehaviorField{"aimSoundName", &Behavior::aimSoundName},
    BehaviorField{"fireSoundName", &Behavior::fireSoundName},
    BehaviorField{"hapticsEnabled", &Behavior::hapticsEnabled},
    BehaviorField{"liquidGlassEnabled", &Behavior::liquidGlassEnabled},
    BehaviorField{"accentHex", &Behavior::accentHex},
    BehaviorField{"accentStrength", &Behavior::accentStrength},
    BehaviorField{"reopenLastWheel", &Behavior::reopenLastWheel},
    BehaviorField{"tabCyclesWheels", &Behavior::tabCyclesWheels},
    BehaviorField{"numpadDirectSlice", &Behavior::numpadDirectSlice},
    BehaviorField{"shiftTapCyclesBackward", &Behavior::shiftTapCyclesBackward},
    BehaviorField{"scrollSensitivity", &Behavior::scrollSensitivity},
    BehaviorField{"invertScroll", &Behavior::invertScroll},
    BehaviorField{"detectApp", &Behavior::detectApp},
    BehaviorField{"heldArrowDelayMs", &Behavior::heldArrowDelayMs},
    BehaviorField{"releaseGraceEnabled", &Behavior::releaseGraceEnabled},
    BehaviorField{"releaseGraceMs", &Behavior::releaseGraceMs},
};

} // namespace

// Decoding --------------------------------------------------------------------

std::optional<KeyCombo> decodeKeyCombo(JsonReader& reader) {
    // Every member is required but "super", which files before it lack.
    std::optional<int> keyCode;
    std::array<std::optional<bool>, 4> flags;
    constexpr std::array<std::string_view, 4> flagKeys{"command", "shift", "option", "control"};
    std::optional<bool> super;
    bool superUnreadable = false;
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "keyCode") {
                keyCode = read<int>(reader);
                return;
            }
            if (key == "super") {
                super = read<bool>(reader);
                superUnreadable = !super;
                return;
            }
            for (std::size_t i = 0; i < flagKeys.size(); ++i) {
                if (key != flagKeys[i]) continue;
                flags[i] = read<bool>(reader);
                return;
            }
            reader.skip();
        }))
        return std::nullopt;
    if (!keyCode || !flags[0] || !flags[1] || !flags[2] || !flags[3] || superUnreadable) return std::nullopt;
    return KeyCombo{*keyCode, *flags[0], *flags[1], *flags[2], *flags[3], super.value_or(false)};
}

std::optional<Icon> decodeIcon(JsonReader& reader) {
    return readUnion<Icon>(reader, [&reader](std::string_view) { reader.skip(); }).decoded();
}

std::optional<MacroAction> decodeAction(JsonReader& reader) {
    UnknownKind unknown;
    auto members = readUnion<MacroAction>(reader, [&](std::string_view key) { unknown.read(reader, key); });
    if (members.cases != 0) return std::move(members).decoded();
    // A known kind whose payload does not read is no unknown action.
    if (!unknown.kind || unknown.otherKeys || !unknown.payload) return std::nullopt;
    json whole = json::object();
    whole[*unknown.kind] = std::move(*unknown.payload);
    return MacroAction::Unknown{*unknown.kind, whole.dump()};
}

std::optional<Slice> decodeSlice(JsonReader& reader) {
    Slice slice;
    slice.id = Config::recoveredIdSentinel;
    slice.position = 0;
    slice.icon = Icon::None{};
    slice.action = MacroAction::Text{};
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "id") {
                tolerant(reader, slice.id, Config::recoveredIdSentinel, read<Uuid>);
            } else if (key == "position") {
                tolerant(reader, slice.position, 0, read<int>);
            } else if (key == "label") {
                tolerant(reader, slice.label, std::string(), read<std::string>);
            } else if (key == "icon") {
                tolerant(reader, slice.icon, Icon(Icon::None{}), decodeIcon);
            } else if (key == "action") {
                tolerant(reader, slice.action, MacroAction(MacroAction::Text{}), decodeAction);
            } else {
                reader.skip();
            }
        }))
        return std::nullopt;
    return slice;
}

std::optional<Wheel> decodeWheel(JsonReader& reader) {
    Wheel wheel;
    wheel.name = "Wheel";
    wheel.sliceCount = 8;
    bool badCount = false;
    bool badSlices = false;
    bool badApp = false;
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "id") {
                tolerant(reader, wheel.id, std::string(), read<std::string>);
            } else if (key == "name") {
                tolerant(reader, wheel.name, std::string("Wheel"), read<std::string>);
            } else if (key == "sliceCount") {
                optionalField(reader, wheel.sliceCount, 8, badCount, read<int>);
            } else if (key == "slices") {
                optionalField(reader, wheel.slices, {}, badSlices,
                              [](JsonReader& r) { return readList<Slice>(r, decodeSlice); });
            } else if (key == "appBundleIdentifier") {
                optionalField(reader, wheel.appBundleIdentifier, {}, badApp, read<std::string>);
            } else {
                reader.skip();
            }
        }))
        return std::nullopt;
    if (!noneFailed(badCount, badSlices, badApp)) return std::nullopt;
    return wheel;
}

std::optional<SummonBinding> decodeBinding(JsonReader& reader) {
    SummonBinding binding;
    binding.id = Config::recoveredIdSentinel;
    binding.holdThresholdMs = 100;
    binding.enabled = true;
    // Older files kept one key code, or only a kind.
    std::optional<std::vector<int>> keyCodes;
    std::optional<int> keyCode;
    std::optional<std::string> kind;
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "id") {
                tolerant(reader, binding.id, Config::recoveredIdSentinel, read<Uuid>);
            } else if (key == "holdThresholdMs") {
                tolerant(reader, binding.holdThresholdMs, 100, read<int>);
            } else if (key == "enabled") {
                tolerant(reader, binding.enabled, true, read<bool>);
            } else if (key == "keyCodes") {
                keyCodes = readList<int>(reader, read<int>);
            } else if (key == "keyCode") {
                keyCode = read<int>(reader);
            } else if (key == "kind") {
                kind = read<std::string>(reader);
            } else {
                reader.skip();
            }
        }))
        return std::nullopt;
    if (keyCodes) {
        binding.keyCodes = std::move(*keyCodes);
    } else if (keyCode) {
        binding.keyCodes = {*keyCode};
    } else if (kind) {
        binding.keyCodes = {*kind == "capsLock" ? -1 : 58};
    } else {
        binding.keyCodes = {58};
    }
    return binding;
}

std::optional<General> decodeGeneral(JsonReader& reader) {
    General general;
    bool badLaunch = false;
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "launchAtLogin") {
                optionalField(reader, general.launchAtLogin, false, badLaunch, read<bool>);
            } else {
                reader.skip();
            }
        }))
        return std::nullopt;
    if (badLaunch) return std::nullopt;
    return general;
}

std::optional<Behavior> decodeBehavior(JsonReader& reader) {
    // Files written before sticky aim existed keep it off.
    Behavior defaults;
    defaults.stickyAim = false;
    Behavior b = defaults;
    std::array<bool, behaviorFields.size()> failed{};
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "position") {
                tolerant(reader, b.position, Behavior::Position::cursor, [](JsonReader& r) {
                    const auto text = read<std::string>(r);
                    return text ? positionFromString(*text) : std::nullopt;
                });
                return;
            }
            if (key == "heldArrowMode") {
                tolerant(reader, b.heldArrowMode, Behavior::HeldArrowMode::untilReleased, [](JsonReader& r) {
                    const auto text = read<std::string>(r);
                    return text ? heldArrowModeFromString(*text) : std::nullopt;
                });
                return;
            }
            for (std::size_t i = 0; i < behaviorFields.size(); ++i) {
                if (behaviorFields[i].key != key) continue;
                std::visit(
                    [&](auto member) {
                        using T = std::remove_reference_t<decltype(b.*member)>;
                        optionalField(reader, b.*member, defaults.*member, failed[i], read<T>);
                    },
                    behaviorFields[i].member);
                return;
            }
            reader.skip();
        }))
        return std::nullopt;
    for (const bool fieldFailed : failed)
        if (fieldFailed) return std::nullopt;
    return b;
}

std::optional<std::map<std::string, std::string>> decodeTextMap(JsonReader& reader) {
    std::map<std::string, std::string> texts;
    // Names whose last value is not text.
    std::set<std::string> others;
    if (!readMembers(reader, [&](std::string_view key) {
            std::string name(key);
            if (auto text = read<std::string>(reader)) {
                others.erase(name);
                texts.insert_or_assign(std::move(name), std::move(*text));
            } else {
                others.insert(std::move(name));
            }
        }))
        return std::nullopt;
    if (!others.empty()) return std::nullopt;
    return texts;
}

std::optional<Config> decodeConfig(JsonReader& reader) {
    Config config;
    bool badVersion = false;
    bool badBindings = false;
    bool badBehavior = false;
    bool badGeneral = false;
    bool badWheels = false;
    bool badLastUsed = false;
    if (!readMembers(reader, [&](std::string_view key) {
            if (key == "version") {
                optionalField(reader, config.version, 1, badVersion, read<int>);
            } else if (key == "bindings") {
                optionalField(reader, config.bindings, {}, badBindings,
                              [](JsonReader& r) { return readList<SummonBinding>(r, decodeBinding); });
            } else if (key == "behavior") {
                optionalField(reader, config.behavior, Behavior{}, badBehavior, decodeBehavior);
            } else if (key == "general") {
                optionalField(reader, config.general, General{}, badGeneral, decodeGeneral);
            } else if (key == "wheels") {
                optionalField(reader, config.wheels, {}, badWheels,
                              [](JsonReader& r) { return readList<Wheel>(r, decodeWheel); });
            } else if (key == "lastUsedWheelId") {
                optionalField(reader, config.lastUsedWheelId, std::string("default"), badLastUsed,
                              read<std::string>);
            } else if (key == "exportedIcons") {
                config.exportedIcons = decodeTextMap(reader);
            } else {
                reader.skip();
            }
        }))
        return std::nullopt;
    if (!noneFailed(badVersion, badBindings, badBehavior, badGeneral, badWheels, badLastUsed))
        return std::nullopt;
    return config;
}

// Writing ---------------------------------------------------------------------

namespace {

// Members are written in sorted key order, as the files have always been.

void write(JsonWriter& w, const KeyCombo& combo) {
    w.beginObject();
    w.key("command");
    w.value(combo.primary);
    w.key("control");
    w.value(combo.control);
    w.key("keyCode");
    w.value(combo.keyCode);
    w.key("option");
    w.value(combo.alt);
    w.key("shift");
    w.value(combo.shift);
    // Written only when held, so that a file without Super reads the same
    // to a version of the program that predates it.
    if (combo.super) {
        w.key("super");
        w.value(true);
    }
    w.endObject();
}

// A payload of one string member.
void writeOne(JsonWriter& w, std::string_view key, std::string_view text) {
    w.beginObject();
    w.key(key);
    w.value(text);
    w.endObject();
}

void writeOptional(JsonWriter& w, std::string_view key, const std::optional<std::string>& text) {
    if (!text) return;
    w.key(key);
    w.value(*text);
}

struct IconPayload {
    JsonWriter& w;
    void empty() const {
        w.beginObject();
        w.endObject();
    }
    void operator()(const Icon::Auto&) const { empty(); }
    void operator()(const Icon::None&) const { empty(); }
    void operator()(const Icon::SfSymbol& s) const { writeOne(w, "_0", s.name); }
    void operator()(const Icon::Emoji& e) const { writeOne(w, "_0", e.text); }
    void operator()(const Icon::CustomImage& c) const { writeOne(w, "filename", c.filename); }
};

struct ActionPayload {
    JsonWriter& w;
    void operator()(const MacroAction::Text& t) const { writeOne(w, "_0", t.text); }
    void operator()(const MacroAction::App& a) const {
        w.beginObject();
        writeOptional(w, "bundleIdentifier", a.bundleIdentifier);
        writeOptional(w, "path", a.path);
        w.endObject();
    }
    void operator()(const MacroAction::Url& u) const { writeOne(w, "_0", u.url); }
    void operator()(const MacroAction::SystemAction& s) const { writeOne(w, "_0", s.id); }
    void operator()(const MacroAction::Script& s) const { writeOne(w, "_0", s.source); }
    void operator()(const MacroAction::Shortcut& s) const { writeOne(w, "name", s.name); }
    void operator()(const MacroAction::OpenSettings& o) const {
        w.beginObject();
        writeOptional(w, "target", o.target);
        w.endObject();
    }
    void operator()(const MacroAction::Keystroke& k) const {
        w.beginObject();
        w.key("_0");
        write(w, k.combo);
        w.endObject();
    }
};

template <typename Payload, typename Case> void writeTagged(JsonWriter& w, const Case& c) {
    w.beginObject();
    w.key(caseKey(Tag<Case>{}));
    Payload{w}(c);
    w.endObject();
}

void write(JsonWriter& w, const Icon& icon) {
    std::visit([&w](const auto& c) { writeTagged<IconPayload>(w, c); }, icon.value);
}

void write(JsonWriter& w, const MacroAction& action) {
    std::visit(Overloaded{[&w](const MacroAction::Unknown& u) { w.rawValue(u.json); },
                          [&w](const auto& c) { writeTagged<ActionPayload>(w, c); }},
               action.value);
}

void write(JsonWriter& w, const Slice& slice) {
    w.beginObject();
    w.key("action");
    write(w, slice.action);
    w.key("icon");
    write(w, slice.icon);
    w.key("id");
    w.value(slice.id.text());
    w.key("label");
    w.value(slice.label);
    w.key("position");
    w.value(slice.position);
    w.endObject();
}

void write(JsonWriter& w, const SummonBinding& binding) {
    w.beginObject();
    w.key("enabled");
    w.value(binding.enabled);
    w.key("holdThresholdMs");
    w.value(binding.holdThresholdMs);
    w.key("id");
    w.value(binding.id.text());
    w.key("keyCodes");
    w.beginArray();
    for (const int code : binding.keyCodes)
        w.value(code);
    w.endArray();
    w.endObject();
}

void write(JsonWriter& w, const Behavior& b) {
    w.beginObject();
    const auto field = [&w](std::string_view key, const auto& value) {
        w.key(key);
        w.value(value);
    };
    field("accentHex", b.accentHex);
    field("accentStrength", b.accentStrength);
    field("aimSoundName", b.aimSoundName);
    field("closeFadeEnabled", b.closeFadeEnabled);
    field("closeFadeMs", b.closeFadeMs);
    field("detectApp", b.detectApp);
    field("emptySliceOpensEditor", b.emptySliceOpensEditor);
    field("fireSoundName", b.fireSoundName);
    field("hapticsEnabled", b.hapticsEnabled);
    field("heldArrowDelayMs", b.heldArrowDelayMs);
    field("heldArrowMode", toString(b.heldArrowMode));
    field("invertScroll", b.invertScroll);
    field("liquidGlassEnabled", b.liquidGlassEnabled);
    field("numpadDirectSlice", b.numpadDirectSlice);
    field("opacity", b.opacity);
    field("position", toString(b.position));
    field("releaseGraceEnabled", b.releaseGraceEnabled);
    field("releaseGraceMs", b.releaseGraceMs);
    field("reopenLastWheel", b.reopenLastWheel);
    field("scrollSensitivity", b.scrollSensitivity);
    field("shiftTapCyclesBackward", b.shiftTapCyclesBackward);
    field("soundEnabled", b.soundEnabled);
    field("soundVolume", b.soundVolume);
    field("stickyAim", b.stickyAim);
    field("tabCyclesWheels", b.tabCyclesWheels);
    field("wheelSize", b.wheelSize);
    w.endObject();
}

void writeStringMap(JsonWriter& w, const std::map<std::string, std::string>& map) {
    w.beginObject();
    for (const auto& [name, text] : map) {
        w.key(name);
        w.value(text);
    }
    w.endObject();
}

} // namespace

void write(JsonWriter& w, const Wheel& wheel) {
    w.beginObject();
    writeOptional(w, "appBundleIdentifier", wheel.appBundleIdentifier);
    w.key("id");
    w.value(wheel.id);
    w.key("name");
    w.value(wheel.name);
    w.key("sliceCount");
    w.value(wheel.sliceCount);
    w.key("slices");
    w.beginArray();
    for (const Slice& slice : wheel.slices)
        write(w, slice);
    w.endArray();
    w.endObject();
}

// Bytes -----------------------------------------------------------------------

namespace {

// Builds the document while it is read, refusing one that nests too deep
// before it grows any deeper; the library's builder does the rest.
class BoundedDocumentBuilder {
  public:
    explicit BoundedDocumentBuilder(json& root) : builder_(root, /*allow_exceptions=*/false) {}

    bool null() { return builder_.null(); }
    bool boolean(bool value) { return builder_.boolean(value); }
    bool number_integer(json::number_integer_t value) { return builder_.number_integer(value); }
    bool number_unsigned(json::number_unsigned_t value) { return builder_.number_unsigned(value); }
    bool number_float(json::number_float_t value, const json::string_t& text) {
        return builder_.number_float(value, text);
    }
    bool string(json::string_t& value) { return builder_.string(value); }
    bool binary(json::binary_t& value) { return builder_.binary(value); }
    bool start_object(std::size_t elements) { return deeper() && builder_.start_object(elements); }
    bool key(json::string_t& value) { return builder_.key(value); }
    bool end_object() {
        --depth_;
        return builder_.end_object();
    }
    bool start_array(std::size_t elements) { return deeper() && builder_.start_array(elements); }
    bool end_array() {
        --depth_;
        return builder_.end_array();
    }
    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& e) {
        return builder_.parse_error(position, token, e);
    }
    bool failed() const { return builder_.is_errored() || depth_ > JsonReader::maxDepth; }

  private:
    bool deeper() { return ++depth_ <= JsonReader::maxDepth; }

    nlohmann::detail::json_sax_dom_parser<json> builder_;
    int depth_ = 0;
};

} // namespace

std::optional<json> parseJson(std::string_view bytes) {
    json parsed;
    BoundedDocumentBuilder builder(parsed);
    if (!json::sax_parse(bytes.data(), bytes.data() + bytes.size(), &builder) || builder.failed())
        return std::nullopt;
    return parsed;
}

std::optional<std::string> jsonSyntaxError(std::string_view bytes) {
    // Reads the events and keeps only the parser's own account of a failure.
    struct ErrorOnly : nlohmann::json_sax<json> {
        std::optional<std::string> error;
        int depth = 0;
        bool deeper() {
            if (++depth <= JsonReader::maxDepth) return true;
            std::string message = "nested more than ";
            message += std::to_string(JsonReader::maxDepth);
            message += " levels deep";
            error = std::move(message);
            return false;
        }
        bool null() override { return true; }
        bool boolean(bool) override { return true; }
        bool number_integer(number_integer_t) override { return true; }
        bool number_unsigned(number_unsigned_t) override { return true; }
        bool number_float(number_float_t, const string_t&) override { return true; }
        bool string(string_t&) override { return true; }
        bool binary(binary_t&) override { return true; }
        bool start_object(std::size_t) override { return deeper(); }
        bool key(string_t&) override { return true; }
        bool end_object() override {
            --depth;
            return true;
        }
        bool start_array(std::size_t) override { return deeper(); }
        bool end_array() override {
            --depth;
            return true;
        }
        bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
            // "[json.exception.parse_error.101] parse error at line 3, column 5: …"
            std::string_view what = e.what();
            constexpr std::string_view at = "parse error at ";
            if (const auto start = what.find(at); start != std::string_view::npos)
                what.remove_prefix(start + at.size());
            error = std::string(what);
            return false;
        }
    } handler;
    json::sax_parse(bytes.data(), bytes.data() + bytes.size(), &handler);
    return handler.error;
}

std::optional<Config> decodeConfigBytes(std::string_view bytes) {
    return decodeDocument(bytes, decodeConfig);
}

namespace {

template <typename Wheels, typename WheelOf>
std::string writeConfigWith(const Config& config, const Wheels& wheels, WheelOf wheelOf) {
    // Room for the usual file at once: a slice takes a few hundred bytes.
    std::size_t slices = 0;
    for (const auto& wheel : wheels)
        slices += wheelOf(wheel).slices.size();
    std::string bytes;
    bytes.reserve(16 * 1024 + 512 * slices);
    JsonWriter w(bytes);
    w.beginObject();
    w.key("behavior");
    write(w, config.behavior);
    w.key("bindings");
    w.beginArray();
    for (const SummonBinding& binding : config.bindings)
        write(w, binding);
    w.endArray();
    if (config.exportedIcons) {
        w.key("exportedIcons");
        writeStringMap(w, *config.exportedIcons);
    }
    w.key("general");
    w.beginObject();
    w.key("launchAtLogin");
    w.value(config.general.launchAtLogin);
    w.endObject();
    w.key("lastUsedWheelId");
    w.value(config.lastUsedWheelId);
    w.key("version");
    w.value(config.version);
    w.key("wheels");
    w.beginArray();
    for (const auto& wheel : wheels)
        write(w, wheelOf(wheel));
    w.endArray();
    w.endObject();
    bytes += '\n';
    return bytes;
}

} // namespace

std::string writeConfigFile(const Config& config) {
    return writeConfigWith(config, config.wheels, [](const Wheel& wheel) -> const Wheel& { return wheel; });
}

std::string writeConfigFile(const Config& config, const std::vector<std::shared_ptr<const Wheel>>& wheels) {
    return writeConfigWith(config, wheels,
                           [](const std::shared_ptr<const Wheel>& wheel) -> const Wheel& { return *wheel; });
}

} // namespace rondelix
