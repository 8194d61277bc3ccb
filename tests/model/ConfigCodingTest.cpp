#include "model/ConfigCoding.h"

#include "support/TreeEncoder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace rondelix;
using nlohmann::json;
using rondelix::testing::encode;

namespace {

std::optional<Config> decode(const char* text) {
    return decodeConfigBytes(text);
}

// One of the record decoders over the text of a JSON value.
template <typename Decode> auto decodeJson(Decode decode, const json& value) {
    return decodeDocument(value.dump(), decode);
}

json sliceJson(json icon, json action) {
    return {{"id", "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B"},
            {"position", 2},
            {"label", "L"},
            {"icon", icon},
            {"action", action}};
}

Slice decodeOneSlice(json icon, json action) {
    auto slice = decodeJson(decodeSlice, sliceJson(std::move(icon), std::move(action)));
    EXPECT_TRUE(slice);
    return slice.value_or(Slice{});
}

const json goodCombo = {
    {"keyCode", 12}, {"command", true}, {"shift", false}, {"option", false}, {"control", true}};

} // namespace

TEST(ConfigCoding, EmptyObjectGivesTheDocumentedDefaults) {
    const auto config = decode("{}");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->version, 1);
    EXPECT_TRUE(config->bindings.empty());
    EXPECT_EQ(config->behavior, Behavior{});
    EXPECT_TRUE(config->behavior.stickyAim) << "no behavior object keeps sticky aim on";
    EXPECT_FALSE(config->general.launchAtLogin);
    EXPECT_TRUE(config->wheels.empty());
    EXPECT_EQ(config->lastUsedWheelId, "default");
    EXPECT_FALSE(config->exportedIcons);
}

TEST(ConfigCoding, ConfigFieldsFailOnWrongTypesAndTolerateBrokenExportedIcons) {
    for (const char* bad :
         {R"({"version":"19"})", R"({"bindings":{}})", R"({"bindings":[3]})", R"({"behavior":[]})",
          R"({"general":{"launchAtLogin":"yes"}})", R"({"general":1})", R"({"wheels":{}})",
          R"({"lastUsedWheelId":4})", "[]", "3", "", "{", "nul"}) {
        EXPECT_FALSE(decode(bad)) << bad;
    }
    for (
        const char* nulls :
        {R"({"version":null,"bindings":null,"behavior":null,"general":null,"wheels":null,"lastUsedWheelId":null})"}) {
        const auto config = decode(nulls);
        ASSERT_TRUE(config);
        EXPECT_EQ(config->version, 1);
        EXPECT_EQ(config->lastUsedWheelId, "default");
    }
    EXPECT_FALSE(decode(R"({"exportedIcons":5})")->exportedIcons);
    EXPECT_FALSE(decode(R"({"exportedIcons":{"a.png":3}})")->exportedIcons);
    EXPECT_EQ(decode(R"({"exportedIcons":{"a.png":"QUJD"}})")->exportedIcons->at("a.png"), "QUJD");
    EXPECT_EQ(decode(R"({"unknown":{"deep":[1,2]},"version":7})")->version, 7);
}

TEST(ConfigCoding, BindingsFallBackThroughTheLegacyKeys) {
    const auto keyCodesOf = [](const char* binding) {
        const auto b = decodeJson(decodeBinding, json::parse(binding));
        EXPECT_TRUE(b) << binding;
        return b ? b->keyCodes : std::vector<int>{};
    };
    EXPECT_EQ(keyCodesOf(R"({"keyCodes":[55,49]})"), (std::vector<int>{55, 49}));
    EXPECT_EQ(keyCodesOf(R"({"keyCode":61})"), (std::vector<int>{61}));
    EXPECT_EQ(keyCodesOf(R"({"kind":"capsLock"})"), (std::vector<int>{-1}));
    EXPECT_EQ(keyCodesOf(R"({"kind":"CapsLock"})"), (std::vector<int>{58}));
    EXPECT_EQ(keyCodesOf(R"({})"), (std::vector<int>{58}));
    EXPECT_EQ(keyCodesOf(R"({"keyCodes":"x","keyCode":49})"), (std::vector<int>{49}));
    EXPECT_EQ(keyCodesOf(R"({"keyCodes":[1,"2"],"kind":"other"})"), (std::vector<int>{58}));

    const auto tolerant =
        decodeJson(decodeBinding, json::parse(R"({"id":"nope","holdThresholdMs":"slow","enabled":1})"));
    ASSERT_TRUE(tolerant);
    EXPECT_EQ(tolerant->id, Config::recoveredIdSentinel);
    EXPECT_EQ(tolerant->holdThresholdMs, 100);
    EXPECT_TRUE(tolerant->enabled);
    EXPECT_FALSE(decodeJson(decodeBinding, json::array()));

    const json written =
        encode(*decodeJson(decodeBinding, json::parse(R"({"keyCode":61,"kind":"capsLock"})")));
    EXPECT_EQ(written["keyCodes"], json::array({61}));
    EXPECT_FALSE(written.contains("keyCode"));
    EXPECT_FALSE(written.contains("kind"));
}

