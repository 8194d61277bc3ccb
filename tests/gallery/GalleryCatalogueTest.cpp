#include "catalog/SystemAction.h"
#include "gallery/WheelGallery.h"
#include "model/ActionClassification.h"
#include "model/KeyComboText.h"
#include "support/GalleryWheelById.h"
#include "util/UrlSyntax.h"
#include "util/Utf8.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace rondelix;
using Category = GalleryWheel::Category;

// Every total the catalogue promises, recounted from the data itself.
namespace {

enum class Kind { keystroke, link, systemAction, text, other };

Kind kindOf(const MacroAction& action) {
    if (action.is<MacroAction::Keystroke>()) return Kind::keystroke;
    if (action.is<MacroAction::Url>()) return Kind::link;
    if (action.is<MacroAction::SystemAction>()) return Kind::systemAction;
    if (action.is<MacroAction::Text>()) return Kind::text;
    return Kind::other;
}

// The modifier set in the catalogue's own notation.
std::string modifiers(const KeyCombo& combo) {
    return std::string(combo.control ? "⌃" : "") + (combo.alt ? "⌥" : "") + (combo.shift ? "⇧" : "") +
           (combo.super ? "❖" : "") + (combo.primary ? "⌘" : "");
}

std::size_t characters(std::string_view text) {
    return utf8::decode(text).size();
}

std::map<Kind, int> kindsOf(const GalleryWheel& g) {
    std::map<Kind, int> kinds;
    for (const Slice& s : g.wheel.slices)
        ++kinds[kindOf(s.action)];
    return kinds;
}

std::vector<const Slice*> allSlices() {
    std::vector<const Slice*> slices;
    for (const GalleryWheel& g : WheelGallery::all())
        for (const Slice& s : g.wheel.slices)
            slices.push_back(&s);
    return slices;
}

} // namespace

TEST(GalleryCatalogue, WheelsAreWholeAndUniquelyNamed) {
    const auto& all = WheelGallery::all();
    ASSERT_EQ(all.size(), 61u);
    std::set<std::string> ids;
    std::map<int, int> slotCounts;
    for (const GalleryWheel& g : all) {
        SCOPED_TRACE(g.id);
        EXPECT_TRUE(g.id.starts_with("gallery-"));
        EXPECT_TRUE(std::all_of(g.id.begin(), g.id.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        }));
        EXPECT_TRUE(ids.insert(g.id).second);
        EXPECT_EQ(g.wheel.id, g.id);
        EXPECT_FALSE(g.wheel.appBundleIdentifier);
        EXPECT_FALSE(containsCode(g.wheel));
        EXPECT_EQ(g.wheel.sliceCount, static_cast<int>(g.wheel.slices.size()));
        for (std::size_t i = 0; i < g.wheel.slices.size(); ++i)
            EXPECT_EQ(g.wheel.slices[i].position, static_cast<int>(i));
        ++slotCounts[g.wheel.sliceCount];
        const auto summaryLength = characters(g.summary);
        EXPECT_GE(summaryLength, 48u);
        EXPECT_LE(summaryLength, 88u);
        EXPECT_TRUE(g.summary.ends_with("."));
        EXPECT_EQ(std::count(g.extraCategories.begin(), g.extraCategories.end(), g.category), 0);
    }
    EXPECT_EQ(slotCounts, (std::map<int, int>{{4, 1}, {5, 1}, {6, 6}, {7, 10}, {8, 43}}));
    EXPECT_EQ(testsupport::galleryWheel("gallery-teams").wheel.sliceCount, 5);
    EXPECT_EQ(testsupport::galleryWheel("gallery-screenshots").wheel.sliceCount, 4);
    EXPECT_EQ(allSlices().size(), 459u);
}

TEST(GalleryCatalogue, CategoriesAndExtraRows) {
    std::map<Category, int> primary;
    std::map<std::string, std::vector<Category>> extras;
    for (const GalleryWheel& g : WheelGallery::all()) {
        ++primary[g.category];
        if (!g.extraCategories.empty()) extras[g.id] = g.extraCategories;
    }
    EXPECT_EQ(primary, (std::map<Category, int>{{Category::apps, 30},
                                                {Category::productivity, 10},
                                                {Category::system, 6},
                                                {Category::web, 9},
                                                {Category::music, 1},
                                                {Category::fun, 5}}));
    const std::map<std::string, std::vector<Category>> expected{
        {"gallery-browser", {Category::web}},
        {"gallery-safari", {Category::web}},
        {"gallery-apple-music", {Category::fun, Category::music}},
        {"gallery-spotify", {Category::fun, Category::music}},
        {"gallery-chrome", {Category::web}},
        {"gallery-notion", {Category::productivity}},
        {"gallery-obsidian", {Category::productivity}},
        {"gallery-rectangle", {Category::productivity}},
        {"gallery-firefox", {Category::web}},
        {"gallery-streaming", {Category::fun}},
        {"gallery-meme-machine", {Category::web}},
        {"gallery-time-killers", {Category::web}},
    };
    EXPECT_EQ(extras, expected);
}

