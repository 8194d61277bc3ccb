#include "editor/SliceFormKinds.h"

#include "editor/SliceFormScriptExamples.h"

#include <gtest/gtest.h>

using namespace rondelix;
using namespace rondelix::SliceFormKinds;

namespace {

TEST(SliceFormKinds, IconKindsStartFreshWhateverWasThere) {
    struct Case {
        IconKind kind;
        std::string_view title;
        Icon written;
    };
    const std::vector<Case> cases{
        {IconKind::automatic, "Auto", Icon::Auto{}},
        {IconKind::symbol, "Symbol", Icon::SfSymbol{"star.fill"}},
        {IconKind::emoji, "Emoji", Icon::Emoji{"✨"}},
        {IconKind::image, "Image", Icon::CustomImage{""}},
        {IconKind::none, "None", Icon::None{}},
    };
    ASSERT_EQ(cases.size(), allIconKinds.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(allIconKinds[i], c.kind) << "menu order";
        EXPECT_EQ(title(c.kind), c.title);
        EXPECT_EQ(iconKindFromTitle(c.title), c.kind);
        EXPECT_EQ(startingIcon(c.kind), c.written) << c.title;
        EXPECT_EQ(kindOf(c.written), c.kind);
    }
    EXPECT_EQ(kindOf(Icon::SfSymbol{"bolt"}), IconKind::symbol);
    EXPECT_EQ(kindOf(Icon::Emoji{"😀"}), IconKind::emoji);
    EXPECT_FALSE(iconKindFromTitle("auto"));
}

TEST(SliceFormKinds, ActionKindsWriteTheirDefaultsInMenuOrder) {
    struct Case {
        ActionKind kind;
        std::string_view title;
        MacroAction written;
    };
    const std::vector<Case> cases{
        {ActionKind::text, "Text", MacroAction::Text{""}},
        {ActionKind::app, "App", MacroAction::App{std::nullopt, std::nullopt}},
        {ActionKind::url, "URL", MacroAction::Url{"https://"}},
        {ActionKind::shortcut, "Automations", MacroAction::Shortcut{""}},
        {ActionKind::systemAction, "System", MacroAction::SystemAction{"toggle-dark-mode"}},
        {ActionKind::script, "Script", MacroAction::Script{""}},
        {ActionKind::keystroke, "Keystroke", MacroAction::Keystroke{KeyCombo{8, true, false, false, false}}},
        {ActionKind::openSettings, "Rondelix", MacroAction::OpenSettings{std::nullopt}},
    };
    ASSERT_EQ(cases.size(), allActionKinds.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(allActionKinds[i], c.kind) << "menu order";
        EXPECT_EQ(title(c.kind), c.title);
        EXPECT_EQ(actionKindFromTitle(c.title), c.kind);
        EXPECT_EQ(defaultAction(c.kind), c.written) << c.title;
        EXPECT_EQ(kindOf(c.written), c.kind);
        EXPECT_FALSE(caption(c.kind).empty());
    }
    EXPECT_EQ(caption(ActionKind::keystroke), "Sends a shortcut (like Ctrl+C) to the app you're in.");
}

TEST(SliceFormKinds, WarnsOnlyWhileTheActionDoesNothing) {
    const std::string tail = " — this slice won't do anything when fired.";
    const std::vector<std::pair<MacroAction, std::optional<std::string>>> cases{
        {MacroAction::Text{""}, "No text entered yet" + tail},
        {MacroAction::Text{" "}, std::nullopt},
        {MacroAction::App{}, "No app chosen yet" + tail},
        {MacroAction::App{"", ""}, "No app chosen yet" + tail},
        {MacroAction::App{std::nullopt, "/usr/bin/xterm"}, std::nullopt},
        {MacroAction::Url{"https://"}, "No link entered yet" + tail},
        {MacroAction::Url{" http:// \n"}, "No link entered yet" + tail},
        {MacroAction::Url{"example.org"}, std::nullopt},
        {MacroAction::SystemAction{""}, "No system action chosen yet" + tail},
        {MacroAction::SystemAction{"no-such-action"}, std::nullopt},
        {MacroAction::Script{" \n\t"}, "No script entered yet" + tail},
        {MacroAction::Shortcut{""}, "No automation chosen yet" + tail},
        {MacroAction::Shortcut{"Backup"}, std::nullopt},
        {MacroAction::Keystroke{KeyCombo{}}, std::nullopt},
        {MacroAction::OpenSettings{}, std::nullopt},
        {MacroAction::Unknown{"teleport", R"({"teleport":{}})"},
         "This slice needs a newer version of Rondelix."},
    };
    for (const auto& [action, warning] : cases)
        EXPECT_EQ(unconfiguredWarning(action), warning) << static_cast<int>(action.value.index());
}

TEST(SliceFormScriptExamples, KeepSevenSectionsWithoutTheOtherSystemsTools) {
    const auto sections = SliceFormScriptExamples::sections();
    const std::vector<std::pair<std::string_view, std::size_t>> shape{
        {"Media & Sound", 3},
        {"Apps & Windows", 2},
        {"Files & Folders", 2},
        {"Clipboard & Text", 3},
        {"Web", 2},
        {"Notifications & Voice", 3},
        {"Learn more (opens in your browser)", 2}};
    ASSERT_EQ(sections.size(), shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) {
        EXPECT_EQ(sections[i].title, shape[i].first);
        EXPECT_EQ(sections[i].items.size(), shape[i].second) << shape[i].first;
        for (const auto& item : sections[i].items) {
            const bool isLink = item.kind == SliceFormScriptExamples::Item::Kind::link;
            EXPECT_EQ(isLink, i + 1 == shape.size()) << item.title;
            if (isLink) {
                EXPECT_TRUE(item.text.starts_with("https://")) << item.title;
            }
            EXPECT_FALSE(item.text.starts_with("open ") || item.text.starts_with("say ")) << item.title;
            // Neither the other system's tools nor ones a default desktop lacks.
            for (const std::string_view foreign :
                 {"osascript", "pbcopy", "pbpaste", "open -a", "xclip", "xsel", "notify-send"})
                EXPECT_EQ(item.text.find(foreign), std::string_view::npos) << item.title;
        }
    }
}

} // namespace
