#include "gallery/DesktopProgramKeys.h"
#include "gallery/WheelGallery.h"
#include "model/KeyComboText.h"
#include "support/GalleryWheelById.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

using namespace rondelix;

namespace {

// A wheel's keys in slot order, as the program sends them on the desktop
// named, with the labels where asked; "empty" for a slot left without a slice.
std::string keysOf(std::string_view galleryId, std::string_view desktop = "", bool labelled = false) {
    std::string keys;
    const Wheel wheel = DesktopProgramKeys::adapted(testsupport::galleryWheel(galleryId).wheel, desktop);
    for (int position = 0; position < wheel.sliceCount; ++position) {
        const auto s = std::find_if(wheel.slices.begin(), wheel.slices.end(),
                                    [position](const Slice& slice) { return slice.position == position; });
        const auto* keystroke = s == wheel.slices.end() ? nullptr : s->action.as<MacroAction::Keystroke>();
        keys += std::string(keys.empty() ? "" : ", ") +
                (s == wheel.slices.end()
                     ? "empty"
                     : (labelled ? s->label + " " : "") +
                           (keystroke ? KeyComboText::displayString(keystroke->combo) : "not a key"));
    }
    return keys;
}

struct Role {
    std::string programs;
    std::string galleryId;
    std::string keys;
};

void expectRoles(const std::vector<Role>& roles) {
    for (const Role& role : roles)
        EXPECT_EQ(keysOf(role.galleryId), role.keys) << role.programs;
}

} // namespace

// The keys that the programs of each role take here for the slices'
// commands; written for another system's programs, they bookmarked,
// reloaded or did nothing.
TEST(GalleryAppKeys, DesktopProgramsOfEachRole) {
    expectRoles({
        {"Caja, Thunar, Nautilus, Nemo, Dolphin", "gallery-finder",
         "Space, Ctrl+Shift+N, F2, Alt+Enter, Ctrl+L, F9, Ctrl+C, Delete"},
        {"Atril, Evince, Xreader", "gallery-preview",
         "Ctrl+=, Ctrl+-, Ctrl+Left, Ctrl+Right, F9, W, Alt+Enter, Ctrl+0"},
        {"Eye of MATE, Eye of GNOME", "gallery-apple-photos",
         "F11, Ctrl+R, Ctrl+Shift+S, Ctrl+C, Alt+Enter, F5, Ctrl+O, Delete"},
        {"Evolution", "gallery-apple-mail",
         "Ctrl+N, Ctrl+R, Ctrl+Shift+R, Ctrl+F, Ctrl+Enter, Ctrl+1, Ctrl+Shift+K, Delete"},
        {"Signal", "gallery-apple-messages",
         "Ctrl+N, Ctrl+Shift+R, Ctrl+Shift+E, Up, Ctrl+D, Ctrl+F, Alt+Down, Alt+Up"},
        {"Gnote", "gallery-apple-notes",
         "Ctrl+N, Ctrl+U, Ctrl+S, Ctrl+Shift+=, Ctrl+B, Ctrl+I, Ctrl+L, Ctrl+F"},
        {"Evolution", "gallery-apple-calendar",
         "Ctrl+N, Ctrl+T, Ctrl+Y, Ctrl+K, Ctrl+M, Ctrl+I, Ctrl+G, Ctrl+L"},
        {"Rhythmbox", "gallery-apple-music",
         "Ctrl+P, Ctrl+Right, Ctrl+Left, Ctrl+Up, Ctrl+Down, Ctrl+F, Ctrl+K, Ctrl+J"},
    });
}

// Wheels named for programs without a Linux version send the keys of the
// counterpart they open for here; Zoom and KeePassXC take other keys here.
TEST(GalleryAppKeys, CounterpartsAndLinuxVersions) {
    expectRoles({
        {"VS Code", "gallery-xcode", "Ctrl+Shift+B, Ctrl+F5, Shift+F5, F5, F12, F2, Alt+Up, Alt+Down"},
        {"OpenShot", "gallery-finalcut", "Ctrl+A, R, Space, Ctrl+M, S, Ctrl+F, Ctrl+E"},
        {"GIMP", "gallery-photoshop", "M, P, Shift+E, T, Shift+T, Ctrl+Shift+N, Ctrl+Shift+A, Ctrl+Shift+E"},
        {"LibreOffice Writer", "gallery-word", "Ctrl+B, Ctrl+I, Ctrl+U, F7, Shift+F3, Ctrl+F7, Ctrl+Alt+C"},
        {"LibreOffice Calc", "gallery-excel", "Shift+Space, Ctrl+F2, Ctrl+1, Ctrl+D, Ctrl+;, Ctrl+B, Ctrl+K"},
        {"Zoom", "gallery-zoom", "Alt+A, Alt+V, Alt+S, Alt+H, Alt+U, Alt+I, Alt+Y, Alt+Q"},
        {"KeePassXC", "gallery-keepassxc",
         "Ctrl+C, Ctrl+B, Ctrl+Shift+V, Ctrl+Shift+U, Ctrl+N, Ctrl+E, Ctrl+F, Ctrl+L"},
    });
}

