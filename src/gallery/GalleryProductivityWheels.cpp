#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addProductivityWheels(std::vector<GalleryWheel>& out) {
    out.push_back(define({"gallery-browser",
                          "Browser",
                          Category::productivity,
                          {Category::web},
                          "Tabs and navigation for Firefox, Chrome, and friends."},
                         {
                             {"New Tab", "plus.square", key("⌘T")},
                             {"Reopen Tab", "arrow.uturn.left.square", key("⇧⌘T")},
                             {"Reload", "arrow.clockwise", key("⌘R")},
                             {"Find", "magnifyingglass", key("⌘F")},
                             {"Close Tab", "xmark.square", key("⌘W")},
                             {"Back", "chevron.backward", key("⌘[")},
                             {"Forward", "chevron.forward", key("⌘]")},
                             {"New Window", "macwindow.badge.plus", key("⌘N")},
                         }));

    out.push_back(define({"gallery-writing",
                          "Writing & Text",
                          Category::productivity,
                          {},
                          "Bold, italic, links, fonts, and clean pasting in any text editor."},
                         {
                             {"Bold", "bold", key("⌘B")},
                             {"Italic", "italic", key("⌘I")},
                             {"Underline", "underline", key("⌘U")},
                             {"Add Link", "link", key("⌘K")},
                             {"Paste and\nMatch Style", "doc.on.clipboard", key("⌥⇧⌘V")},
                             {"Show Fonts", "textformat", key("⌘T")},
                             {"Show\nColors", "paintpalette", key("⇧⌘C")},
                             {"Center\nText", "text.aligncenter", key("⇧⌘\\")},
                         }));

    out.push_back(define({"gallery-windows",
                          "Windows & Workspaces",
                          Category::productivity,
                          {},
                          "The overview, workspaces, full screen, and window juggling at a flick."},
                         {
                             {"Overview", "rectangle.3.group", key("⌃↑")},
                             {"App\nWindows", "macwindow.on.rectangle", key("⌃↓")},
                             {"Workspace\nLeft", "arrow.left.square", key("⌃←")},
                             {"Workspace\nRight", "arrow.right.square", key("⌃→")},
                             {"Full\nScreen", "arrow.up.left.and.arrow.down.right", key("⌃⌘F")},
                             {"Minimize", "minus.square", key("⌘M")},
                             {"Next\nWindow", "macwindow", key("⌘`")},
                             {"Close\nWindow", "xmark.square", key("⌘W")},
                         }));

    out.push_back(define({"gallery-text-editing",
                          "Text Editing",
                          Category::productivity,
                          {},
                          "Move by word and line, select, delete, and jump through a document."},
                         {
                             {"Word Left", "arrow.left", key("⌥←")},
                             {"Word Right", "arrow.right", key("⌥→")},
                             {"Line Start", "arrow.left.to.line", key("⌘←")},
                             {"Line End", "arrow.right.to.line", key("⌘→")},
                             {"Select\nWord", "selection.pin.in.out", key("⌥⇧→")},
                             {"Delete\nWord", "delete.left", key("⌥⌫")},
                             {"Top of\nDocument", "arrow.up.to.line", key("⌘↑")},
                             {"End of\nDocument", "arrow.down.to.line", key("⌘↓")},
                         }));

    out.push_back(define({"gallery-clipboard-edit",
                          "Clipboard & Edit",
                          Category::productivity,
                          {},
                          "Cut, copy, paste, undo, and redo, plus copying and pasting a style."},
                         {
                             {"Cut", "scissors", key("⌘X")},
                             {"Copy", "doc.on.doc", key("⌘C")},
                             {"Paste", "doc.on.clipboard", key("⌘V")},
                             {"Select All", "selection.pin.in.out", key("⌘A")},
                             {"Undo", "arrow.uturn.backward", key("⌘Z")},
                             {"Redo", "arrow.uturn.forward", key("⇧⌘Z")},
                             {"Copy Style", "paintbrush", key("⌥⌘C")},
                             {"Paste\nStyle", "paintbrush.fill", key("⌥⌘V")},
                         }));

    out.push_back(define({"gallery-file-document",
                          "File & Document",
                          Category::productivity,
                          {},
                          "New, open, save, print, and close documents in almost any app."},
                         {
                             {"New\nDocument", "doc.badge.plus", key("⌘N")},
                             {"Open", "folder", key("⌘O")},
                             {"Save", "square.and.arrow.down", key("⌘S")},
                             {"Save As", "square.and.arrow.down.on.square", key("⇧⌘S")},
                             {"Print", "printer", key("⌘P")},
                             {"Page Setup", "doc.text", key("⇧⌘P")},
                             {"Close", "xmark", key("⌘W")},
                             {"Close All", "xmark.rectangle", key("⌥⌘W")},
                         }));

    out.push_back(define({"gallery-find-replace",
                          "Find & Spelling",
                          Category::productivity,
                          {},
                          "Find, step through matches, replace, and check spelling as you write."},
                         {
                             {"Find", "magnifyingglass", key("⌘F")},
                             {"Find Next", "chevron.down", key("⌘G")},
                             {"Find\nPrevious", "chevron.up", key("⇧⌘G")},
                             {"Find and\nReplace", "arrow.left.arrow.right", key("⌥⌘F")},
                             {"Use\nSelection", "text.magnifyingglass", key("⌘E")},
                             {"Jump to\nSelection", "arrow.right.to.line", key("⌘J")},
                             {"Spelling &\nGrammar", "textformat.abc", key("⇧⌘;")},
                             {"Check\nSpelling", "checkmark", key("⌘;")},
                         }));

    out.push_back(define({"gallery-app-switching",
                          "App Switching",
                          Category::productivity,
                          {},
                          "Cycle apps and windows, then minimize, close, or quit without the mouse."},
                         {
                             {"Next App", "arrow.right.square", key("⌘⇥")},
                             {"Previous\nApp", "arrow.left.square", key("⇧⌘⇥")},
                             {"Next\nWindow", "macwindow", key("⌘`")},
                             {"Previous\nWindow", "macwindow.on.rectangle", key("⇧⌘`")},
                             {"Quit App", "xmark.circle", key("⌘Q")},
                             {"Close\nWindow", "xmark.square", key("⌘W")},
                             {"Minimize", "minus.square", key("⌘M")},
                             {"New Window", "macwindow.badge.plus", key("⌘N")},
                         }));

    out.push_back(define({"gallery-zoom-view",
                          "Zoom & View",
                          Category::productivity,
                          {},
                          "Zoom in and out, reset the size, go full screen, and tidy the view."},
                         {
                             {"Zoom In", "plus.magnifyingglass", key("⌘=")},
                             {"Zoom Out", "minus.magnifyingglass", key("⌘-")},
                             {"Actual\nSize", "1.magnifyingglass", key("⌘0")},
                             {"Full\nScreen", "arrow.up.left.and.arrow.down.right", key("⌃⌘F")},
                             {"Show\nSidebar", "sidebar.left", key("⇧⌘L")},
                             {"Reader\nView", "doc.plaintext", key("⇧⌘R")},
                         }));

    out.push_back(define({"gallery-settings-help",
                          "Settings & Help",
                          Category::productivity,
                          {},
                          "Open an app's settings, find help and menu items, print, close, or quit."},
                         {
                             {"Settings", "gearshape", key("⌘,")},
                             {"Help", "questionmark.circle", key("⇧⌘/")},
                             {"Search", "magnifyingglass", key("⌘Space")},
                             {"Print", "printer", key("⌘P")},
                             {"Close\nWindow", "xmark.square", key("⌘W")},
                             {"Quit App", "xmark.circle", key("⌘Q")},
                         }));
}

} // namespace rondelix::GalleryCatalogue