TEST(GalleryCatalogue, ActionKindsPerWheel) {
    std::map<Kind, int> totals;
    std::map<Kind, std::set<std::string>> singleKind;
    std::map<std::string, std::map<Kind, int>> mixed;
    for (const GalleryWheel& g : WheelGallery::all()) {
        const auto kinds = kindsOf(g);
        for (const auto& [kind, count] : kinds)
            totals[kind] += count;
        if (kinds.size() == 1)
            singleKind[kinds.begin()->first].insert(g.id);
        else
            mixed[g.id] = kinds;
        if (g.category == Category::apps || g.category == Category::productivity) {
            EXPECT_EQ(singleKind[Kind::keystroke].count(g.id), 1u) << g.id;
        }
        if (g.category == Category::web) {
            EXPECT_EQ(singleKind[Kind::link].count(g.id), 1u) << g.id;
        }
    }
    EXPECT_EQ(totals,
              (std::map<Kind, int>{
                  {Kind::keystroke, 328}, {Kind::link, 84}, {Kind::systemAction, 24}, {Kind::text, 23}}));
    EXPECT_EQ(singleKind[Kind::keystroke].size(), 41u);
    EXPECT_EQ(singleKind[Kind::keystroke].count("gallery-system-navigation"), 1u);
    EXPECT_EQ(singleKind[Kind::link].size(), 11u);
    EXPECT_EQ(singleKind[Kind::link].count("gallery-meme-machine") +
                  singleKind[Kind::link].count("gallery-time-killers"),
              2u);
    EXPECT_EQ(singleKind[Kind::systemAction],
              (std::set<std::string>{"gallery-system", "gallery-display-media", "gallery-system-playback"}));
    EXPECT_EQ(singleKind[Kind::text], (std::set<std::string>{"gallery-kaomoji", "gallery-fancy-text"}));
    const std::map<std::string, std::map<Kind, int>> expectedMixed{
        {"gallery-screenshots", {{Kind::keystroke, 3}, {Kind::systemAction, 1}}},
        {"gallery-capture-clipboard", {{Kind::keystroke, 5}, {Kind::systemAction, 1}}},
        {"gallery-power-lock", {{Kind::keystroke, 4}, {Kind::systemAction, 2}}},
        {"gallery-emoji", {{Kind::keystroke, 1}, {Kind::text, 7}}},
    };
    EXPECT_EQ(mixed, expectedMixed);
    int keystrokeOnlySlices = 0;
    for (const auto& id : singleKind[Kind::keystroke])
        keystrokeOnlySlices += testsupport::galleryWheel(id).wheel.sliceCount;
    EXPECT_EQ(keystrokeOnlySlices, 315);
}

TEST(GalleryCatalogue, IconsFollowTheActions) {
    std::map<std::string, int> emojiPerWheel;
    int symbols = 0, automatic = 0;
    for (const GalleryWheel& g : WheelGallery::all()) {
        for (const Slice& s : g.wheel.slices) {
            SCOPED_TRACE(g.id + " " + s.label);
            EXPECT_EQ(s.icon.is<Icon::Auto>(), s.action.is<MacroAction::Url>());
            if (s.icon.is<Icon::Auto>()) ++automatic;
            if (const auto* symbol = s.icon.as<Icon::SfSymbol>()) {
                ++symbols;
                EXPECT_FALSE(symbol->name.empty());
            }
            if (const auto* emoji = s.icon.as<Icon::Emoji>()) {
                ++emojiPerWheel[g.id];
                EXPECT_FALSE(emoji->text.empty());
            }
        }
    }
    EXPECT_EQ(symbols, 364);
    EXPECT_EQ(automatic, 84);
    EXPECT_EQ(emojiPerWheel,
              (std::map<std::string, int>{
                  {"gallery-emoji", 4}, {"gallery-kaomoji", 6}, {"gallery-apple-messages", 1}}));
}