// Xfce's own image viewer takes other keys to turn and save a picture and
// none for its properties; the other desktops' viewers and the other wheels
// keep the shared keys there.
TEST(GalleryAppKeys, TheDesktopsOwnProgramWhereItDiffers) {
    EXPECT_EQ(keysOf("gallery-apple-photos", "XFCE", true),
              "Full\nScreen F11, Rotate Ctrl+], Save a\nCopy Ctrl+S, Copy Ctrl+C, Rotate\nLeft Ctrl+[, "
              "Slideshow F5, Open Ctrl+O, Delete Delete");
    EXPECT_EQ(keysOf("gallery-apple-photos", "ubuntu:XFCE"),
              "F11, Ctrl+], Ctrl+S, Ctrl+C, Ctrl+[, F5, Ctrl+O, Delete");
    for (const char* desktop : {"", "MATE", "GNOME", "X-Cinnamon"})
        EXPECT_EQ(keysOf("gallery-apple-photos", desktop),
                  "F11, Ctrl+R, Ctrl+Shift+S, Ctrl+C, Alt+Enter, F5, Ctrl+O, Delete")
            << desktop;
    EXPECT_EQ(keysOf("gallery-finder", "XFCE"), keysOf("gallery-finder"));
}

// Plasma's own programs take other keys for some commands: Dolphin previews
// nothing on Space (it starts selecting) and makes a folder with F10, Gwenview
// starts no slideshow on a key (F5 reloads) but steps to the next picture
// with Right, and Okular shows its sidebar with F7 and turns and fits the
// width on no key at all. Another desktop's file manager never gets them.
TEST(GalleryAppKeys, PlasmasOwnProgramsOnKde) {
    EXPECT_EQ(keysOf("gallery-finder", "KDE", true),
              "Information F11, New Folder F10, Rename F2, Properties Alt+Enter, Go to\nFolder Ctrl+L, "
              "Side Pane F9, Copy Ctrl+C, Move to\nTrash Delete");
    EXPECT_EQ(
        keysOf("gallery-apple-photos", "KDE", true),
        "Full\nScreen F11, Rotate Ctrl+R, Save As Ctrl+Shift+S, Copy Ctrl+C, Info Alt+Enter, Next Right, "
        "Open Ctrl+O, Delete Delete");
    EXPECT_EQ(keysOf("gallery-preview", "KDE"), "Ctrl+=, Ctrl+-, empty, empty, F7, empty, Alt+Enter, Ctrl+0");
    for (const char* desktop : {"", "MATE", "XFCE", "GNOME", "X-Cinnamon"})
        EXPECT_EQ(keysOf("gallery-finder", desktop),
                  "Space, Ctrl+Shift+N, F2, Alt+Enter, Ctrl+L, F9, Ctrl+C, Delete")
            << desktop;
}

