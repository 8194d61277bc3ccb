#include "platform/linux/desktop/XdgWorkspace.h"

#include "BlockingMainQueue.h"
#include "platform/linux/desktop/DesktopEntry.h"
#include "platform/linux/process/PosixProcesses.h"
#include "platform/sim/SimBackground.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;

class XdgWorkspaceTest : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() / ("rondelix-xdg-" + std::to_string(::getpid()));
    fs::path user = root / "user/applications";
    fs::path system = root / "system/applications";
    BlockingMainQueue queue;
    PosixProcesses processes{queue};
    XdgWorkspace workspace{processes};

    void SetUp() override {
        fs::create_directories(user);
        fs::create_directories(system / "kde");
        ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(root); }

    static void write(const fs::path& path, const std::string& text, bool executable = false) {
        std::ofstream(path) << text;
        if (executable) fs::permissions(path, fs::perms::owner_all);
    }
    static std::string entry(const std::string& extra) {
        return "[Desktop Entry]\nName=Thing\nType=Application\nExec=/bin/true\n" + extra;
    }
    bool open(const std::string& path) {
        std::optional<bool> started;
        workspace.openApplication(path, [&](bool ok) { started = ok; });
        while (!started && queue.runNext()) {
        }
        return started.value_or(false);
    }
};

TEST_F(XdgWorkspaceTest, FindsApplicationsByDesktopEntryId) {
    write(system / "org.example.Editor.desktop", entry(""));
    write(system / "kde/viewer.desktop", entry(""));
    write(system / "website.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.com\n");
    EXPECT_EQ(workspace.applicationPath("org.example.Editor"),
              (system / "org.example.Editor.desktop").string());
    EXPECT_EQ(workspace.applicationPath("org.example.Editor.desktop"),
              (system / "org.example.Editor.desktop").string());
    EXPECT_EQ(workspace.applicationPath("kde-viewer"), (system / "kde/viewer.desktop").string());
    EXPECT_FALSE(workspace.applicationPath("website"));
    EXPECT_FALSE(workspace.applicationPath("org.example.Missing"));
    EXPECT_FALSE(workspace.applicationPath("../system/applications/org.example.Editor"));
}

TEST_F(XdgWorkspaceTest, TheUsersOwnEntryWinsAndCanHideAnApplication) {
    write(system / "a.desktop", entry(""));
    write(user / "a.desktop", entry(""));
    write(system / "b.desktop", entry(""));
    write(user / "b.desktop", entry("Hidden=true\n"));
    EXPECT_EQ(workspace.applicationPath("a"), (user / "a.desktop").string());
    EXPECT_FALSE(workspace.applicationPath("b"));
}

TEST_F(XdgWorkspaceTest, OnlyEntriesAndExecutablesAreApplications) {
    write(root / "tool", "#!/bin/sh\n", true);
    fs::create_symlink(root / "tool", root / "link-to-tool");
    write(root / "Thing.app", "not a program");
    write(root / "entry.desktop", entry(""));
    write(root / "link.desktop", "[Desktop Entry]\nType=Link\n");
    fs::create_directory(root / "Folder.app");

    EXPECT_EQ(workspace.applicationAt((root / "link-to-tool").string()), (root / "tool").string());
    EXPECT_EQ(workspace.applicationAt((root / "entry.desktop").string()), (root / "entry.desktop").string());
    EXPECT_FALSE(workspace.applicationAt((root / "Thing.app").string()));
    EXPECT_FALSE(workspace.applicationAt((root / "link.desktop").string()));
    EXPECT_FALSE(workspace.applicationAt((root / "Folder.app").string()));
    EXPECT_FALSE(workspace.applicationAt((root / "absent").string()));
}

TEST_F(XdgWorkspaceTest, LaunchesExecutablesAndEntriesAndTellsWhenItCannot) {
    write(root / "tool", "#!/bin/sh\nexit 0\n", true);
    write(root / "good.desktop", entry(""));
    write(root / "broken.desktop", "[Desktop Entry]\nType=Application\nExec=/nonexistent/program %U\n");
    EXPECT_TRUE(open((root / "tool").string()));
    EXPECT_TRUE(open((root / "good.desktop").string()));
    EXPECT_FALSE(open((root / "broken.desktop").string()));
}