TEST(GalleryCatalogue, LabelsFitTheWheel) {
    int twoLine = 0;
    for (const Slice* s : allSlices()) {
        SCOPED_TRACE(s->label);
        EXPECT_FALSE(s->label.empty());
        const auto breaks = std::count(s->label.begin(), s->label.end(), '\n');
        EXPECT_LE(breaks, 1);
        twoLine += breaks == 1;
        const auto cut = s->label.find('\n');
        const std::string first = s->label.substr(0, cut);
        const std::string second = cut == std::string::npos ? "" : s->label.substr(cut + 1);
        EXPECT_FALSE(first.empty());
        EXPECT_LE(characters(first), 15u);
        EXPECT_LE(characters(second), 15u);
        if (cut != std::string::npos) {
            EXPECT_FALSE(second.empty());
        }
    }
    EXPECT_EQ(twoLine, 141);
}

TEST(GalleryCatalogue, KeystrokeModifierSets) {
    std::map<std::string, int> sets;
    for (const Slice* s : allSlices()) {
        const auto* keystroke = s->action.as<MacroAction::Keystroke>();
        if (!keystroke) continue;
        EXPECT_FALSE(KeyComboText::keyLabel(keystroke->combo.keyCode).starts_with("key")) << s->label;
        ++sets[modifiers(keystroke->combo)];
    }
    const std::map<std::string, int> expected{
        {"⌘", 161}, {"⇧⌘", 68}, {"", 32},   {"⌥⌘", 8},  {"⌃", 12}, {"⌃⌘", 4}, {"❖", 4},
        {"⇧", 8},   {"⌥", 25},  {"⌃⇧⌘", 3}, {"⌥⇧⌘", 1}, {"⌥⇧", 1}, {"⇧❖", 1},
    };
    EXPECT_EQ(sets, expected);
}

// A terminal's own commands come with Shift: Ctrl and a letter alone is the
// shell's editing there (next line, transpose, kill line, forward a letter).
TEST(GalleryCatalogue, TerminalWheelsSendTheTerminalsOwnCommands) {
    for (const char* id : {"gallery-terminal", "gallery-ghostty"}) {
        for (const Slice& s : testsupport::galleryWheel(id).wheel.slices) {
            const auto* keystroke = s.action.as<MacroAction::Keystroke>();
            if (!keystroke) continue;
            const KeyCombo& combo = keystroke->combo;
            const auto typed = KeyComboText::character(combo.keyCode);
            if (!(combo.primary || combo.control) || !typed || *typed < 'a' || *typed > 'z') continue;
            // The shell's own keys are written as Control, the terminal's as Command.
            EXPECT_TRUE(combo.control || combo.shift)
                << id << " " << s.label << " " << KeyComboText::displayString(combo);
        }
    }
}

TEST(GalleryCatalogue, LinksReachPublicSites) {
    int roots = 0, deeper = 0;
    std::set<std::string> hosts;
    std::map<std::string, std::set<std::string>> wheelsPerAddress;
    for (const GalleryWheel& g : WheelGallery::all()) {
        for (const Slice& s : g.wheel.slices) {
            const auto* link = s.action.as<MacroAction::Url>();
            if (!link) continue;
            SCOPED_TRACE(link->url);
            ASSERT_TRUE(link->url.starts_with("https://"));
            const std::string rest = link->url.substr(8);
            const auto pathStart = rest.find_first_of("/?#");
            const std::string host = rest.substr(0, pathStart);
            EXPECT_FALSE(host.empty());
            EXPECT_NE(host.find('.'), std::string::npos);
            hosts.insert(host);
            const bool isRoot = pathStart == std::string::npos || rest.substr(pathStart) == "/";
            (isRoot ? roots : deeper)++;
            wheelsPerAddress[link->url].insert(g.id);
        }
    }
    EXPECT_EQ(roots, 74);
    EXPECT_EQ(deeper, 10);
    EXPECT_EQ(hosts.size(), 74u);
    int shared = 0;
    for (const auto& [address, wheels] : wheelsPerAddress) {
        EXPECT_LE(wheels.size(), 2u) << address;
        shared += wheels.size() == 2;
    }
    EXPECT_EQ(shared, 5);
}

