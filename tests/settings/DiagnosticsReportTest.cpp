#include "settings/DiagnosticsReport.h"

#include "settings/DiagnosticsShortcuts.h"
#include "settings/RecentLogCollector.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::linesOf;

DiagnosticsInputs sample() {
    DiagnosticsInputs in;
    in.unixTime = 1796541005; // 2026-12-06T07:10:05Z
    in.version = "0.1.0";
    in.systemName = "Debian GNU/Linux 12 (bookworm)";
    in.compositor = true;
    in.lastLaunch = "OK";
    in.screens = {{0, 0, 1512.9, 982, 2.0, 944, true}, {1512, 0, 1920, 1080, 1.0, 1050, false}};
    in.mouseX = 1600.7;
    in.mouseY = 12;
    in.listenAccess = DiagnosticsInputs::ListenAccess::granted;
    in.listenTap = DiagnosticsInputs::TapState::enabled;
    in.conflictingApps = {"org.example.keymapper", "hammerspoon"};
    in.panelSummary = "hidden";
    in.configPath = "~/.config/rondelix/config.json";
    in.fileExists = true;
    in.fileBytes = 5120;
    in.schemaVersion = 19;
    in.buildSchemaVersion = 19;
    in.loadedCleanly = true;
    in.wheelFill = {{8, 8}, {3, 6}};
    in.appBoundWheels = 1;
    in.lastUsedResolves = true;
    in.actions.app = 5;
    in.actions.script = 2;
    in.soundEnabled = true;
    in.soundVolume = 0.75;
    in.aimSound = "Tink";
    in.aimSoundLoads = true;
    in.fireSound = "Pop";
    in.regularActivation = true;
    in.mainWindow = DiagnosticsInputs::MainWindowState::key;
    in.loginItemStatus = "notRegistered";
    in.frontmostBound = true;
    in.bindings = {{"Left Alt + Left Super", {58, 55}, true, 100}, {"None", {}, false, 100}};
    return in;
}

TEST(DiagnosticsReport, PrintsEveryLineInItsFormat) {
    const auto lines = linesOf(diagnosticsReport(sample()));
    ASSERT_EQ(lines.size(), 52u);
    const std::map<std::size_t, std::string> expected{
        {0, "Rondelix diagnostics: 2026-12-06T07:10:05Z"},
        {1, "diagnosticsFormat=2"},
        {2, "Version: 0.1.0"},
        {3, "OS: Debian GNU/Linux 12 (bookworm)"},
        {6, ""},
        {7, "[1] Environment & Displays"},
        {8, "  Screens: #0*main 0,0 1512x982 @2.0x safeH=944 | #1 1512,0 1920x1080 @1.0x safeH=1050"},
        {9, "  Mouse (at report time): 1600,12 onScreen=1"},
        {14, "  Input Monitoring: latched=false live(input)=granted"},
        {17, "  Listen tap: installed+enabled"},
        {18, "  Armed tap: not installed (expected unless holding)"},
        {22, "  Onboarding: completed=false skipped=false resumeStep=welcome rescueReentered=false"},
        {23, "  Conflicting input apps: org.example.keymapper, hammerspoon"},
        {26, "  Panel: hidden"},
        {27, "  Expected coll: 0x141"},
        {28, "  Glass: configured=false reduceTransparency=false effective=opaque-windowBackground "
             "compositor=true"},
        {31, "  Path: ~/.config/rondelix/config.json"},
        {32, "  File: exists=true bytes=5120"},
        {33, "  Backup: bak=false bakBytes=-1 corruptAside=0"},
        {34, "  Schema: v19 / build v19 readOnly=false loadedCleanly=true"},
        {35, "  Wheels: wheels=2 totalSlices=11 perWheel(filled/cap)=[8/8 3/6] appBoundWheels=1 "
             "lastUsedResolves=true"},
        {36, "  Icons: referenced=0 onDisk=0 missingFiles=0 sweepEligible=true"},
        {40, "  Actions: text=0 keystroke=0 system=0 url=0 script=2 app=5 shortcut=0 openSettings=0"},
        {41, "  Script slices: scriptSlices=2"},
        {43, "  Managed shortcuts: __SHORTCUTS__"},
        {44,
         "  Feedback: soundEnabled=true volume=0.75 aim=Tink(ok) fire=Pop(MISSING→fallback) haptics=false"},
        {48, "  Activation: policy=regular mainWindow=on-screen(key)"},
        {49, "  Login item: config=false system=notRegistered"},
        {50, "  Frontmost: <bound-wheel>"},
        {51, "  Bindings: Left Alt + Left Super [58,55] enabled=true holdMs=100; None [] enabled=false "
             "holdMs=100"},
    };
    for (const auto& [index, line] : expected)
        EXPECT_EQ(lines[index], line) << "line " << index;
    for (const std::size_t title : {7u, 13u, 25u, 30u, 39u, 47u})
        EXPECT_EQ(lines[title - 1], "") << "before line " << title;
}

