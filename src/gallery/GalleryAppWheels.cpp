#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addAppWheels(std::vector<GalleryWheel>& out) {
    // Tool choices are single keys without modifiers.
    out.push_back(define(
        {"gallery-figma", "Figma", Category::apps, {}, "Tools and view shortcuts for designing in Figma."},
        {
            {"Move", "cursorarrow", key("V")},
            {"Frame", "rectangle.dashed", key("F")},
            {"Pen", "pencil.tip", key("P")},
            {"Text", "textformat", key("T")},
            {"Comment", "bubble.left", key("C")},
            {"Zoom to\nFit", "arrow.up.left.and.arrow.down.right", key("⇧1")},
            {"Zoom to\nSelection", "scope", key("⇧2")},
            {"Toggle UI", "sidebar.left", key("⌘\\")},
        }));

    out.push_back(define({"gallery-photoshop",
                          "Photoshop",
                          Category::apps,
                          {},
                          "Pick tools, transform, add layers, and export your work in Photoshop."},
                         {
                             // GIMP's keys, the editor this wheel finds here: there
                             // B draws paths, E selects an ellipse and Ctrl+D
                             // duplicates the image.
                             {"Move", "arrow.up.and.down.and.arrow.left.and.right", key("M")},
                             {"Brush", "paintbrush.pointed", key("P")},
                             {"Eraser", "eraser", key("⇧E")},
                             {"Type", "textformat", key("T")},
                             {"Free\nTransform", "skew", key("⇧T")},
                             {"New Layer", "square.3.layers.3d", key("⇧⌘N")},
                             {"Deselect", "rectangle.dashed", key("⇧⌘A")},
                             {"Export As", "square.and.arrow.up", key("⇧⌘E")},
                         }));

    out.push_back(define({"gallery-spotify",
                          "Spotify",
                          Category::apps,
                          {Category::fun, Category::music},
                          "Play, skip, turn it up, shuffle, and search your music in Spotify."},
                         {
                             {"Play/Pause", "playpause.fill", key("Space")},
                             {"Next Track", "forward.fill", key("⌘→")},
                             {"Previous\nTrack", "backward.fill", key("⌘←")},
                             {"Volume Up", "speaker.wave.3.fill", key("⌘↑")},
                             {"Volume Down", "speaker.wave.1.fill", key("⌘↓")},
                             {"Search", "magnifyingglass", key("⌘L")},
                             {"Shuffle", "shuffle", key("⌘S")},
                             {"Repeat", "repeat", key("⌘R")},
                         }));

    out.push_back(define({"gallery-slack",
                          "Slack",
                          Category::apps,
                          {},
                          "Jump to a channel, catch up on threads and unreads, and post in Slack."},
                         {
                             {"Quick\nSwitcher", "arrow.left.arrow.right", key("⌘K")},
                             {"New Message", "square.and.pencil", key("⌘N")},
                             {"All Unreads", "tray.full", key("⇧⌘A")},
                             {"Threads", "bubble.left.and.bubble.right", key("⇧⌘T")},
                             {"Mark All\nRead", "checkmark.circle", key("⇧⎋")},
                             {"Upload File", "paperclip", key("⌘U")},
                             {"Set Status", "face.smiling", key("⇧⌘Y")},
                             {"Search", "magnifyingglass", key("⌘F")},
                         }));

    out.push_back(define({"gallery-discord",
                          "Discord",
                          Category::apps,
                          {},
                          "Switch channels, mute, deafen, call, and find messages in Discord."},
                         {
                             {"Quick\nSwitcher", "arrow.left.arrow.right", key("⌘K")},
                             {"Mute Mic", "mic.slash.fill", key("⇧⌘M")},
                             {"Deafen", "headphones", key("⇧⌘D")},
                             {"Previous\nChannel", "chevron.up", key("⌥↑")},
                             {"Next\nChannel", "chevron.down", key("⌥↓")},
                             {"Start Call", "phone.fill", key("⌘'")},
                             {"Emoji\nPicker", "face.smiling", key("⌘E")},
                             {"Search", "magnifyingglass", key("⌘F")},
                         }));

    out.push_back(define({"gallery-zoom",
                          "Zoom",
                          Category::apps,
                          {},
                          "Mute, camera, screen sharing, chat, and leaving a Zoom meeting fast."},
                         {
                             // The Linux client takes its meeting keys on Alt, and
                             // has none for joining: raising a hand takes that slot.
                             {"Mute", "mic.slash.fill", key("⌥A")},
                             {"Video", "video.fill", key("⌥V")},
                             {"Share\nScreen", "rectangle.on.rectangle", key("⌥S")},
                             {"Chat", "bubble.left", key("⌥H")},
                             {"Participants", "person.2.fill", key("⌥U")},
                             {"Invite", "person.badge.plus", key("⌥I")},
                             {"Raise\nHand", "hand.raised.fill", key("⌥Y")},
                             {"Leave\nMeeting", "phone.down.fill", key("⌥Q")},
                         }));

    out.push_back(define({"gallery-teams",
                          "Microsoft Teams",
                          Category::apps,
                          {},
                          "Mute, camera, raise hand, and call controls for Microsoft Teams."},
                         {
                             {"Mute", "mic.slash.fill", key("⇧⌘M")},
                             {"Camera", "video.fill", key("⇧⌘O")},
                             {"Raise\nHand", "hand.raised.fill", key("⇧⌘K")},
                             {"Search", "magnifyingglass", key("⌘E")},
                             {"Leave", "phone.down.fill", key("⇧⌘H")},
                         }));

    out.push_back(define({"gallery-chrome",
                          "Google Chrome",
                          Category::apps,
                          {Category::web},
                          "Tabs, bookmarks, downloads, and the developer tools of Google Chrome."},
                         {
                             {"New Tab", "plus.square", key("⌘T")},
                             {"Reopen Tab", "arrow.uturn.left.square", key("⇧⌘T")},
                             {"Next Tab", "arrow.right.square", key("⌃⇥")},
                             {"Address Bar", "link", key("⌘L")},
                             {"Bookmark", "bookmark", key("⌘D")},
                             {"Downloads", "arrow.down.circle", key("⌘J")},
                             {"Developer\nTools", "hammer", key("⇧⌘I")},
                             {"JavaScript\nConsole", "terminal", key("⇧⌘J")},
                         }));

    out.push_back(define({"gallery-vscode",
                          "VS Code",
                          Category::apps,
                          {},
                          "Command palette, quick open, debugging, and search across files in VS Code."},
                         {
                             {"Command\nPalette", "command", key("⇧⌘P")},
                             {"Quick Open", "doc.text.magnifyingglass", key("⌘P")},
                             {"Go to\nDefinition", "arrow.turn.down.right", key("F12")},
                             {"Start\nDebugging", "ant", key("F5")},
                             {"Toggle\nSidebar", "sidebar.left", key("⌘B")},
                             {"Find in\nFiles", "text.magnifyingglass", key("⇧⌘F")},
                             {"Comment\nLine", "number", key("⌘/")},
                             {"Extensions", "puzzlepiece.extension", key("⇧⌘X")},
                         }));

    out.push_back(define({"gallery-notion",
                          "Notion",
                          Category::apps,
                          {Category::productivity},
                          "Search, new pages, links, comments, and the sidebar of your Notion pages."},
                         {
                             {"Search", "magnifyingglass", key("⌘P")},
                             {"New Page", "doc.badge.plus", key("⌘N")},
                             {"Copy Link", "link", key("⌘L")},
                             {"Comment", "text.bubble", key("⇧⌘M")},
                             {"Dark Mode", "moon.fill", key("⇧⌘L")},
                             {"Toggle\nSidebar", "sidebar.left", key("⌘\\")},
                             {"Back", "chevron.backward", key("⌘[")},
                         }));

    out.push_back(define({"gallery-obsidian",
                          "Obsidian",
                          Category::apps,
                          {Category::productivity},
                          "Switch notes, run commands, search the vault, and open the graph view."},
                         {
                             {"Quick\nSwitcher", "arrow.left.arrow.right", key("⌘O")},
                             {"Command\nPalette", "command", key("⌘P")},
                             {"New Note", "square.and.pencil", key("⌘N")},
                             {"Search\nVault", "magnifyingglass", key("⇧⌘F")},
                             {"Reading\nView", "book", key("⌘E")},
                             {"Graph View", "point.3.connected.trianglepath.dotted", key("⌘G")},
                             {"Settings", "gearshape", key("⌘,")},
                         }));

    out.push_back(define({"gallery-word",
                          "Microsoft Word",
                          Category::apps,
                          {},
                          "Formatting, spelling, the thesaurus, and comments in Microsoft Word."},
                         {
                             // LibreOffice Writer's keys, the word processor this
                             // wheel finds here: it counts words and records
                             // changes on no key, so the thesaurus and a comment
                             // take those slots.
                             {"Bold", "bold", key("⌘B")},
                             {"Italic", "italic", key("⌘I")},
                             {"Underline", "underline", key("⌘U")},
                             {"Spelling", "textformat.abc", key("F7")},
                             {"Change Case", "textformat", key("⇧F3")},
                             {"Thesaurus", "book", key("⌘F7")},
                             {"Comment", "text.bubble", key("⌥⌘C")},
                         }));

    out.push_back(define({"gallery-excel",
                          "Excel",
                          Category::apps,
                          {},
                          "Select rows, insert functions, fill, format cells, and add links in Excel."},
                         {
                             // LibreOffice Calc's keys, the spreadsheet this wheel
                             // finds here: it sums and fills right on no key (Ctrl+R
                             // aligns right), so the function wizard and today's
                             // date take those slots.
                             {"Select Row", "tablecells", key("⇧Space")},
                             {"Insert\nFunction", "sum", key("⌘F2")},
                             {"Format\nCells", "tablecells.badge.ellipsis", key("⌘1")},
                             {"Fill Down", "arrow.down.to.line", key("⌘D")},
                             {"Insert Date", "calendar", key("⌘;")},
                             {"Bold", "bold", key("⌘B")},
                             {"Insert Link", "link", key("⌘K")},
                         }));

    // Each half sits at the slot that points its way. The window managers'
    // stock keys: where they differ, those of most of the desktops (Plasma,
    // GNOME and Cinnamon tile halves on Super and an arrow; GNOME, Xfce, MATE
    // and Cinnamon maximize with Alt+F10 and move with Alt+F7), and each
    // desktop's own where it keeps others. None centres a window on a key:
    // that slot moves it.
    out.push_back(
        define({"gallery-rectangle",
                "Window Tiling",
                Category::apps,
                {Category::productivity},
                "Snap windows to halves, maximize, move, and restore them with your desktop's keys."},
               {
                   {"Top\nHalf", "rectangle.tophalf.inset.filled", key("❖↑")},
                   {"Maximize", "arrow.up.left.and.arrow.down.right", key("⌥F10")},
                   {"Right\nHalf", "rectangle.righthalf.inset.filled", key("❖→")},
                   {"Move", "arrow.up.and.down.and.arrow.left.and.right", key("⌥F7")},
                   {"Bottom\nHalf", "rectangle.bottomhalf.inset.filled", key("❖↓")},
                   {"Next\nDisplay", "rectangle.on.rectangle", key("⇧❖→")},
                   {"Left\nHalf", "rectangle.lefthalf.inset.filled", key("❖←")},
                   {"Restore", "arrow.uturn.backward", key("⌥F5")},
               }));

    out.push_back(define({"gallery-firefox",
                          "Firefox",
                          Category::apps,
                          {Category::web},
                          "Tabs, private windows, bookmarks, and the developer tools of Firefox."},
                         {
                             {"New Tab", "plus.square", key("⌘T")},
                             {"Reopen Tab", "arrow.uturn.left.square", key("⇧⌘T")},
                             {"Next Tab", "arrow.right.square", key("⌃⇥")},
                             {"Private\nWindow", "eyeglasses", key("⇧⌘P")},
                             {"Bookmarks", "book", key("⇧⌘O")},
                             {"Address Bar", "link", key("⌘L")},
                             {"Developer\nTools", "hammer", key("⇧⌘I")},
                             {"Web Console", "terminal", key("⇧⌘K")},
                         }));

    out.push_back(define({"gallery-sublime-text",
                          "Sublime Text",
                          Category::apps,
                          {},
                          "Goto Anything, the command palette, multiple cursors, and search in Sublime."},
                         {
                             {"Goto\nAnything", "magnifyingglass", key("⌘P")},
                             {"Command\nPalette", "command", key("⇧⌘P")},
                             {"Goto\nDefinition", "arrow.turn.down.right", key("F12")},
                             {"Goto Symbol", "at", key("⌘R")},
                             {"Find and\nReplace", "arrow.left.arrow.right", key("⌘H")},
                             {"Find in\nFiles", "text.magnifyingglass", key("⇧⌘F")},
                             {"Add Next\nMatch", "plus.rectangle.on.rectangle", key("⌘D")},
                             {"Comment\nLine", "number", key("⌘/")},
                         }));

    out.push_back(define({"gallery-ghostty",
                          "Ghostty",
                          Category::apps,
                          {},
                          "Tabs, windows, splits, and clearing the screen in the Ghostty terminal."},
                         {
                             // Its own commands with Shift, as terminals take them here.
                             {"New Tab", "plus.square", key("⇧⌘T")},
                             {"New Window", "macwindow.badge.plus", key("⇧⌘N")},
                             {"Split Right", "rectangle.split.2x1", key("⇧⌘O")},
                             {"Split Down", "rectangle.split.1x2", key("⇧⌘E")},
                             {"Next Tab", "arrow.right.square", key("⌃⇥")},
                             {"Clear\nScreen", "clear", key("⌃L")},
                             {"Close", "xmark", key("⇧⌘W")},
                             {"Settings", "gearshape", key("⌘,")},
                         }));

    out.push_back(define({"gallery-keepassxc",
                          "KeePassXC",
                          Category::apps,
                          {},
                          "Copy usernames and passwords, auto-type, and lock your KeePassXC vault."},
                         {
                             {"Copy\nPassword", "key.fill", key("⌘C")},
                             {"Copy\nUsername", "person.fill", key("⌘B")},
                             {"Auto-Type", "keyboard", key("⇧⌘V")},
                             // Ctrl+U copies the address.
                             {"Open URL", "safari", key("⇧⌘U")},
                             {"New Entry", "plus.circle", key("⌘N")},
                             {"Edit Entry", "pencil", key("⌘E")},
                             {"Search", "magnifyingglass", key("⌘F")},
                             {"Lock\nDatabase", "lock.fill", key("⌘L")},
                         }));
}

} // namespace rondelix::GalleryCatalogue
