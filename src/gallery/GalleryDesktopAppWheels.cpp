#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addDesktopAppWheels(std::vector<GalleryWheel>& out) {
    out.push_back(define({"gallery-finalcut",
                          "Video Editor",
                          Category::apps,
                          {},
                          "Select, blade, mark, and play through the timeline of your video editor."},
                         {
                             // The video editors here have no selection tool to
                             // pick (A cuts the selected clip in one), but they
                             // select every clip with Ctrl+A and split the selected
                             // one at the playhead with S. Where they differ, the
                             // keys are OpenShot's, and the wheel opens for
                             // OpenShot alone.
                             {"Select All", "cursorarrow", key("⌘A")},
                             {"Blade", "scissors", key("R")},
                             {"Play/Pause", "playpause.fill", key("Space")},
                             {"Add Marker", "bookmark.fill", key("⌘M")},
                             {"Blade at\nPlayhead", "scissors.badge.ellipsis", key("S")},
                             {"Import\nMedia", "square.and.arrow.down", key("⌘F")},
                             {"Share File", "square.and.arrow.up", key("⌘E")},
                         }));

    out.push_back(
        define({"gallery-finder",
                "Files",
                Category::apps,
                {},
                "Previews, new folders, properties, going to a folder, and trash in the file manager."},
               {
                   // The keys the file managers here share: Space previews
                   // where a previewer is installed and opens the file
                   // elsewhere, Ctrl+L takes a typed location, F9 toggles the
                   // side pane, Delete trashes. None makes a folder of the
                   // selection, duplicates on a key (Ctrl+D bookmarks the
                   // folder) or hides a path bar: those slots rename and copy
                   // the selection and toggle the side pane.
                   {"Preview", "eye", key("Space")},
                   {"New Folder", "folder.badge.plus", key("⇧⌘N")},
                   {"Rename", "pencil", key("F2")},
                   {"Properties", "info.circle", key("⌥↩")},
                   {"Go to\nFolder", "arrow.right.circle", key("⌘L")},
                   {"Side Pane", "sidebar.left", key("F9")},
                   {"Copy", "doc.on.doc", key("⌘C")},
                   {"Move to\nTrash", "trash", key("⌦")},
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
                          "Zoom, rotate, fit, and inspect PDFs and other documents in the document viewer."},
                         {
                             // The document viewers here rotate with Ctrl and an
                             // arrow (Ctrl+R reloads, Ctrl+I inverts the colours)
                             // and neither mark up nor crop: the side pane and
                             // fitting the width take those slots.
                             {"Zoom In", "plus.magnifyingglass", key("⌘=")},
                             {"Zoom Out", "minus.magnifyingglass", key("⌘-")},
                             {"Rotate\nLeft", "rotate.left", key("⌘←")},
                             {"Rotate\nRight", "rotate.right", key("⌘→")},
                             {"Side Pane", "sidebar.left", key("F9")},
                             {"Fit Width", "arrow.up.left.and.arrow.down.right", key("W")},
                             {"Inspector", "info.circle", key("⌥↩")},
                             {"Actual\nSize", "1.magnifyingglass", key("⌘0")},
                         }));

    out.push_back(define({"gallery-apple-mail",
                          "Mail",
                          Category::apps,
                          {},
                          "Write, reply, forward, send, and sort your messages in your mail program."},
                         {
                             // The mail programs here send with Ctrl+Enter and
                             // delete with Delete; where they differ, the keys are
                             // Evolution's, which a desktop without a mail program
                             // of its own finds first (there Ctrl+L replies to the
                             // list, and Ctrl+1 shows the mail).
                             {"New\nMessage", "square.and.pencil", key("⌘N")},
                             {"Reply", "arrowshape.turn.up.left", key("⌘R")},
                             {"Reply All", "arrowshape.turn.up.left.2", key("⇧⌘R")},
                             {"Forward", "arrowshape.turn.up.right", key("⌘F")},
                             {"Send", "paperplane", key("⌘↩")},
                             {"Mail View", "tray", key("⌘1")},
                             {"Mark as\nUnread", "envelope.badge", key("⇧⌘K")},
                             {"Delete", "trash", key("⌦")},
                         }));

    out.push_back(define({"gallery-apple-messages",
                          "Messages",
                          Category::apps,
                          {},
                          "New chats, replies, reactions, edits, and hopping between conversations."},
                         {
                             // The chat programs here edit the last message with Up
                             // and move between chats with Alt and an arrow; the
                             // keys for the selected message are Signal's, which a
                             // desktop without a chat program of its own finds
                             // first.
                             {"New\nMessage", "square.and.pencil", key("⌘N")},
                             {"Reply", "arrowshape.turn.up.left", key("⇧⌘R")},
                             {"React", emoji("👍"), key("⇧⌘E")},
                             {"Edit Last\nMessage", "pencil", key("↑")},
                             {"Details", "info.circle", key("⌘D")},
                             {"Find", "magnifyingglass", key("⌘F")},
                             {"Next Chat", "chevron.down", key("⌥↓")},
                             {"Previous\nChat", "chevron.up", key("⌥↑")},
                         }));

    out.push_back(define({"gallery-apple-notes",
                          "Notes",
                          Category::apps,
                          {},
                          "New notes, links, larger text, and formatting in your notes program."},
                         {
                             // Gnote's keys, the notes program the GTK desktops
                             // ship. The notes programs here have no folders,
                             // checklists or title style on a key, so those slots
                             // underline, strike through and enlarge the text;
                             // Ctrl+L links the selection to a note.
                             {"New Note", "square.and.pencil", key("⌘N")},
                             {"Underline", "underline", key("⌘U")},
                             {"Strikethrough", "strikethrough", key("⌘S")},
                             {"Larger\nText", "textformat.size", key("⇧⌘=")},
                             {"Bold", "bold", key("⌘B")},
                             {"Italic", "italic", key("⌘I")},
                             {"Add Link", "link", key("⌘L")},
                             {"Find", "magnifyingglass", key("⌘F")},
                         }));

    out.push_back(define({"gallery-apple-calendar",
                          "Calendar",
                          Category::apps,
                          {},
                          "New events, today, and the day, week, month, and year views of Calendar."},
                         {
                             // Evolution's keys, which a desktop without a calendar
                             // of its own finds first: there Ctrl and a digit
                             // switch to mail, contacts or tasks. No calendar here
                             // refreshes on a key; the list of coming events takes
                             // that slot.
                             {"New Event", "calendar.badge.plus", key("⌘N")},
                             {"Today", "calendar.circle", key("⌘T")},
                             {"Day View", "1.square", key("⌘Y")},
                             {"Week View", "7.square", key("⌘K")},
                             {"Month View", "calendar", key("⌘M")},
                             {"Year View", "square.grid.3x3", key("⌘I")},
                             {"Go to Date", "calendar.day.timeline.left", key("⌘G")},
                             {"List View", "list.bullet", key("⌘L")},
                         }));

    out.push_back(define({"gallery-apple-photos",
                          "Image Viewer",
                          Category::apps,
                          {},
                          "Rotate, copy, save, open, and delete pictures, or show them full screen."},
                         {
                             // The image viewers here keep no library to edit, hide
                             // or put in albums: those slots show the picture full
                             // screen, copy it and start a slideshow. Where they
                             // differ, the keys are Eye of MATE's and Eye of
                             // GNOME's (Ctrl+R turns clockwise).
                             {"Full\nScreen", "arrow.up.left.and.arrow.down.right", key("F11")},
                             {"Rotate", "rotate.right", key("⌘R")},
                             {"Save As", "square.and.arrow.down", key("⇧⌘S")},
                             {"Copy", "doc.on.doc", key("⌘C")},
                             {"Info", "info.circle", key("⌥↩")},
                             {"Slideshow", "play.fill", key("F5")},
                             {"Open", "folder", key("⌘O")},
                             {"Delete", "trash", key("⌦")},
                         }));

    out.push_back(define({"gallery-apple-music",
                          "Music Player",
                          Category::apps,
                          {Category::fun, Category::music},
                          "Playback, volume, search, and the play queue in your music player."},
                         {
                             // Rhythmbox's keys, which a desktop without a player
                             // of its own finds first: arrows and Space alone move
                             // and pick in its lists.
                             {"Play\nPause", "playpause.fill", key("⌘P")},
                             {"Next", "forward.fill", key("⌘→")},
                             {"Previous", "backward.fill", key("⌘←")},
                             {"Volume Up", "speaker.wave.3.fill", key("⌘↑")},
                             {"Volume\nDown", "speaker.wave.1.fill", key("⌘↓")},
                             {"Search", "magnifyingglass", key("⌘F")},
                             {"Play Queue", "list.bullet", key("⌘K")},
                             {"Current\nSong", "music.note", key("⌘J")},
                         }));

    out.push_back(
        define({"gallery-xcode",
                "Code Editor",
                Category::apps,
                {},
                "Build, run, debug, jump to definitions, and move lines around in your code editor."},
               {
                   // VS Code's keys, and the wheel opens for it and the
                   // editors built from it, which take the same ones. It
                   // runs tests through a two-stroke chord that a slice
                   // cannot send: that slot starts debugging.
                   {"Build", "hammer", key("⇧⌘B")},
                   {"Run", "play.fill", key("⌘F5")},
                   {"Stop", "stop.fill", key("⇧F5")},
                   {"Start\nDebugging", "ant", key("F5")},
                   {"Jump to\nDefinition", "arrow.turn.down.right", key("F12")},
                   {"Rename\nSymbol", "pencil.line", key("F2")},
                   {"Move Line\nUp", "arrow.up", key("⌥↑")},
                   {"Move Line\nDown", "arrow.down", key("⌥↓")},
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