TEST(ConfigCoding, WheelsFailOnlyOnTheirOptionalFields) {
    const auto wheel = decodeJson(decodeWheel, json::parse(R"({"name":5,"sliceCount":20})"));
    ASSERT_TRUE(wheel);
    EXPECT_EQ(wheel->id, "");
    EXPECT_EQ(wheel->name, "Wheel");
    EXPECT_EQ(wheel->sliceCount, 20) << "the decoder never clamps";
    EXPECT_EQ(decodeJson(decodeWheel, json::parse("{}"))->sliceCount, 8);
    for (const char* bad : {R"({"sliceCount":"8"})", R"({"slices":{}})", R"({"slices":[1]})",
                            R"({"appBundleIdentifier":3})", R"({"sliceCount":2.5})"}) {
        EXPECT_FALSE(decodeJson(decodeWheel, json::parse(bad))) << bad;
    }
    EXPECT_FALSE(decode(R"({"wheels":[{"id":"a"},{"sliceCount":"x"}]})"))
        << "one bad wheel fails the configuration";
}

TEST(ConfigCoding, SlicesTolerateEveryField) {
    const auto slice = decodeJson(
        decodeSlice, json::parse(R"({"id":"not-a-uuid","position":"top","label":7,"icon":1,"action":[]})"));
    ASSERT_TRUE(slice);
    EXPECT_EQ(slice->id, Config::recoveredIdSentinel);
    EXPECT_EQ(slice->position, 0);
    EXPECT_EQ(slice->label, "");
    EXPECT_EQ(slice->icon, Icon(Icon::None{}));
    EXPECT_EQ(slice->action, MacroAction(MacroAction::Text{""}));
    EXPECT_EQ(
        decodeJson(decodeSlice, json::parse(R"({"id":"6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b"})"))->id.text(),
        "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B");
}

TEST(ConfigCoding, UnionsNeedExactlyOneCaseHoldingAnObject) {
    EXPECT_EQ(decodeOneSlice({{"emoji", {{"_0", "x"}}}, {"auto", json::object()}}, {}).icon,
              Icon(Icon::None{}));
    EXPECT_EQ(decodeOneSlice({{"emoji", {{"_0", "x"}}}, {"unrelated", 1}}, {}).icon, Icon(Icon::Emoji{"x"}));
    EXPECT_EQ(decodeOneSlice({{"auto", true}}, {}).icon, Icon(Icon::None{}));
    EXPECT_EQ(decodeOneSlice({{"auto", {{"ignored", 1}}}}, {}).icon, Icon(Icon::Auto{}));
    EXPECT_EQ(decodeOneSlice({{"sfSymbol", json::object()}}, {}).icon, Icon(Icon::None{}));
    EXPECT_EQ(decodeOneSlice({{"customImage", {{"_0", "a.png"}}}}, {}).icon, Icon(Icon::None{}));

    json missingControl = goodCombo;
    missingControl.erase("control");
    EXPECT_EQ(decodeOneSlice({}, {{"keystroke", {{"_0", missingControl}}}}).action,
              MacroAction(MacroAction::Text{}));
    EXPECT_EQ(decodeOneSlice({}, {{"app", {{"path", 3}}}}).action, MacroAction(MacroAction::Text{}));
    EXPECT_EQ(decodeOneSlice({}, {{"shortcut", {{"_0", "S"}}}}).action, MacroAction(MacroAction::Text{}));
    EXPECT_EQ(decodeOneSlice({}, {{"text", {{"_0", "a"}}}, {"url", {{"_0", "b"}}}}).action,
              MacroAction(MacroAction::Text{}));

    const Slice bareApp = decodeOneSlice({}, {{"app", json::object()}});
    EXPECT_EQ(bareApp.action, MacroAction(MacroAction::App{}));
    EXPECT_EQ(encode(bareApp.action), json::parse(R"({"app":{}})"));
}