TEST(GalleryCatalogue, TextsAndSystemActions) {
    const std::set<std::string> allowedActions{"toggle-dark-mode", "toggle-mute",   "volume-up",
                                               "volume-down",      "brightness-up", "brightness-down",
                                               "sleep-display",    "lock-screen",   "screenshot",
                                               "media-playpause",  "media-next",    "media-previous"};
    for (const Slice* s : allSlices()) {
        if (const auto* text = s->action.as<MacroAction::Text>()) {
            SCOPED_TRACE(text->text);
            EXPECT_GE(characters(text->text), 1u);
            EXPECT_LE(characters(text->text), 24u);
            EXPECT_LE(text->text.size(), 44u);
            EXPECT_TRUE(std::any_of(text->text.begin(), text->text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
        }
        if (const auto* action = s->action.as<MacroAction::SystemAction>()) {
            EXPECT_TRUE(SystemAction::find(action->id)) << action->id;
            EXPECT_EQ(allowedActions.count(action->id), 1u) << action->id;
        }
    }
}

TEST(GalleryCatalogue, SliceIdsStayForTheRun) {
    std::set<Uuid> ids;
    for (const Slice* s : allSlices())
        EXPECT_TRUE(ids.insert(s->id).second);
    const auto& again = WheelGallery::all();
    EXPECT_EQ(&again, &WheelGallery::all());
    EXPECT_EQ(again.front().wheel.slices.front().id, WheelGallery::all().front().wheel.slices.front().id);
}

TEST(GalleryCatalogue, SpotChecks) {
    std::vector<std::string> kaomoji;
    for (const Slice& s : testsupport::galleryWheel("gallery-kaomoji").wheel.slices)
        kaomoji.push_back(s.action.as<MacroAction::Text>()->text);
    const std::vector<std::string> expectedKaomoji{
        "( \xCD\xA1\xC2\xB0 \xCD\x9C\xCA\x96 \xCD\xA1\xC2\xB0)",
        "(\xE2\x97\x95\xE2\x80\xBF\xE2\x97\x95)",
        "\xCA\x95\xE2\x80\xA2\xE1\xB4\xA5\xE2\x80\xA2\xCA\x94",
        "(\xE2\x80\xA2_\xE2\x80\xA2) ( \xE2\x80\xA2_\xE2\x80\xA2)>\xE2\x8C\x90\xE2\x96\xA0-\xE2\x96\xA0 "
        "(\xE2\x8C\x90\xE2\x96\xA0_\xE2\x96\xA0)",
        "\xEF\xBC\xBC(^o^)\xEF\xBC\x8F",
        "(\xE2\x95\xA5\xEF\xB9\x8F\xE2\x95\xA5)",
        "(=^\xEF\xBD\xA5\xCF\x89\xEF\xBD\xA5^=)",
        "\xE2\x94\xAC\xE2\x94\x80\xE2\x94\xAC\xE3\x83\x8E( \xC2\xBA _ \xC2\xBA\xE3\x83\x8E)",
    };
    EXPECT_EQ(kaomoji, expectedKaomoji);
    EXPECT_EQ(testsupport::galleryWheel("gallery-emoji").wheel.slices[1].action,
              MacroAction(MacroAction::Text{"\xC2\xAF\\_(\xE3\x83\x84)_/\xC2\xAF"}));

    // The window manager's slices, by key code and modifiers: Super and an
    // arrow for the halves and the next display, Alt and an F key otherwise.
    const std::vector<KeyCombo> windowKeys{
        {.keyCode = 126, .super = true}, {.keyCode = 109, .alt = true},
        {.keyCode = 124, .super = true}, {.keyCode = 98, .alt = true},
        {.keyCode = 125, .super = true}, {.keyCode = 124, .shift = true, .super = true},
        {.keyCode = 123, .super = true}, {.keyCode = 96, .alt = true},
    };
    const auto& slices = testsupport::galleryWheel("gallery-rectangle").wheel.slices;
    ASSERT_EQ(slices.size(), windowKeys.size());
    for (std::size_t i = 0; i < slices.size(); ++i)
        EXPECT_EQ(slices[i].action.as<MacroAction::Keystroke>()->combo, windowKeys[i]) << i;
    EXPECT_EQ(slices[1].label, "Maximize");
    EXPECT_EQ(slices[5].label, "Next\nDisplay");

    const auto& power = testsupport::galleryWheel("gallery-power-lock").wheel.slices;
    const std::vector<MacroAction> powerActions{
        MacroAction::SystemAction{"lock-screen"},
        MacroAction::SystemAction{"sleep-display"},
        MacroAction::Keystroke{{12, true, true, false, false}},
        MacroAction::Keystroke{{53, true, false, true, false}},
        MacroAction::Keystroke{{103, false, false, false, false}},
        MacroAction::Keystroke{{49, true, false, false, false}},
    };
    ASSERT_EQ(power.size(), powerActions.size());
    for (std::size_t i = 0; i < power.size(); ++i)
        EXPECT_EQ(power[i].action, powerActions[i]) << i;
}