// The window wheel works the running desktop's window manager with its stock
// keys, each slot on the setting its key comes from; a command the manager
// has no key for leaves its slot empty (none centres a window, so that slot
// moves it). Cinnamon's keys are also sent where the desktop is not known.
TEST(GalleryAppKeys, EachWindowSlotSendsItsWindowManagersStockBinding) {
    struct WindowManager {
        std::string_view name;
        std::vector<std::string_view> desktops;
        // Where the settings below live.
        std::string_view schema;
        // Slot by slot: Top Half, Maximize, Right Half, Move, Bottom Half,
        // Next Display, Left Half, Restore; the key, then its setting.
        std::vector<std::pair<std::string_view, std::string_view>> slots;
    };
    const std::vector<WindowManager> managers{
        {"Muffin",
         {"", "X-Cinnamon"},
         "org.cinnamon.desktop.keybindings.wm",
         {{"Super+Up", "push-tile-up"},
          {"Alt+F10", "toggle-maximized"},
          {"Super+Right", "push-tile-right"},
          {"Alt+F7", "begin-move"},
          {"Super+Down", "push-tile-down"},
          {"Super+Shift+Right", "move-to-monitor-right"},
          {"Super+Left", "push-tile-left"},
          {"Alt+F5", "unmaximize"}}},
        {"KWin",
         {"KDE"},
         "kglobalshortcutsrc [kwin]",
         {{"Super+Up", "Window Quick Tile Top"},
          {"Super+Page Up", "Window Maximize"},
          {"Super+Right", "Window Quick Tile Right"},
          {"empty", "Window Move has no key"},
          {"Super+Down", "Window Quick Tile Bottom"},
          {"Super+Shift+Right", "Window to Next Screen"},
          {"Super+Left", "Window Quick Tile Left"},
          {"empty", "Window Maximize toggles back"}}},
        {"Mutter",
         {"GNOME", "ubuntu:GNOME"},
         "org.gnome.desktop.wm.keybindings, the halves org.gnome.mutter.keybindings",
         {{"empty", "no top half"},
          {"Super+Up", "maximize"},
          {"Super+Right", "toggle-tiled-right"},
          {"Alt+F7", "begin-move"},
          {"empty", "no bottom half"},
          {"Super+Shift+Right", "move-to-monitor-right"},
          {"Super+Left", "toggle-tiled-left"},
          {"Alt+F5", "unmaximize"}}},
        {"xfwm4",
         {"XFCE"},
         "xfconf xfce4-keyboard-shortcuts /xfwm4/default",
         {{"Super+Keypad 8", "tile_up_key"},
          {"Alt+F10", "maximize_window_key"},
          {"Super+Keypad 6", "tile_right_key"},
          {"Alt+F7", "move_window_key"},
          {"Super+Keypad 2", "tile_down_key"},
          {"empty", "no key to another display"},
          {"Super+Keypad 4", "tile_left_key"},
          {"empty", "maximize_window_key toggles back"}}},
        {"marco",
         {"MATE"},
         "org.mate.Marco.window-keybindings",
         {{"empty", "no top half"},
          {"Alt+F10", "toggle-maximized"},
          {"Super+Right", "tile-to-side-e"},
          {"Alt+F7", "begin-move"},
          {"empty", "no bottom half"},
          {"empty", "no key to another display"},
          {"Super+Left", "tile-to-side-w"},
          {"Super+Down", "unmaximize"}}},
    };
    for (const WindowManager& manager : managers)
        for (const std::string_view desktop : manager.desktops) {
            std::stringstream sent(keysOf("gallery-rectangle", desktop));
            for (const auto& [key, setting] : manager.slots) {
                std::string slot;
                std::getline(sent >> std::ws, slot, ',');
                EXPECT_EQ(slot, key) << manager.name << " on \"" << desktop << "\": " << manager.schema << " "
                                     << setting;
            }
            EXPECT_TRUE(sent.eof()) << desktop;
        }
}

// Wheels for another system's own programs go by the role they play here.
TEST(GalleryAppKeys, WheelsAreNamedForTheirRoleHere) {
    for (const GalleryWheel& g : WheelGallery::all())
        for (const char* name : {"Xcode", "Final Cut", "Rectangle"}) {
            EXPECT_EQ(g.wheel.name.find(name), std::string::npos) << g.id;
            EXPECT_EQ(g.summary.find(name), std::string::npos) << g.id;
        }
}

// Each change of the desktop table lands on its slice, symbol included: a
// slot that does another command there shows that command's symbol.
TEST(GalleryAppKeys, EachDesktopChangeGivesItsSliceTheLabelSymbolAndKey) {
    for (const DesktopProgramKeys::Change& change : DesktopProgramKeys::table()) {
        const std::string row = std::string(change.desktop) + " " + std::string(change.galleryId) + " " +
                                std::string(change.label);
        const Wheel original = testsupport::galleryWheel(change.galleryId).wheel;
        const auto before = std::find_if(original.slices.begin(), original.slices.end(),
                                         [&](const Slice& s) { return s.label == change.label; });
        ASSERT_NE(before, original.slices.end()) << row;
        const Wheel wheel = DesktopProgramKeys::adapted(original, change.desktop);
        const auto after = std::find_if(wheel.slices.begin(), wheel.slices.end(),
                                        [&](const Slice& s) { return s.position == before->position; });
        if (change.written.empty()) {
            EXPECT_EQ(after, wheel.slices.end()) << row;
            continue;
        }
        ASSERT_NE(after, wheel.slices.end()) << row;
        EXPECT_EQ(after->label, change.newLabel) << row;
        EXPECT_EQ(after->icon, change.newSymbol.empty() ? before->icon
                                                        : Icon{Icon::SfSymbol{std::string(change.newSymbol)}})
            << row;
        EXPECT_NE(after->action, before->action) << row;
    }
}
