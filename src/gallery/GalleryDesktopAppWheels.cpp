#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addDesktopAppWheels(std::vector<GalleryWheel>& out) {
    out.push_back(define({"gallery-finalcut",
                          "Final Cut Pro",
                          Category::apps,
                          {},
                          "Select, blade, mark, and play through the timeline of Final Cut Pro."},
                         {
                             {"Select", "cursorarrow", key("A")},
                             {"Blade", "scissors", key("B")},
                             {"Play/Pause", "playpause.fill", key("Space")},
                             {"Add Marker", "bookmark.fill", key("M")},
                             {"Blade at\nPlayhead", "scissors.badge.ellipsis", key("⌘B")},
                             {"Import\nMedia", "square.and.arrow.down", key("⌘I")},
                             {"Share File", "square.and.arrow.up", key("⌘E")},
                         }));

    out.push_back(
        define({"gallery-finder",
                "Files",
                Category::apps,
                {},
                "Previews, new folders, properties, going to a folder, and trash in the file manager."},
               {
                   {"Preview", "eye", key("Space")},
                   {"New Folder", "folder.badge.plus", key("⇧⌘N")},
                   {"Folder from\nSelection", "folder.fill.badge.plus", key("⌃⌘N")},
                   {"Properties", "info.circle", key("⌘I")},
                   {"Go to\nFolder", "arrow.right.circle", key("⇧⌘G")},
                   {"Show Path\nBar", "point.topleft.down.to.point.bottomright.curvepath", key("⌥⌘P")},
                   {"Duplicate", "plus.square.on.square", key("⌘D")},
                   {"Move to\nTrash", "trash", key("⌘⌫")},
               }));

    out.push_back(define({"gallery-safari",
                          "Web Browser",
                          Category::apps,
                          {Category::web},
                          "Tabs, the address bar, Reader, and the developer tools of your web browser."},
                         {
                             {"New Tab", "plus.square", key("⌘T")},
                             {"Reopen Tab", "arrow.uturn.left.square", key("⇧⌘T")},
                             {"Address Bar", "link", key("⌘L")},
                             // The browser here: Ctrl+Shift+R would reload past the cache.
                             {"Reader\nView", "doc.plaintext", key("⌥⌘R")},
                             {"Back", "chevron.backward", key("⌥←")},
                             {"Forward", "chevron.forward", key("⌥→")},
                             {"Web\nInspector", "hammer", key("⇧⌘I")},
                             {"JavaScript\nConsole", "terminal", key("⇧⌘J")},
                         }));

    out.push_back(define({"gallery-preview",
                          "Document Viewer",
                          Category::apps,
                          {},
                          "Zoom, rotate, crop, mark up, and inspect images and PDFs in the document viewer."},
                         {
                             {"Zoom In", "plus.magnifyingglass", key("⌘=")},
                             {"Zoom Out", "minus.magnifyingglass", key("⌘-")},
                             {"Rotate\nLeft", "rotate.left", key("⌘L")},
                             {"Rotate\nRight", "rotate.right", key("⌘R")},
                             {"Markup\nToolbar", "pencil.tip.crop.circle", key("⇧⌘A")},
                             {"Crop", "crop", key("⌘K")},
                             {"Inspector", "info.circle", key("⌘I")},
                             {"Actual\nSize", "1.magnifyingglass", key("⌘0")},
                         }));

    out.push_back(define({"gallery-apple-mail",
                          "Mail",
                          Category::apps,
                          {},
                          "Write, reply, forward, send, and sort your messages in your mail program."},
                         {
                             {"New\nMessage", "square.and.pencil", key("⌘N")},
                             {"Reply", "arrowshape.turn.up.left", key("⌘R")},
                             {"Reply All", "arrowshape.turn.up.left.2", key("⇧⌘R")},
                             {"Forward", "arrowshape.turn.up.right", key("⇧⌘F")},
                             {"Send", "paperplane", key("⇧⌘D")},
                             {"Go to\nInbox", "tray", key("⌘1")},
                             {"Mark as\nUnread", "envelope.badge", key("⇧⌘U")},
                             {"Delete", "trash", key("⌘⌫")},
                         }));

    out.push_back(define({"gallery-apple-messages",
                          "Messages",
                          Category::apps,
                          {},
                          "New chats, replies, Tapbacks, edits, and hopping between conversations."},
                         {
                             {"New\nMessage", "square.and.pencil", key("⌘N")},
                             {"Reply to\nLast", "arrowshape.turn.up.left", key("⌘R")},
                             {"Tapback", emoji("👍"), key("⌘T")},
                             {"Edit Last\nMessage", "pencil", key("⌘E")},
                             {"Details", "info.circle", key("⌘I")},
                             {"Find", "magnifyingglass", key("⌘F")},
                             {"Next Chat", "chevron.down", key("⇧⌘]")},
                             {"Previous\nChat", "chevron.up", key("⇧⌘[")},
                         }));

    out.push_back(define({"gallery-apple-notes",
                          "Notes",
                          Category::apps,
                          {},
                          "New notes and folders, checklists, titles, and formatting in Notes."},
                         {
                             {"New Note", "square.and.pencil", key("⌘N")},
                             {"New Folder", "folder.badge.plus", key("⇧⌘N")},
                             {"Checklist", "checklist", key("⇧⌘L")},
                             {"Title", "textformat.size", key("⇧⌘T")},
                             {"Bold", "bold", key("⌘B")},
                             {"Italic", "italic", key("⌘I")},
                             {"Add Link", "link", key("⌘K")},
                             {"Find", "magnifyingglass", key("⌘F")},
                         }));

    out.push_back(define({"gallery-apple-calendar",
                          "Calendar",
                          Category::apps,
                          {},
                          "New events, today, and the day, week, month, and year views of Calendar."},
                         {
                             {"New Event", "calendar.badge.plus", key("⌘N")},
                             {"Today", "calendar.circle", key("⌘T")},
                             {"Day View", "1.square", key("⌘1")},
                             {"Week View", "7.square", key("⌘2")},
                             {"Month View", "calendar", key("⌘3")},
                             {"Year View", "square.grid.3x3", key("⌘4")},
                             {"Go to Date", "calendar.day.timeline.left", key("⇧⌘T")},
                             {"Refresh", "arrow.clockwise", key("⌘R")},
                         }));

    out.push_back(define({"gallery-apple-photos",
                          "Image Viewer",
                          Category::apps,
                          {},
                          "Edit, rotate, duplicate, hide, import, and organise your photos."},
                         {
                             {"Edit", "slider.horizontal.3", key("⌘↩")},
                             {"Rotate", "rotate.left", key("⌘R")},
                             {"Duplicate", "plus.square.on.square", key("⌘D")},
                             {"Hide Photo", "eye.slash", key("⌘L")},
                             {"Info", "info.circle", key("⌘I")},
                             {"New Album", "rectangle.stack.badge.plus", key("⌘N")},
                             {"Import", "square.and.arrow.down", key("⇧⌘I")},
                             {"Delete", "trash", key("⌘⌫")},
                         }));

    out.push_back(define({"gallery-apple-music",
                          "Music Player",
                          Category::apps,
                          {Category::fun, Category::music},
                          "Playback, volume, search, and the Up Next queue in your music player."},
                         {
                             {"Play\nPause", "playpause.fill", key("Space")},
                             {"Next", "forward.fill", key("→")},
                             {"Previous", "backward.fill", key("←")},
                             {"Volume Up", "speaker.wave.3.fill", key("⌘↑")},
                             {"Volume\nDown", "speaker.wave.1.fill", key("⌘↓")},
                             {"Search", "magnifyingglass", key("⌘F")},
                             {"Up Next", "list.bullet", key("⌥⌘U")},
                             {"Current\nSong", "music.note", key("⌘L")},
                         }));

    out.push_back(define({"gallery-xcode",
                          "Xcode",
                          Category::apps,
                          {},
                          "Build, run, test, jump to definitions, and move lines around in Xcode."},
                         {
                             {"Build", "hammer", key("⌘B")},
                             {"Run", "play.fill", key("⌘R")},
                             {"Stop", "stop.fill", key("⌘.")},
                             {"Test", "checkmark.diamond", key("⌘U")},
                             {"Jump to\nDefinition", "arrow.turn.down.right", key("⌃⌘J")},
                             {"Edit All\nin Scope", "pencil.line", key("⌃⌘E")},
                             {"Move Line\nUp", "arrow.up", key("⌥⌘[")},
                             {"Move Line\nDown", "arrow.down", key("⌥⌘]")},
                         }));

    out.push_back(define({"gallery-terminal",
                          "Terminal",
                          Category::apps,
                          {},
                          "Windows and tabs, clearing, history search, and interrupting in Terminal."},
                         {
                             // A terminal takes its own commands with Shift: Ctrl
                             // alone reaches the shell (next line, transpose, kill).
                             {"New Window", "macwindow.badge.plus", key("⇧⌘N")},
                             {"New Tab", "plus.square", key("⇧⌘T")},
                             {"Clear\nScrollback", "eraser", key("⇧⌘K")},
                             {"Find", "magnifyingglass", key("⇧⌘F")},
                             {"Interrupt", "stop.circle", key("⌃C")},
                             {"Clear Line", "delete.left", key("⌃U")},
                             {"Search\nHistory", "clock.arrow.circlepath", key("⌃R")},
                             {"Clear\nScreen", "clear", key("⌃L")},
                         }));
}

} // namespace rondelix::GalleryCatalogue
