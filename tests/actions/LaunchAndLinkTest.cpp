#include "ExecutorFixture.h"
#include "actions/LinkText.h"
#include "model/ActionClassification.h"
#include "util/UrlSyntax.h"
#include "util/Utf8.h"

#include <cctype>

namespace rondelix {
namespace {

class LaunchTest : public ExecutorTest {
  protected:
    void SetUp() override {
        ExecutorTest::SetUp();
        workspace.installed["org.gnome.Calculator"] = "/usr/share/applications/org.gnome.Calculator.desktop";
        workspace.applicationPaths.insert("/opt/tool/tool");
    }
    void launch(std::optional<std::string> identifier, std::optional<std::string> path) {
        fire(MacroAction::App{std::move(identifier), std::move(path)});
    }
};

TEST_F(LaunchTest, AnInstalledIdentifierWinsOverThePath) {
    launch("org.gnome.Calculator", "/opt/tool/tool");
    EXPECT_EQ(workspace.openedApplications,
              std::vector<std::string>{"/usr/share/applications/org.gnome.Calculator.desktop"});
}

TEST_F(LaunchTest, AMissingIdentifierFallsBackToAnApplicationPath) {
    launch("org.example.Gone", "/opt/tool/tool");
    EXPECT_EQ(workspace.openedApplications, std::vector<std::string>{"/opt/tool/tool"});
    EXPECT_TRUE(reported.empty());
}

TEST_F(LaunchTest, NothingToLaunchIsReported) {
    launch("org.example.Gone", std::nullopt);
    launch(std::nullopt, std::nullopt);
    EXPECT_EQ(reported, (std::vector<std::string>{"That app isn't installed.", "That app isn't installed."}));
    EXPECT_TRUE(workspace.openedApplications.empty());
}

TEST_F(LaunchTest, APathThatIsNotAnApplicationIsRefusedAndLogged) {
    launch("org.example.Gone", "/home/u/notes.txt");
    EXPECT_EQ(reported, std::vector<std::string>{"That file isn't an app."});
    EXPECT_TRUE(log.contains("Rondelix: refused to launch a non-app-bundle path: /home/u/notes.txt"));
    // A relative path leads wherever the program was started: never followed.
    workspace.applicationPaths.insert("Downloads/Firefox.desktop");
    launch(std::nullopt, "Downloads/Firefox.desktop");
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_TRUE(workspace.openedApplications.empty());
}

TEST_F(LaunchTest, AFailedLaunchOnlyBeeps) {
    workspace.launchesSucceed = false;
    launch("org.gnome.Calculator", std::nullopt);
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(log.lines().empty());
}

class LinkTest : public ExecutorTest {
  protected:
    // What reached the opener, or the sentence reported instead.
    std::string open(const std::string& text) {
        workspace.openedLinks.clear();
        reported.clear();
        fire(MacroAction::Url{text});
        if (!reported.empty()) return "reported: " + reported.front();
        return workspace.openedLinks.empty() ? "nothing" : workspace.openedLinks.front();
    }
};

TEST_F(LinkTest, BareHostsGetHttpsAndSchemesAreKept) {
    EXPECT_EQ(open("  example.com/docs/a?b=1\n"), "https://example.com/docs/a?b=1");
    EXPECT_EQ(open("www.example.org"), "https://www.example.org");
    EXPECT_EQ(open("mailto:someone@example.com"), "mailto:someone@example.com");
    EXPECT_EQ(open("https://example.com"), "https://example.com");
    // A host with a port reads as having a scheme, dotted or not.
    EXPECT_EQ(open("example.com:8080"), "example.com:8080");
    EXPECT_EQ(open("localhost:3000"), "localhost:3000");
}

TEST_F(LinkTest, TextThatDoesNotParseIsPercentEncodedOnce) {
    EXPECT_EQ(open("https://example.com/a b"), "https://example.com/a%20b");
    EXPECT_EQ(open("https://example.com/caf\xC3\xA9"), "https://example.com/caf%C3%A9");
    EXPECT_EQ(open("https://example.com/a#b#c"), "https://example.com/a%23b%23c");
}

TEST_F(LinkTest, EmptyOrBlankLinksAreNotValid) {
    EXPECT_EQ(open(""), "reported: That link isn't valid.");
    EXPECT_EQ(open(" \t\n"), "reported: That link isn't valid.");
    EXPECT_EQ(open("\xC2\xA0"), "reported: That link isn't valid.");
}

TEST_F(LinkTest, FileLinksAreRefusedAndLogged) {
    EXPECT_EQ(open("file:///etc/passwd"), "reported: Can't open that kind of link.");
    EXPECT_EQ(open("FILE:///etc/passwd"), "reported: Can't open that kind of link.");
    EXPECT_TRUE(log.contains("Rondelix: refused to open a file:// URL from a slice."));
}

TEST_F(LinkTest, ALinkWithoutASchemeNeverReachesTheOpener) {
    // The opener would take each of these for a path among the user's files.
    for (const char* text : {"notes", "/etc/passwd", ".bashrc", "example.", "exa mple.com/x", "../secret"})
        EXPECT_EQ(open(text), "reported: Nothing can open that link.") << text;
}

TEST_F(LinkTest, ALinkNothingOpensIsReported) {
    workspace.linksOpen = false;
    EXPECT_EQ(open("zoommtg://join"), "reported: Nothing can open that link.");
}

// Links dressed the ways a hostile file dresses them: invisible characters
// of every kind at either end or inside, schemes in mixed case, escapes.
std::vector<std::string> hostileLinks() {
    const std::vector<std::string> bases{
        "javascript:alert(1)",   "steam://run/1",   "file:///etc/passwd", "vbscript:x",
        "data:text/html,x",      "x-app+v1.0:open", "localhost:8080",     "https://example.com",
        "mailto:me@example.com", "example.com/a",
    };
    std::vector<std::string> invisible;
    for (const char32_t c : std::u32string{
             0x0000, 0x0001, 0x0009, 0x000A, 0x000B, 0x000C,  0x000D,  0x001F, 0x0020, 0x007F, 0x0085,
             0x009F, 0x00A0, 0x00AD, 0x034F, 0x061C, 0x115F,  0x1160,  0x1680, 0x180E, 0x2000, 0x2007,
             0x200A, 0x200B, 0x200C, 0x200D, 0x200E, 0x200F,  0x2028,  0x2029, 0x202A, 0x202B, 0x202C,
             0x202D, 0x202E, 0x202F, 0x205F, 0x2060, 0x2066,  0x2067,  0x2068, 0x2069, 0x206F, 0x3000,
             0x3164, 0xFE0F, 0xFEFF, 0xFFA0, 0xFFF9, 0xE0001, 0xE0020, 0xE0100})
        invisible.push_back(utf8::encode(std::u32string(1, c)));
    const auto mixedCase = [](std::string text) {
        for (std::size_t i = 0; i < text.size() && text[i] != ':'; i += 2)
            text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        return text;
    };
    std::vector<std::string> links;
    for (const std::string& base : bases) {
        for (const std::string& link : {base, mixedCase(base)}) {
            links.push_back(link);
            for (const std::string& mark : invisible) {
                links.push_back(mark + link);
                links.push_back(link + mark);
                links.push_back(mark + mark + link + mark);
                links.push_back(link.substr(0, 1) + mark + link.substr(1));
            }
            const auto colon = link.find(':');
            links.push_back(link.substr(0, colon) + "%3A" + link.substr(colon + 1));
            links.push_back("%" + std::to_string(static_cast<int>(link[0])) + link.substr(1));
        }
    }
    return links;
}

TEST_F(LinkTest, WhatEverTheOpenerReceivesIsWhatTheReviewJudged) {
    int unsafeOpened = 0;
    for (const std::string& link : hostileLinks()) {
        log.clear();
        const std::string opened = open(link);
        const auto scheme = opened.starts_with("reported: ") ? std::nullopt : urlScheme(opened);
        const bool unsafe = scheme && *scheme != "http" && *scheme != "https" && *scheme != "mailto";
        // A file link the opener refuses counts too: the review cannot rely
        // on one opener's refusal.
        const bool fileLink = log.contains("Rondelix: refused to open a file:// URL from a slice.");
        if (!unsafe && !fileLink) continue;
        ++unsafeOpened;
        Wheel wheel;
        wheel.slices.push_back(Slice{Uuid::generate(), 0, "Link", Icon{}, MacroAction::Url{link}});
        EXPECT_TRUE(canRunCode(MacroAction::Url{link})) << link << " opened as " << opened;
        EXPECT_EQ(codeWarnings(wheel).size(), 1u) << link;
    }
    EXPECT_GT(unsafeOpened, 1000);
}

TEST(LinkText, SchemeAndBareHostRules) {
    EXPECT_FALSE(LinkText::hasURLScheme("example.com"));
    EXPECT_FALSE(LinkText::hasURLScheme(":x"));
    EXPECT_FALSE(LinkText::hasURLScheme("1abc:x"));
    EXPECT_FALSE(LinkText::hasURLScheme("a b:x"));
    EXPECT_TRUE(LinkText::hasURLScheme("a+b-c.d:x"));
    EXPECT_TRUE(LinkText::hasURLScheme("caf\xC3\xA9.com:80"));

    EXPECT_FALSE(LinkText::looksLikeBareWebHost(""));
    EXPECT_FALSE(LinkText::looksLikeBareWebHost("word"));
    EXPECT_FALSE(LinkText::looksLikeBareWebHost("/a.b"));
    EXPECT_FALSE(LinkText::looksLikeBareWebHost(".a.b"));
    EXPECT_FALSE(LinkText::looksLikeBareWebHost("example."));
    EXPECT_FALSE(LinkText::looksLikeBareWebHost("my site.com/x"));
    EXPECT_TRUE(LinkText::looksLikeBareWebHost("example.com/a b"));
}

TEST(LinkText, AFileLinkEscapesEveryNameThatCouldChangeItsShape) {
    EXPECT_EQ(LinkText::fileLink("/home/u"), "file:///home/u");
    EXPECT_EQ(LinkText::fileLink("/home/Jos\xC3\xA9 D/#?%:"), "file:///home/Jos%C3%A9%20D/%23%3F%25%3A");
}

} // namespace
} // namespace rondelix
