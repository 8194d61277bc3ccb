#include "support/TreeDecoder.h"

#include "model/ConfigCoding.h"

#include <array>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <type_traits>
#include <utility>
#include <variant>

namespace rondelix::testing {

using nlohmann::json;

namespace {

std::optional<KeyCombo> decodeKeyCombo(const json& value);

// A present, non-null member, or nothing.
const json* member(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

// Reading one value as a field's type; nothing when the JSON type is wrong.
std::optional<int> readInt(const json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned()) {
            const auto v = value.get<std::uint64_t>();
            return v > static_cast<std::uint64_t>(std::numeric_limits<int>::max())
                       ? std::numeric_limits<int>::max()
                       : static_cast<int>(v);
        }
        const auto v = value.get<std::int64_t>();
        if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
        if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
        return static_cast<int>(v);
    }
    // A whole number written with a fraction part (3.0) is still that number.
    if (value.is_number_float()) {
        const double v = value.get<double>();
        if (std::isfinite(v) && v == std::trunc(v) && v >= std::numeric_limits<int>::min() &&
            v <= std::numeric_limits<int>::max())
            return static_cast<int>(v);
    }
    return std::nullopt;
}

std::optional<double> readDouble(const json& value) {
    if (value.is_number()) return value.get<double>();
    return std::nullopt;
}

std::optional<bool> readBool(const json& value) {
    if (value.is_boolean()) return value.get<bool>();
    return std::nullopt;
}

std::optional<std::string> readString(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    return std::nullopt;
}

std::optional<Uuid> readUuid(const json& value) {
    if (!value.is_string()) return std::nullopt;
    return Uuid::parse(value.get_ref<const std::string&>());
}

std::optional<std::vector<int>> readIntList(const json& value) {
    if (!value.is_array()) return std::nullopt;
    std::vector<int> out;
    out.reserve(value.size());
    for (const auto& element : value) {
        const auto v = readInt(element);
        if (!v) return std::nullopt;
        out.push_back(*v);
    }
    return out;
}

// The three field rules. `ok` turns false when an optional field fails.

template <typename T, typename Reader>
T tolerant(const json& object, const char* key, T fallback, Reader read) {
    if (const json* value = member(object, key))
        if (auto v = read(*value)) return *v;
    return fallback;
}

template <typename T, typename Reader>
T optionalField(const json& object, const char* key, T fallback, Reader read, bool& ok) {
    const json* value = member(object, key);
    if (!value) return fallback;
    auto v = read(*value);
    if (!v) {
        ok = false;
        return fallback;
    }
    return std::move(*v);
}

// An optional field whose absence stays absent.
template <typename Reader>
std::optional<std::string> optionalString(const json& object, const char* key, Reader read, bool& ok) {
    const json* value = member(object, key);
    if (!value) return std::nullopt;
    auto v = read(*value);
    if (!v) ok = false;
    return v;
}

template <typename T, typename Decoder>
std::optional<std::vector<T>> readList(const json& value, Decoder decode) {
    if (!value.is_array()) return std::nullopt;
    std::vector<T> out;
    out.reserve(value.size());
    for (const auto& element : value) {
        auto decoded = decode(element);
        if (!decoded) return std::nullopt;
        out.push_back(std::move(*decoded));
    }
    return out;
}

std::optional<std::string> requiredString(const json& payload, const char* key) {
    const json* value = member(payload, key);
    return value ? readString(*value) : std::nullopt;
}

// An optional string payload field: absent stays absent, a wrong type fails.
bool readOptionalString(const json& payload, const char* key, std::optional<std::string>& out) {
    bool ok = true;
    out = optionalString(payload, key, readString, ok);
    return ok;
}

// The cases of the tagged unions. Each case names its key in the file and
// how its payload reads; the decoding tables below are built from the
// variants themselves, so a case added to a union without both does not
// compile.

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
template <typename Case, auto Field> std::optional<Case> stringPayload(const json& payload, const char* key) {
    auto text = requiredString(payload, key);
    if (!text) return std::nullopt;
    Case value;
    value.*Field = std::move(*text);
    return value;
}

// Auto and none ignore whatever their inner object holds.
std::optional<Icon::Auto> readPayload(Tag<Icon::Auto>, const json&) {
    return Icon::Auto{};
}
std::optional<Icon::None> readPayload(Tag<Icon::None>, const json&) {
    return Icon::None{};
}
std::optional<Icon::SfSymbol> readPayload(Tag<Icon::SfSymbol>, const json& payload) {
    return stringPayload<Icon::SfSymbol, &Icon::SfSymbol::name>(payload, "_0");
}
std::optional<Icon::Emoji> readPayload(Tag<Icon::Emoji>, const json& payload) {
    return stringPayload<Icon::Emoji, &Icon::Emoji::text>(payload, "_0");
}
std::optional<Icon::CustomImage> readPayload(Tag<Icon::CustomImage>, const json& payload) {
    return stringPayload<Icon::CustomImage, &Icon::CustomImage::filename>(payload, "filename");
}

std::optional<MacroAction::Text> readPayload(Tag<MacroAction::Text>, const json& payload) {
    return stringPayload<MacroAction::Text, &MacroAction::Text::text>(payload, "_0");
}
std::optional<MacroAction::App> readPayload(Tag<MacroAction::App>, const json& payload) {
    MacroAction::App app;
    if (!readOptionalString(payload, "bundleIdentifier", app.bundleIdentifier)) return std::nullopt;
    if (!readOptionalString(payload, "path", app.path)) return std::nullopt;
    return app;
}
std::optional<MacroAction::Url> readPayload(Tag<MacroAction::Url>, const json& payload) {
    return stringPayload<MacroAction::Url, &MacroAction::Url::url>(payload, "_0");
}
std::optional<MacroAction::SystemAction> readPayload(Tag<MacroAction::SystemAction>, const json& payload) {
    return stringPayload<MacroAction::SystemAction, &MacroAction::SystemAction::id>(payload, "_0");
}
std::optional<MacroAction::Script> readPayload(Tag<MacroAction::Script>, const json& payload) {
    return stringPayload<MacroAction::Script, &MacroAction::Script::source>(payload, "_0");
}
std::optional<MacroAction::Shortcut> readPayload(Tag<MacroAction::Shortcut>, const json& payload) {
    return stringPayload<MacroAction::Shortcut, &MacroAction::Shortcut::name>(payload, "name");
}
std::optional<MacroAction::OpenSettings> readPayload(Tag<MacroAction::OpenSettings>, const json& payload) {
    MacroAction::OpenSettings open;
    if (!readOptionalString(payload, "target", open.target)) return std::nullopt;
    return open;
}
std::optional<MacroAction::Keystroke> readPayload(Tag<MacroAction::Keystroke>, const json& payload) {
    const json* combo = member(payload, "_0");
    if (!combo) return std::nullopt;
    auto decoded = decodeKeyCombo(*combo);
    if (!decoded) return std::nullopt;
    return MacroAction::Keystroke{*decoded};
}

template <typename Union> struct CaseCoding {
    std::string_view key;
    std::optional<Union> (*decode)(const json& payload);
};

template <typename Union, typename Case> std::optional<Union> decodeCase(const json& payload) {
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
// name no case are ignored.
template <typename Union> std::optional<Union> decodeUnion(const json& value) {
    if (!value.is_object()) return std::nullopt;
    const CaseCoding<Union>* found = nullptr;
    const json* payload = nullptr;
    for (const auto& coding : casesOf<Union>) {
        const auto it = value.find(std::string(coding.key));
        if (it == value.end()) continue;
        if (found) return std::nullopt; // "Invalid number of keys found, expected one."
        found = &coding;
        payload = &*it;
    }
    if (!found || !payload->is_object()) return std::nullopt;
    return found->decode(*payload);
}

// An action in the tagged form whose one key names no kind this version
// knows: a newer version wrote it, and it is carried as it stands.
// A known kind whose payload does not read is no such action.
std::optional<MacroAction> unknownAction(const json& value) {
    if (!value.is_object() || value.size() != 1 || !value.begin().value().is_object()) return std::nullopt;
    const std::string& kind = value.begin().key();
    for (const auto& coding : casesOf<MacroAction>)
        if (coding.key == kind) return std::nullopt;
    return MacroAction::Unknown{kind, value.dump()};
}

std::optional<KeyCombo> decodeKeyCombo(const json& value) {
    if (!value.is_object()) return std::nullopt;
    const auto field = [&](const char* key) -> const json* { return member(value, key); };
    KeyCombo combo;
    const json* keyCode = field("keyCode");
    if (!keyCode) return std::nullopt;
    const auto code = readInt(*keyCode);
    if (!code) return std::nullopt;
    combo.keyCode = *code;
    for (auto [key, target] : {std::pair{"command", &combo.primary}, std::pair{"shift", &combo.shift},
                               std::pair{"option", &combo.alt}, std::pair{"control", &combo.control}}) {
        const json* flag = field(key);
        if (!flag) return std::nullopt;
        const auto b = readBool(*flag);
        if (!b) return std::nullopt;
        *target = *b;
    }
    if (const json* super = field("super")) {
        const auto b = readBool(*super);
        if (!b) return std::nullopt;
        combo.super = *b;
    }
    return combo;
}

std::optional<Icon> decodeIcon(const json& value) {
    return decodeUnion<Icon>(value);
}

std::optional<MacroAction> decodeAction(const json& value) {
    if (auto action = decodeUnion<MacroAction>(value)) return action;
    return unknownAction(value);
}

std::optional<Slice> decodeSlice(const json& value) {
    if (!value.is_object()) return std::nullopt;
    Slice slice;
    slice.id = tolerant(value, "id", Config::recoveredIdSentinel, readUuid);
    slice.position = tolerant(value, "position", 0, readInt);
    slice.label = tolerant(value, "label", std::string(), readString);
    slice.icon = tolerant(value, "icon", Icon(Icon::None{}), decodeIcon);
    slice.action = tolerant(value, "action", MacroAction(MacroAction::Text{}), decodeAction);
    return slice;
}

std::optional<Wheel> decodeWheel(const json& value) {
    if (!value.is_object()) return std::nullopt;
    bool ok = true;
    Wheel wheel;
    wheel.id = tolerant(value, "id", std::string(), readString);
    wheel.name = tolerant(value, "name", std::string("Wheel"), readString);
    wheel.sliceCount = optionalField(value, "sliceCount", 8, readInt, ok);
    wheel.slices = optionalField(
        value, "slices", std::vector<Slice>{}, [](const json& v) { return readList<Slice>(v, decodeSlice); },
        ok);
    wheel.appBundleIdentifier = optionalString(value, "appBundleIdentifier", readString, ok);
    if (!ok) return std::nullopt;
    return wheel;
}

std::optional<SummonBinding> decodeBinding(const json& value) {
    if (!value.is_object()) return std::nullopt;
    SummonBinding binding;
    binding.id = tolerant(value, "id", Config::recoveredIdSentinel, readUuid);
    binding.holdThresholdMs = tolerant(value, "holdThresholdMs", 100, readInt);
    binding.enabled = tolerant(value, "enabled", true, readBool);

    // Older files kept one key code, or only a kind.
    if (const json* list = member(value, "keyCodes"); list && readIntList(*list)) {
        binding.keyCodes = *readIntList(*list);
    } else if (const json* single = member(value, "keyCode"); single && readInt(*single)) {
        binding.keyCodes = {*readInt(*single)};
    } else if (const json* kind = member(value, "kind"); kind && kind->is_string()) {
        binding.keyCodes = {kind->get_ref<const std::string&>() == "capsLock" ? -1 : 58};
    } else {
        binding.keyCodes = {58};
    }
    return binding;
}

std::optional<General> decodeGeneral(const json& value) {
    if (!value.is_object()) return std::nullopt;
    bool ok = true;
    General general;
    general.launchAtLogin = optionalField(value, "launchAtLogin", false, readBool, ok);
    if (!ok) return std::nullopt;
    return general;
}

std::optional<Behavior> decodeBehavior(const json& value) {
    if (!value.is_object()) return std::nullopt;
    bool ok = true;
    Behavior b;
    const auto real = [&](const char* key, double& field) {
        field = optionalField(value, key, field, readDouble, ok);
    };
    const auto integer = [&](const char* key, int& field) {
        field = optionalField(value, key, field, readInt, ok);
    };
    const auto flag = [&](const char* key, bool& field) {
        field = optionalField(value, key, field, readBool, ok);
    };
    const auto text = [&](const char* key, std::string& field) {
        field = optionalField(value, key, field, readString, ok);
    };

    // Files written before sticky aim existed keep it off.
    b.stickyAim = false;

    real("wheelSize", b.wheelSize);
    b.position = tolerant(value, "position", Behavior::Position::cursor, [](const json& v) {
        return v.is_string() ? positionFromString(v.get<std::string>()) : std::nullopt;
    });
    flag("emptySliceOpensEditor", b.emptySliceOpensEditor);
    flag("stickyAim", b.stickyAim);
    flag("closeFadeEnabled", b.closeFadeEnabled);
    integer("closeFadeMs", b.closeFadeMs);
    real("opacity", b.opacity);
    flag("soundEnabled", b.soundEnabled);
    real("soundVolume", b.soundVolume);
    text("aimSoundName", b.aimSoundName);
    text("fireSoundName", b.fireSoundName);
    flag("hapticsEnabled", b.hapticsEnabled);
    flag("liquidGlassEnabled", b.liquidGlassEnabled);
    text("accentHex", b.accentHex);
    real("accentStrength", b.accentStrength);
    flag("reopenLastWheel", b.reopenLastWheel);
    flag("tabCyclesWheels", b.tabCyclesWheels);
    flag("numpadDirectSlice", b.numpadDirectSlice);
    flag("shiftTapCyclesBackward", b.shiftTapCyclesBackward);
    real("scrollSensitivity", b.scrollSensitivity);
    flag("invertScroll", b.invertScroll);
    flag("detectApp", b.detectApp);
    b.heldArrowMode =
        tolerant(value, "heldArrowMode", Behavior::HeldArrowMode::untilReleased, [](const json& v) {
            return v.is_string() ? heldArrowModeFromString(v.get<std::string>()) : std::nullopt;
        });
    integer("heldArrowDelayMs", b.heldArrowDelayMs);
    flag("releaseGraceEnabled", b.releaseGraceEnabled);
    integer("releaseGraceMs", b.releaseGraceMs);
    if (!ok) return std::nullopt;
    return b;
}

std::optional<Config> decodeConfig(const json& value) {
    if (!value.is_object()) return std::nullopt;
    bool ok = true;
    Config config;
    config.version = optionalField(value, "version", 1, readInt, ok);
    config.bindings = optionalField(
        value, "bindings", std::vector<SummonBinding>{},
        [](const json& v) { return readList<SummonBinding>(v, decodeBinding); }, ok);
    config.behavior = optionalField(value, "behavior", Behavior{}, decodeBehavior, ok);
    config.general = optionalField(value, "general", General{}, decodeGeneral, ok);
    config.wheels = optionalField(
        value, "wheels", std::vector<Wheel>{}, [](const json& v) { return readList<Wheel>(v, decodeWheel); },
        ok);
    config.lastUsedWheelId = optionalField(value, "lastUsedWheelId", std::string("default"), readString, ok);
    config.exportedIcons =
        tolerant(value, "exportedIcons", std::optional<std::map<std::string, std::string>>{},
                 [](const json& v) -> std::optional<std::optional<std::map<std::string, std::string>>> {
                     if (!v.is_object()) return std::nullopt;
                     std::map<std::string, std::string> icons;
                     for (const auto& [name, data] : v.items()) {
                         if (!data.is_string()) return std::nullopt;
                         icons.emplace(name, data.get<std::string>());
                     }
                     return icons;
                 });
    if (!ok) return std::nullopt;
    return config;
}
// Any whole number in range; a number written with a fraction part of zero
// is still a whole number.
std::optional<std::int64_t> readInteger(const json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return value.get<std::int64_t>();
    }
    if (!value.is_number_float()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::trunc(number) != number || std::abs(number) >= 0x1p63)
        return std::nullopt;
    return static_cast<std::int64_t>(number);
}

std::optional<SharedWheel> decodeSharedWheel(const json& document) {
    if (!document.is_object()) return std::nullopt;
    const auto version = document.find("rondixVersion");
    const auto wheel = document.find("wheel");
    const auto icons = document.find("icons");
    if (version == document.end() || wheel == document.end() || icons == document.end()) return std::nullopt;

    SharedWheel shared;
    const auto number = readInteger(*version);
    if (!number) return std::nullopt;
    shared.rondixVersion = *number;

    auto decoded = decodeWheel(*wheel);
    if (!decoded) return std::nullopt;
    shared.wheel = std::move(*decoded);

    if (!icons->is_object()) return std::nullopt;
    for (const auto& [name, text] : icons->items()) {
        if (!text.is_string()) return std::nullopt;
        shared.icons.emplace(name, text.get<std::string>());
    }
    return shared;
}

} // namespace

std::optional<Config> treeDecodeConfig(std::string_view bytes) {
    const auto document = parseJson(bytes);
    return document ? decodeConfig(*document) : std::nullopt;
}

std::optional<SharedWheel> treeDecodeSharedWheel(std::string_view bytes) {
    const auto document = parseJson(bytes);
    return document ? decodeSharedWheel(*document) : std::nullopt;
}

std::optional<std::set<std::string>> treeTopLevelKeys(std::string_view bytes) {
    const auto document = parseJson(bytes);
    if (!document || !document->is_object()) return std::nullopt;
    std::set<std::string> keys;
    for (const auto& member : document->items())
        keys.insert(member.key());
    return keys;
}

} // namespace rondelix::testing
