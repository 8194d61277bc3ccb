#include "gallery/WheelGallery.h"
#include "model/KeyComboText.h"
#include "support/GalleryWheelById.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

// Each slice of a wheel as "label: keys", the keys as the program sends
// them here.
std::vector<std::string> slicesOf(std::string_view galleryId) {
    std::vector<std::string> out;
    for (const Slice& s : testsupport::galleryWheel(galleryId).wheel.slices) {
        std::string label = s.label;
        std::replace(label.begin(), label.end(), '\n', ' ');
        const auto* keystroke = s.action.as<MacroAction::Keystroke>();
        out.push_back(label + ": " +
                      (keystroke ? KeyComboText::displayString(keystroke->combo) : "not a key"));
    }
    return out;
}

struct Role {
    std::string programs;
    std::string galleryId;
    std::vector<std::string> slices;
};

void expectRoles(const std::vector<Role>& roles) {
    for (const Role& role : roles)
        EXPECT_EQ(slicesOf(role.galleryId), role.slices) << role.programs;
}

} // namespace

// The keys the desktop's own programs of each role take for the command,
// checked by hand in each: a wheel written for another system's program
// bookmarked, reloaded or did nothing there.
TEST(GalleryAppKeys, DesktopProgramsOfEachRole) {
    expectRoles({
        {"Caja, Thunar, Nautilus, Nemo, Dolphin",
         "gallery-finder",
         {"Preview: Space", "New Folder: Ctrl+Shift+N", "Rename: F2", "Properties: Alt+Enter",
          "Go to Folder: Ctrl+L", "Side Pane: F9", "Copy: Ctrl+C", "Move to Trash: Delete"}},
        {"Atril, Evince, Xreader",
         "gallery-preview",
         {"Zoom In: Ctrl+=", "Zoom Out: Ctrl+-", "Rotate Left: Ctrl+Left", "Rotate Right: Ctrl+Right",
          "Side Pane: F9", "Fit Width: W", "Inspector: Alt+Enter", "Actual Size: Ctrl+0"}},
        {"Eye of MATE, Eye of GNOME, Ristretto",
         "gallery-apple-photos",
         {"Full Screen: F11", "Rotate: Ctrl+R", "Save As: Ctrl+Shift+S", "Copy: Ctrl+C", "Info: Alt+Enter",
          "Slideshow: F5", "Open: Ctrl+O", "Delete: Delete"}},
        {"Evolution, Thunderbird, Geary",
         "gallery-apple-mail",
         {"New Message: Ctrl+N", "Reply: Ctrl+R", "Reply All: Ctrl+Shift+R", "Forward: Ctrl+F",
          "Send: Ctrl+Enter", "Mail View: Ctrl+1", "Mark as Unread: Ctrl+Shift+K", "Delete: Delete"}},
        {"Signal, Telegram, Element",
         "gallery-apple-messages",
         {"New Message: Ctrl+N", "Reply: Ctrl+Shift+R", "React: Ctrl+Shift+E", "Edit Last Message: Up",
          "Details: Ctrl+D", "Find: Ctrl+F", "Next Chat: Alt+Down", "Previous Chat: Alt+Up"}},
        {"Gnote",
         "gallery-apple-notes",
         {"New Note: Ctrl+N", "Underline: Ctrl+U", "Strikethrough: Ctrl+S",
          "Larger Text: Ctrl+Shift+=", "Bold: Ctrl+B", "Italic: Ctrl+I", "Add Link: Ctrl+L", "Find: Ctrl+F"}},
        {"Evolution, GNOME Calendar",
         "gallery-apple-calendar",
         {"New Event: Ctrl+N", "Today: Ctrl+T", "Day View: Ctrl+Y", "Week View: Ctrl+K", "Month View: Ctrl+M",
          "Year View: Ctrl+I", "Go to Date: Ctrl+G", "List View: Ctrl+L"}},
        {"Rhythmbox",
         "gallery-apple-music",
         {"Play Pause: Ctrl+P", "Next: Ctrl+Right", "Previous: Ctrl+Left", "Volume Up: Ctrl+Up",
          "Volume Down: Ctrl+Down", "Search: Ctrl+F", "Play Queue: Ctrl+K", "Current Song: Ctrl+J"}},
    });
}

// Wheels named for programs that have no Linux version open in the
// counterpart found here, and send its keys.
TEST(GalleryAppKeys, CounterpartsOfOtherSystemsPrograms) {
    expectRoles({
        {"VS Code",
         "gallery-xcode",
         {"Build: Ctrl+Shift+B", "Run: Ctrl+F5", "Stop: Shift+F5", "Start Debugging: F5",
          "Jump to Definition: F12", "Rename Symbol: F2", "Move Line Up: Alt+Up",
          "Move Line Down: Alt+Down"}},
        {"OpenShot, Shotcut, Pitivi",
         "gallery-finalcut",
         {"Select All: Ctrl+A", "Blade: R", "Play/Pause: Space", "Add Marker: Ctrl+M", "Blade at Playhead: S",
          "Import Media: Ctrl+F", "Share File: Ctrl+E"}},
        {"GIMP",
         "gallery-photoshop",
         {"Move: M", "Brush: P", "Eraser: Shift+E", "Type: T", "Free Transform: Shift+T",
          "New Layer: Ctrl+Shift+N", "Deselect: Ctrl+Shift+A", "Export As: Ctrl+Shift+E"}},
        {"LibreOffice Writer",
         "gallery-word",
         {"Bold: Ctrl+B", "Italic: Ctrl+I", "Underline: Ctrl+U", "Spelling: F7", "Change Case: Shift+F3",
          "Thesaurus: Ctrl+F7", "Comment: Ctrl+Alt+C"}},
        {"LibreOffice Calc",
         "gallery-excel",
         {"Select Row: Shift+Space", "Insert Function: Ctrl+F2", "Format Cells: Ctrl+1", "Fill Down: Ctrl+D",
          "Insert Date: Ctrl+;", "Bold: Ctrl+B", "Insert Link: Ctrl+K"}},
    });
}

// Programs that run here too, where their own Linux keys differ.
TEST(GalleryAppKeys, CrossPlatformProgramsOnLinux) {
    expectRoles({
        {"Zoom",
         "gallery-zoom",
         {"Mute: Alt+A", "Video: Alt+V", "Share Screen: Alt+S", "Chat: Alt+H", "Participants: Alt+U",
          "Invite: Alt+I", "Raise Hand: Alt+Y", "Leave Meeting: Alt+Q"}},
        {"KeePassXC",
         "gallery-keepassxc",
         {"Copy Password: Ctrl+C", "Copy Username: Ctrl+B", "Auto-Type: Ctrl+Shift+V",
          "Open URL: Ctrl+Shift+U", "New Entry: Ctrl+N", "Edit Entry: Ctrl+E", "Search: Ctrl+F",
          "Lock Database: Ctrl+L"}},
    });
}