// Stand-ins for the desktop's default-application tools: each prints the
// answer the case gives, or fails when it gives none.
void standInDefaultTools(const fs::path& bin, const std::string& browser, const std::string& mime) {
    fs::create_directories(bin);
    auto tool = [&](const char* name, const std::string& answer) {
        const fs::path path = bin / name;
        std::ofstream(path) << "#!/bin/sh\n" << (answer.empty() ? "exit 1\n" : "echo '" + answer + "'\n");
        fs::permissions(path, fs::perms::owner_all);
    };
    tool("xdg-settings", browser);
    tool("xdg-mime", mime);
}

TEST_F(XdgWorkspaceTest, AnotherPlatformsIdentifierFindsTheDefaultThenTheCommonProgramOfItsKind) {
    struct Case {
        const char* identifier;
        std::vector<std::string> installed;
        std::string browserDefault, mimeDefault;
        const char* expected; // desktop id, or empty for none
    };
    // clang-format off
    const std::vector<Case> cases{
        {"com.apple.finder", {"org.gnome.Nautilus", "org.kde.dolphin"}, "", "org.kde.dolphin.desktop", "org.kde.dolphin"},
        {"com.apple.finder", {"thunar", "nemo"}, "", "org.gnome.Nautilus.desktop", "thunar"},
        {"com.apple.finder", {"caja"}, "", "", "caja"},
        {"com.apple.Safari", {"firefox-esr", "chromium"}, " chromium.desktop \n", "", "chromium"},
        {"com.apple.mail", {"thunderbird"}, "", "", "thunderbird"},
        {"COM.APPLE.CALCULATOR", {"org.kde.kcalc", "galculator"}, "", "", "org.kde.kcalc"},
        {"com.apple.systempreferences", {"xfce-settings-manager"}, "", "", "xfce-settings-manager"},
        {"com.spotify.client", {"com.spotify.Client"}, "", "", "com.spotify.Client"},
        {"com.apple.Notes", {}, "", "", ""},
        {"com.example.Unknown", {"org.gnome.Nautilus"}, "", "org.gnome.Nautilus.desktop", ""},
    };
    // clang-format on
    const fs::path bin = root / "bin";
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    for (const auto& c : cases) {
        fs::remove_all(system);
        fs::create_directories(system);
        for (const auto& id : c.installed)
            write(system / (id + ".desktop"), entry(""));
        standInDefaultTools(bin, c.browserDefault, c.mimeDefault);
        const XdgWorkspace fresh{processes};
        const auto found = fresh.applicationPath(c.identifier);
        if (*c.expected)
            EXPECT_EQ(found, (system / (std::string(c.expected) + ".desktop")).string()) << c.identifier;
        else
            EXPECT_FALSE(found) << c.identifier << " found " << found.value_or("");
    }
    ::setenv("PATH", path.c_str(), 1);
}

