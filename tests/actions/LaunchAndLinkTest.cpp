#include "ExecutorFixture.h"
#include "actions/LinkText.h"

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