TEST(ConfigCoding, EveryIconAndActionCaseHasItsFileFormAndRoundTrips) {
    const std::vector<std::pair<Icon, const char*>> icons{
        {Icon::Auto{}, R"({"auto":{}})"},
        {Icon::None{}, R"({"none":{}})"},
        {Icon::SfSymbol{"star.fill"}, R"({"sfSymbol":{"_0":"star.fill"}})"},
        {Icon::Emoji{"🚀"}, R"({"emoji":{"_0":"🚀"}})"},
        {Icon::CustomImage{"a.png"}, R"({"customImage":{"filename":"a.png"}})"},
    };
    for (const auto& [icon, form] : icons) {
        EXPECT_EQ(encode(icon), json::parse(form)) << form;
        EXPECT_EQ(decodeJson(decodeIcon, json::parse(form)), icon) << form;
    }

    const std::vector<std::pair<MacroAction, const char*>> actions{
        {MacroAction::Text{"hello\nworld"}, R"({"text":{"_0":"hello\nworld"}})"},
        {MacroAction::App{"org.gnome.Calculator", std::nullopt},
         R"({"app":{"bundleIdentifier":"org.gnome.Calculator"}})"},
        {MacroAction::App{std::nullopt, "/usr/bin/xterm"}, R"({"app":{"path":"/usr/bin/xterm"}})"},
        {MacroAction::App{"a", "b"}, R"({"app":{"bundleIdentifier":"a","path":"b"}})"},
        {MacroAction::App{}, R"({"app":{}})"},
        {MacroAction::Url{"https://example.org"}, R"({"url":{"_0":"https://example.org"}})"},
        {MacroAction::SystemAction{"toggle-dark-mode"}, R"({"systemAction":{"_0":"toggle-dark-mode"}})"},
        {MacroAction::Script{"echo hi"}, R"({"script":{"_0":"echo hi"}})"},
        {MacroAction::Shortcut{"Toggle Focus"}, R"({"shortcut":{"name":"Toggle Focus"}})"},
        {MacroAction::OpenSettings{"open-wheel-behavior"},
         R"({"openSettings":{"target":"open-wheel-behavior"}})"},
        {MacroAction::OpenSettings{}, R"({"openSettings":{}})"},
        {MacroAction::Keystroke{KeyCombo{12, true, false, true, false}},
         R"({"keystroke":{"_0":{"keyCode":12,"command":true,"shift":false,"option":true,"control":false}}})"},
        // Super is written only when held: files without it read as before.
        {MacroAction::Keystroke{KeyCombo{.keyCode = 38, .super = true}},
         R"({"keystroke":{"_0":{"keyCode":38,"command":false,"shift":false,"option":false,"control":false,)"
         R"("super":true}}})"},
    };
    for (const auto& [action, form] : actions) {
        EXPECT_EQ(encode(action), json::parse(form)) << form;
        EXPECT_EQ(decodeJson(decodeAction, json::parse(form)), action) << form;
    }
}

TEST(ConfigCoding, ActionOfAKindOnlyANewerVersionKnowsIsCarriedAsItStands) {
    const json newer = json::parse(R"({"teleport":{"to":[1,{"b":"\u00e9","a":null}],"speed":2.5}})");
    const MacroAction carried = decodeOneSlice({}, newer).action;
    ASSERT_TRUE(carried.is<MacroAction::Unknown>());
    EXPECT_EQ(carried.as<MacroAction::Unknown>()->kind, "teleport");
    EXPECT_EQ(encode(carried), newer);

    // Only the tagged form of a kind this version does not know is carried;
    // anything else is the empty text the rules give.
    for (const char* other : {R"({"keystroke":{"_0":{"keyCode":1}}})", R"({"teleport":{},"warp":{}})",
                              R"({"teleport":3})", R"({})"}) {
        EXPECT_EQ(decodeOneSlice({}, json::parse(other)).action, MacroAction(MacroAction::Text{})) << other;
    }

    Config config;
    config.wheels.push_back({"w", "W", 8, {decodeOneSlice({}, newer)}, std::nullopt});
    const std::string file = writeConfigFile(config);
    EXPECT_EQ(decodeConfigBytes(file), config);
    EXPECT_NE(file.find(R"("speed": 2.5)"), std::string::npos) << file;
}

TEST(ConfigCoding, BehaviorFollowsItsFieldRules) {
    const auto empty = decodeJson(decodeBehavior, json::object());
    ASSERT_TRUE(empty);
    Behavior expected;
    expected.stickyAim = false;
    EXPECT_EQ(*empty, expected);
    EXPECT_EQ(decodeJson(decodeBehavior, encode(*empty)), empty);

    for (const char* position : {R"("center")", R"("Cursor")", "3", "null", R"("cursor")"}) {
        const auto b =
            decodeJson(decodeBehavior, json::parse(std::string(R"({"position":)") + position + "}"));
        ASSERT_TRUE(b) << position;
        EXPECT_EQ(b->position, Behavior::Position::cursor) << position;
    }
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"position":"textCaret"})"))->position,
              Behavior::Position::textCaret);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"position":"screenCenter"})"))->position,
              Behavior::Position::screenCenter);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"heldArrowMode":"Delay"})"))->heldArrowMode,
              Behavior::HeldArrowMode::untilReleased);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"heldArrowMode":"delay"})"))->heldArrowMode,
              Behavior::HeldArrowMode::delay);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"wheelSize":400})"))->wheelSize, 400.0);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"wheelSize":5000,"soundVolume":-3})"))->wheelSize,
              5000.0);
    EXPECT_EQ(decodeJson(decodeBehavior, json::parse(R"({"accentHex":""})"))->accentHex, "");

    for (const char* bad : {R"({"soundEnabled":1})", R"({"closeFadeMs":2.5})", R"({"wheelSize":"big"})",
                            R"({"aimSoundName":false})", R"({"releaseGraceMs":"300"})", "[]"}) {
        EXPECT_FALSE(decodeJson(decodeBehavior, json::parse(bad))) << bad;
        EXPECT_FALSE(decode((std::string(R"({"behavior":)") + bad + "}").c_str())) << bad;
    }
}

