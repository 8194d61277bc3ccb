#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

// A machine with several desktops' programs installed, as desktop entries
// that note their name when launched, and a desktop tool that names a
// default of the kind a stock system keeps (any program that opens the
// type: Caja for folders, a text editor for calendar files).
struct SeveralDesktops {
    explicit SeveralDesktops(const fs::path& root) : root(root) {
        const fs::path launcher = root / "bin/stand-in";
        writeFile(launcher, "#!/bin/sh\necho \"$1\" >> '" + opened().string() + "'\n");
        fs::permissions(launcher, fs::perms::owner_all);
        const auto entry = [&](const std::string& id, const std::string& categories) {
            writeFile(applications() / (id + ".desktop"), "[Desktop Entry]\nType=Application\nName=" + id +
                                                              "\nExec=" + launcher.string() + " " + id +
                                                              "\nCategories=" + categories + "\n");
        };
        entry("caja", "System;FileManager;");
        entry("thunar", "System;FileManager;");
        entry("org.kde.dolphin", "Qt;KDE;System;FileManager;");
        entry("org.kde.kate", "Qt;KDE;Utility;TextEditor;");
        entry("org.gnome.Calendar", "GNOME;GTK;Utility;Calendar;");
        const fs::path tool = root / "bin/xdg-mime";
        writeFile(tool, "#!/bin/sh\ncase \"$3\" in inode/directory) echo caja.desktop;; "
                        "text/calendar) echo org.kde.kate.desktop;; *) exit 1;; esac\n");
        fs::permissions(tool, fs::perms::owner_all);
    }
    fs::path applications() const { return root / "share/applications"; }
    fs::path opened() const { return root / "opened"; }
    std::string lastOpened() const {
        std::istringstream lines(readFile(opened()));
        std::string line, last;
        while (std::getline(lines, line))
            last = line;
        return last;
    }
    QProcessEnvironment environment(const char* desktop) const {
        QProcessEnvironment extra;
        extra.insert("XDG_CURRENT_DESKTOP", desktop);
        extra.insert("XDG_DATA_HOME", QString::fromStdString((root / "user-share").string()));
        extra.insert("XDG_DATA_DIRS", QString::fromStdString((root / "share").string()));
        extra.insert("PATH",
                     QString::fromStdString((root / "bin").string()) + ":" + qEnvironmentVariable("PATH"));
        return extra;
    }
    fs::path root;
};

// Files opens the user's own choice, else the running desktop's own file
// manager before a default meant for another desktop; Calendar never opens
// the text editor the desktop keeps for calendar files.
TEST_F(EndToEnd, ARoleOpensTheUsersChoiceThenTheDesktopsOwnAndNeverAnotherKind) {
    const SeveralDesktops machine(home.path / "machine");
    const fs::path choices = home.path / ".config/mimeapps.list";
    writeFile(choices, "[Default Applications]\ninode/directory=caja.desktop;\n");
    home.setTopSlotAction(MacroAction::App{"com.apple.finder", std::nullopt});
    {
        Program program(home.path, "roles-xfce", {}, machine.environment("XFCE"));
        ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
        ASSERT_TRUE(moveMainWindowAside()) << program.log();
        ASSERT_TRUE(fireTopSlot(program, "roles-e2e-xfce-summoned.png"));
        EXPECT_TRUE(waitFor([&] { return machine.lastOpened() == "caja"; }, patience))
            << "opened: " << machine.lastOpened() << "\n"
            << program.log();

        // The folder the choice was in changes with it, which the program's
        // next look-up sees.
        fs::remove(choices);
        ASSERT_TRUE(fireTopSlot(program, "roles-e2e-xfce-own.png"));
        EXPECT_TRUE(waitFor([&] { return machine.lastOpened() == "thunar"; }, patience))
            << "opened: " << machine.lastOpened() << "\n"
            << program.log();
    }
    home.setTopSlotAction(MacroAction::App{"com.apple.iCal", std::nullopt});
    Program program(home.path, "roles-kde", {}, machine.environment("KDE"));
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();
    ASSERT_TRUE(fireTopSlot(program, "roles-e2e-kde-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return machine.lastOpened() == "org.gnome.Calendar"; }, patience))
        << "opened: " << machine.lastOpened() << "\n"
        << program.log();
}

} // namespace
} // namespace rondelix::e2e