TEST_F(XdgWorkspaceTest, TheRunningDesktopsOwnProgramsComeFirstAndThoseKeptOffItNever) {
    // MATE with Xfce's programs installed too, and a neutral calculator.
    write(system / "xfce-settings-manager.desktop", entry("OnlyShowIn=XFCE;\n"));
    write(system / "mate-control-center.desktop", entry(""));
    write(system / "galculator.desktop", entry(""));
    write(system / "mate-calc.desktop", entry(""));
    write(system / "org.kde.kcalc.desktop", entry("NotShowIn=MATE;GNOME;\n"));
    struct Case {
        const char* desktop;
        const char* identifier;
        const char* expected;
    };
    const Case cases[] = {
        {"MATE", "com.apple.systempreferences", "mate-control-center"},
        {"MATE", "com.apple.calculator", "mate-calc"},
        {"XFCE", "com.apple.systempreferences", "xfce-settings-manager"},
        {"XFCE", "com.apple.calculator", "galculator"},
        {"KDE", "com.apple.calculator", "org.kde.kcalc"},
        {"", "com.apple.calculator", "org.kde.kcalc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XdgWorkspace(processes, c.desktop).applicationPath(c.identifier),
                  (system / (std::string(c.expected) + ".desktop")).string())
            << c.identifier << " on " << c.desktop;
    // Another desktop's settings manager never stands in, even when it is all
    // there is: it would set up that desktop.
    fs::remove(system / "mate-control-center.desktop");
    EXPECT_FALSE(XdgWorkspace(processes, "MATE").applicationPath("com.apple.systempreferences"));
}

TEST_F(XdgWorkspaceTest, TheUsersChoiceThenTheDesktopsOwnThenAShownDefaultOfTheRightKind) {
    // Several desktops' programs side by side, as on a machine with three.
    write(system / "caja.desktop", entry("Categories=System;FileManager;\n"));
    write(system / "thunar.desktop", entry("Categories=System;FileManager;\n"));
    write(system / "org.kde.kate.desktop", entry("Categories=Qt;KDE;Utility;TextEditor;\n"));
    write(system / "xfce4-mail-reader.desktop",
          entry("Categories=X-XFCE;Network;Email;\nOnlyShowIn=XFCE;\n"));
    write(system / "org.example.Mailer.desktop", entry("Categories=Network;Email;\n"));
    write(system / "org.example.Planner.desktop", entry("Categories=Office;Calendar;\n"));
    const fs::path config = root / "config";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const fs::path bin = root / "bin";
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    struct Case {
        const char* desktop;
        const char* identifier;
        std::string userChoice, desktopDefault;
        const char* expected; // empty for none
    };
    // clang-format off
    const std::vector<Case> cases{
        {"XFCE", "com.apple.finder", "", "caja-folder-handler.desktop", "thunar"},
        {"XFCE", "com.apple.finder", "inode/directory=caja.desktop;", "", "caja"},
        {"MATE", "com.apple.mail", "", "xfce4-mail-reader.desktop", ""},
        {"MATE", "com.apple.mail", "x-scheme-handler/mailto=org.example.Mailer.desktop", "", "org.example.Mailer"},
        {"KDE", "com.apple.iCal", "", "org.kde.kate.desktop", ""},
        {"KDE", "com.apple.iCal", "text/calendar=org.kde.kate.desktop;", "org.example.Planner.desktop", "org.example.Planner"},
    };
    // clang-format on
    for (const auto& c : cases) {
        fs::remove_all(config);
        if (!c.userChoice.empty()) {
            fs::create_directories(config);
            write(config / "mimeapps.list", "[Added Associations]\n" + c.userChoice +
                                                "\n\n[Default Applications]\n" + c.userChoice + "\n");
        }
        standInDefaultTools(bin, "", c.desktopDefault);
        const auto found = XdgWorkspace(processes, c.desktop).applicationPath(c.identifier);
        if (*c.expected)
            EXPECT_EQ(found, (system / (std::string(c.expected) + ".desktop")).string())
                << c.identifier << " on " << c.desktop;
        else
            EXPECT_FALSE(found) << c.identifier << " on " << c.desktop << " found " << found.value_or("");
    }
    ::setenv("PATH", path.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(XdgWorkspaceTest, NamesComeFromTheResolvedEntry) {
    write(system / "org.gnome.Nautilus.desktop",
          "[Desktop Entry]\nType=Application\nName=Files\nExec=nautilus\n");
    const auto location = workspace.applicationPath("com.apple.finder");
    ASSERT_TRUE(location);
    EXPECT_EQ(workspace.applicationName(*location), "Files");
    EXPECT_FALSE(workspace.applicationName((root / "tool").string()));
}

TEST(DesktopEntryTest, SplitsTheExecLineAndDropsFieldCodes) {
    DesktopEntry entry;
    entry.exec = R"(env "A B" "quote \"x\"" --name=%c 100%% %U)";
    EXPECT_EQ(entry.execArguments(),
              (std::vector<std::string>{"env", "A B", "quote \"x\"", "--name=", "100%"}));
    const auto parsed =
        DesktopEntry::parse("# c\n[Desktop Entry]\nExec=a\\sb\nType=Application\n[Action x]\nExec=c\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->exec, "a b");
    EXPECT_FALSE(DesktopEntry::parse("[Other]\nType=Application\n"));
}

TEST_F(XdgWorkspaceTest, TerminalsAreKnownByTheirCategoriesElseByTheirWindowClass) {
    write(system / "debian-xterm.desktop",
          entry("Categories=System;TerminalEmulator;\nStartupWMClass=XTerm\n"));
    write(system / "sakura.desktop", entry("Categories=GTK;Utility;TerminalEmulator;System;\n"));
    write(system / "org.gnome.TextEditor.desktop", entry("Categories=GNOME;GTK;Utility;TextEditor;\n"));
    struct Case {
        ActiveWindowIdentity window;
        PasteKey key;
    };
    const std::vector<Case> cases{
        {{"", "", "xterm", "XTerm"}, PasteKey::shiftInsert},
        {{"", "", "sakura", "Sakura"}, PasteKey::controlShiftV},
        {{"org.gnome.TextEditor", "", "gnome-text-editor", "Gnome-text-editor"}, PasteKey::controlV},
        {{"", "", "urxvt", "URxvt"}, PasteKey::shiftInsert},
        {{"", "", "konsole", "konsole"}, PasteKey::controlShiftV},
        {{"", "", "firefox", "Firefox"}, PasteKey::controlV},
    };
    for (const auto& c : cases)
        EXPECT_EQ(workspace.pasteKeyFor(c.window), c.key) << c.window.wmClass;
}

TEST_F(XdgWorkspaceTest, RecognisesTheApplicationAWindowBelongsTo) {
    write(system / "org.example.Notes.desktop", entry("StartupWMClass=NotesWindow\n"));
    write(system / "org.example.Paint.desktop", entry(""));
    write(system / "org.example.Gtk.desktop", entry(""));
    EXPECT_EQ(workspace.applicationFor({"", "", "notes", "NotesWindow"}), "org.example.Notes");
    EXPECT_EQ(workspace.applicationFor({"", "", "paint", "Paint"}), "org.example.Paint");
    EXPECT_EQ(workspace.applicationFor({"org.example.Gtk", "", "other", "Other"}), "org.example.Gtk");
    EXPECT_EQ(workspace.applicationFor({"", "org.example.Paint.desktop", "", ""}), "org.example.Paint");
    EXPECT_FALSE(workspace.applicationFor({"org.example.Gone", "", "unknown", "Unknown"}));
    EXPECT_FALSE(workspace.applicationFor({}));
}

TEST_F(XdgWorkspaceTest, ApplicationsReadAheadServeTheNextLookUpUnlessAFolderChangedMeanwhile) {
    write(system / "org.example.Notes.desktop", entry("StartupWMClass=NotesWindow\n"));
    sim::SimBackground background;
    workspace.readApplicationsAhead(background, queue);
    workspace.readApplicationsAhead(background, queue);
    EXPECT_EQ(background.pendingCount(), 1u);
    background.runAll();
    // Installed after the reading, before its list is back.
    write(system / "org.example.Paint.desktop", entry("StartupWMClass=PaintWindow\n"));
    fs::last_write_time(system, fs::last_write_time(system) + std::chrono::seconds(1));
    ASSERT_TRUE(queue.runNext());
    EXPECT_EQ(workspace.applicationFor({"", "", "paint", "PaintWindow"}), "org.example.Paint");
    EXPECT_EQ(workspace.applicationFor({"", "", "notes", "NotesWindow"}), "org.example.Notes");
    workspace.readApplicationsAhead(background, queue);
    EXPECT_EQ(background.pendingCount(), 0u);
}

// The only test that marks a window active on the display, so that test
// programs running side by side never fight over the mark.
TEST(ActiveWindow, ReadsTheClassAndApplicationIdOfTheActiveWindow) {
    // Prepared before the window and its properties exist, as at start: what
    // preparing learned must not hide what is set later.
    prepareActiveWindowIdentity();
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr) << "needs an X display";
    const Window root = DefaultRootWindow(dpy);
    Window window = XCreateSimpleWindow(dpy, root, 0, 0, 10, 10, 0, 0, 0);
    XClassHint hint{const_cast<char*>("notes"), const_cast<char*>("NotesWindow")};
    XSetClassHint(dpy, window, &hint);
    const std::string id = "org.example.Notes";
    XChangeProperty(dpy, window, XInternAtom(dpy, "_GTK_APPLICATION_ID", False),
                    XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(id.data()), static_cast<int>(id.size()));
    const std::string entry = "notes.desktop";
    XChangeProperty(dpy, window, XInternAtom(dpy, "_KDE_NET_WM_DESKTOP_FILE", False),
                    XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(entry.data()), static_cast<int>(entry.size()));
    long process = 4242;
    XChangeProperty(dpy, window, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&process), 1);
    // The mark a window manager sets, with the check window that says one runs.
    Window manager = XCreateSimpleWindow(dpy, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False);
    for (const Window holder : {root, manager})
        XChangeProperty(dpy, holder, check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&manager), 1);
    const Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    XChangeProperty(dpy, root, active, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&window), 1);
    XSync(dpy, False);

    const auto identity = activeWindowIdentity();
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->applicationId, id);
    EXPECT_EQ(identity->desktopFile, entry);
    EXPECT_EQ(identity->wmClassInstance, "notes");
    EXPECT_EQ(identity->wmClass, "NotesWindow");
    EXPECT_EQ(identity->process, 4242);

    // A vanished window is no answer and no crash.
    XDestroyWindow(dpy, window);
    XSync(dpy, False);
    const auto gone = activeWindowIdentity();
    EXPECT_TRUE(!gone || gone->wmClass.empty());
    XDeleteProperty(dpy, root, active);
    XDeleteProperty(dpy, root, check);
    XDestroyWindow(dpy, manager);
    XCloseDisplay(dpy);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