TEST(DiagnosticsReport, EmptyInputsStillMakeAWholeReport) {
    DiagnosticsInputs in;
    const auto lines = linesOf(diagnosticsReport(in));
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[8], "  Screens: ");
    EXPECT_EQ(lines[9], "  Mouse (at report time): 0,0 onScreen=NONE(gap)");
    EXPECT_EQ(lines[23], "  Conflicting input apps: none");
    EXPECT_EQ(
        lines[35],
        "  Wheels: wheels=0 totalSlices=0 perWheel(filled/cap)=[] appBoundWheels=0 lastUsedResolves=false");
    EXPECT_EQ(lines[50], "  Frontmost: none");
    EXPECT_EQ(lines[51], "  Bindings: ");
}

TEST(DiagnosticsReport, NumbersVersionsAndTheDeliveredText) {
    struct Number {
        double value;
        const char* text;
    };
    for (const Number& n : {Number{2.0, "2.0"}, Number{0.75, "0.75"}, Number{1.0 / 3, "0.3333333333333333"},
                            Number{0, "0.0"}, Number{-1.5, "-1.5"}})
        EXPECT_EQ(reportNumber(n.value), n.text);

    struct Version {
        std::string raw;
        const char* safe;
    };
    for (const Version& v :
         {Version{"0.1.0", "0.1.0"}, Version{"", "?"}, Version{"../../etc/x", "etcx"},
          Version{std::string("1\0.2", 4), "1.2"}, Version{"...", "?"}, Version{".hidden", "hidden"}})
        EXPECT_EQ(fileSafeVersion(v.raw), v.safe) << v.raw;

    const std::string text =
        fullDiagnosticsText("a __SHORTCUTS__ b\nc __SHORTCUTS__", "count=0; X=false", "log one\nlog two");
    EXPECT_EQ(
        text,
        "a count=0; X=false b\nc count=0; X=false\n--- Recent logs (last 10 min) ---\nlog one\nlog two");
}

TEST(RecentLogCollector, RedactsChildErrorOutputAndKeepsTheLast400) {
    struct Row {
        std::string line;
        std::string kept;
    };
    const Row rows[] = {
        {"Rondelix: script failed (1); stderr\u00BB secret token",
         "Rondelix: script failed (1); stderr\u00BB <redacted from report>"},
        {"Rondelix: stderr\u00BB ", "Rondelix: stderr\u00BB <redacted from report>"},
        {"Rondelix: stderr\u00BB", "Rondelix: stderr\u00BB"}, // no blank after the marker
        {"Rondelix: Stderr\u00BB x", "Rondelix: Stderr\u00BB x"},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RecentLogCollector::redacted(row.line), row.kept);

    std::vector<std::string> lines;
    for (int i = 0; i < 401; ++i)
        lines.push_back("line " + std::to_string(i));
    const auto kept = linesOf(RecentLogCollector::collect(lines));
    ASSERT_EQ(kept.size(), 400u);
    EXPECT_EQ(kept.front(), "line 1");
    EXPECT_EQ(kept.back(), "line 400");
    EXPECT_EQ(RecentLogCollector::collect({}), "");
    EXPECT_EQ(RecentLogCollector::collect({"a", "", "b"}), "a\n\nb");
}

TEST(DiagnosticsShortcuts, CountsInstalledAndMatchesNamesRegardlessOfCase) {
    const std::string text = DiagnosticsShortcuts::describe({"toggle bluetooth", "Something Else"});
    EXPECT_EQ(text.rfind("count=2; ", 0), 0u) << text;
    EXPECT_NE(text.find(" Toggle Bluetooth=true"), std::string::npos) << text;
    EXPECT_EQ(text.find("=true", text.find("=true") + 1), std::string::npos) << text;
    const std::string none = DiagnosticsShortcuts::describe({});
    EXPECT_EQ(none.rfind("count=0; ", 0), 0u);
    EXPECT_EQ(none.find("=true"), std::string::npos);
    EXPECT_NE(none.find(" Toggle Night Light=false"), std::string::npos) << none;
}

} // namespace
} // namespace rondelix