TEST(ConfigCoding, ConfigRoundTripsAndIsWrittenSortedAndPretty) {
    Config config;
    config.version = 19;
    config.bindings.push_back({Uuid::generate(), {58, 1001}, 250, false});
    config.behavior.position = Behavior::Position::textCaret;
    config.behavior.wheelSize = 333.5;
    config.general.launchAtLogin = true;
    Wheel wheel;
    wheel.id = "default";
    wheel.name = "Main";
    wheel.sliceCount = 6;
    wheel.appBundleIdentifier = "org.gnome.TextEditor";
    wheel.slices.push_back(
        {Uuid::generate(), 3, "Copy", Icon::SfSymbol{"doc"}, MacroAction::Keystroke{{8, true}}});
    config.wheels.push_back(wheel);
    config.lastUsedWheelId = "default";
    config.exportedIcons = std::map<std::string, std::string>{{"x.png", "AAAA"}};

    const std::string file = writeConfigFile(config);
    const auto again = decodeConfigBytes(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, config);
    EXPECT_EQ(writeConfigFile(*again), file);

    EXPECT_LT(file.find("\"behavior\""), file.find("\"bindings\""));
    EXPECT_LT(file.find("\"accentHex\""), file.find("\"wheelSize\""));
    EXPECT_NE(file.find("\n  \"version\": 19"), std::string::npos);

    Config withoutIcons = config;
    withoutIcons.exportedIcons.reset();
    EXPECT_NE(withoutIcons, config);
    EXPECT_FALSE(encode(withoutIcons).contains("exportedIcons"));
    EXPECT_FALSE(encode(Wheel{}).contains("appBundleIdentifier"));
}

TEST(ConfigCoding, HostileBytesGiveAFailureNotACrash) {
    EXPECT_FALSE(decodeConfigBytes(std::string(100000, '[')));
    EXPECT_FALSE(decodeConfigBytes(std::string(100000, '{')));
    EXPECT_FALSE(decodeConfigBytes("{\"wheels\":[{\"name\":\"\xff\xfe\"}]}"));
    EXPECT_FALSE(decodeConfigBytes(std::string("{\"a\":\0}", 7)));

    const std::string huge = "{\"lastUsedWheelId\":\"" + std::string(50u << 20, 'x') + "\"}";
    const auto config = decodeConfigBytes(huge);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->lastUsedWheelId.size(), 50u << 20);

    // Nesting inside strings is only text.
    const auto bracketsInText = decodeConfigBytes("{\"lastUsedWheelId\":\"" + std::string(5000, '[') + "\"}");
    ASSERT_TRUE(bracketsInText);

    // Integers beyond the field's range saturate instead of wrapping.
    EXPECT_EQ(decodeJson(decodeWheel, json::parse(R"({"sliceCount":99999999999})"))->sliceCount,
              std::numeric_limits<int>::max());
    EXPECT_EQ(decodeJson(decodeWheel, json::parse(R"({"sliceCount":-99999999999})"))->sliceCount,
              std::numeric_limits<int>::min());
    EXPECT_EQ(decodeJson(decodeWheel, json::parse(R"({"sliceCount":6.0})"))->sliceCount, 6);

    // Pseudo-random byte soup: every input yields a value or nothing.
    std::uint32_t seed = 12345;
    const std::string alphabet = "{}[]\":,0123456789.-eEtrufalsn \\u\"abcwheelsbindings";
    for (int round = 0; round < 2000; ++round) {
        std::string soup;
        const int length = static_cast<int>(seed % 64);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            soup.push_back(alphabet[(seed >> 16) % alphabet.size()]);
        }
        (void)decodeConfigBytes(soup);
    }
}

TEST(ConfigCoding, TextThatIsNotUtf8IsWrittenWithoutThrowing) {
    Config config;
    config.lastUsedWheelId = "bad\xff";
    const std::string file = writeConfigFile(config);
    EXPECT_TRUE(decodeConfigBytes(file));
}
