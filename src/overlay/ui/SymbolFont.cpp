#include "overlay/ui/SymbolFont.h"

#include <QFontDatabase>
#include <QPainter>
#include <algorithm>
#include <array>

namespace rondelix {

namespace {

struct SymbolGlyph {
    std::string_view name;
    char16_t codePoint;
};

// System symbol name to Material Icons code point (the icon's own name after
// it), sorted by symbol name.
constexpr std::array symbols = std::to_array<SymbolGlyph>({
    {"airplane", 0xE539},                                // flight
    {"app.badge", 0xE5C3},                               // apps
    {"app.fill", 0xE5C3},                                // apps
    {"arrow.clockwise", 0xE5D5},                         // refresh
    {"arrow.down", 0xE5DB},                              // arrow_downward
    {"arrow.right", 0xE5C8},                             // arrow_forward
    {"arrow.triangle.2.circlepath", 0xE627},             // sync
    {"arrow.up", 0xE5D8},                                // arrow_upward
    {"arrow.up.left.and.arrow.down.right", 0xF1CE},      // open_in_full
    {"arrow.uturn.backward", 0xE166},                    // undo
    {"arrow.uturn.forward", 0xE15A},                     // redo
    {"arrow.uturn.left.square", 0xE31B},                 // keyboard_return
    {"backward.end.fill", 0xE045},                       // skip_previous
    {"backward.fill", 0xE020},                           // fast_rewind
    {"bell", 0xE7F5},                                    // notifications_none
    {"bell.fill", 0xE7F4},                               // notifications
    {"bolt", 0xEA0B},                                    // bolt
    {"bolt.fill", 0xEA0B},                               // bolt
    {"bookmark", 0xE867},                                // bookmark_border
    {"bookmark.fill", 0xE866},                           // bookmark
    {"bubble.left", 0xE0CB},                             // chat_bubble_outline
    {"calendar", 0xE935},                                // calendar_today
    {"camera", 0xE412},                                  // photo_camera
    {"camera.fill", 0xE412},                             // photo_camera
    {"camera.viewfinder", 0xE3C2},                       // crop_free
    {"car.fill", 0xE531},                                // directions_car
    {"cart", 0xE8CC},                                    // shopping_cart
    {"checkmark", 0xE5CA},                               // check
    {"checkmark.circle.fill", 0xE86C},                   // check_circle
    {"checkmark.seal.fill", 0xEF76},                     // verified
    {"checkmark.shield.fill", 0xE8E8},                   // verified_user
    {"chevron.backward", 0xE5CB},                        // chevron_left
    {"chevron.forward", 0xE5CC},                         // chevron_right
    {"chevron.left.forwardslash.chevron.right", 0xE86F}, // code
    {"circle", 0xE836},                                  // radio_button_unchecked
    {"circle.fill", 0xEF4A},                             // circle
    {"circle.grid.3x3.fill", 0xE5C3},                    // apps
    {"circle.hexagongrid", 0xEAA6},                      // hive
    {"circle.lefthalf.filled", 0xEB37},                  // contrast
    {"clock", 0xE8B5},                                   // schedule
    {"clock.fill", 0xE8B5},                              // schedule
    {"cloud", 0xE2C2},                                   // cloud_queue
    {"cloud.fill", 0xE2BD},                              // cloud
    {"command", 0xEAE7},                                 // keyboard_command_key
    {"cursorarrow", 0xE323},                             // mouse
    {"desktopcomputer", 0xE30C},                         // desktop_windows
    {"doc", 0xE873},                                     // description
    {"doc.on.clipboard", 0xE14F},                        // content_paste
    {"doc.on.clipboard.fill", 0xE14F},                   // content_paste
    {"doc.on.doc", 0xE14D},                              // content_copy
    {"doc.text", 0xEF42},                                // article
    {"ellipsis.circle", 0xE5D3},                         // more_horiz
    {"envelope", 0xE0E1},                                // mail_outline
    {"envelope.fill", 0xE158},                           // mail
    {"exclamationmark.circle.fill", 0xE000},             // error
    {"exclamationmark.shield.fill", 0xF014},             // gpp_maybe
    {"exclamationmark.triangle.fill", 0xE002},           // warning
    {"eye", 0xE8F4},                                     // visibility
    {"eye.fill", 0xE8F4},                                // visibility
    {"face.smiling", 0xE813},                            // sentiment_satisfied
    {"flag", 0xE16E},                                    // outlined_flag
    {"flag.fill", 0xE153},                               // flag
    {"folder", 0xE2C8},                                  // folder_open
    {"folder.fill", 0xE2C7},                             // folder
    {"forward.end.fill", 0xE044},                        // skip_next
    {"forward.fill", 0xE01F},                            // fast_forward
    {"gearshape", 0xE8B8},                               // settings
    {"gearshape.fill", 0xE8B8},                          // settings
    {"gift", 0xE8F6},                                    // card_giftcard
    {"globe", 0xE894},                                   // language
    {"hammer", 0xE869},                                  // build
    {"hand.raised.fill", 0xE764},                        // back_hand
    {"hand.wave.fill", 0xE766},                          // waving_hand
    {"heart", 0xE87E},                                   // favorite_border
    {"heart.fill", 0xE87D},                              // favorite
    {"house", 0xE88A},                                   // home
    {"house.fill", 0xE88A},                              // home
    {"info.circle", 0xE88E},                             // info
    {"iphone", 0xE32C},                                  // smartphone
    {"keyboard", 0xE312},                                // keyboard
    {"laptopcomputer", 0xE31E},                          // laptop
    {"lightbulb", 0xE0F0},                               // lightbulb
    {"link", 0xE157},                                    // link
    {"list.bullet", 0xE241},                             // format_list_bulleted
    {"location", 0xE569},                                // near_me
    {"location.fill", 0xE569},                           // near_me
    {"lock.fill", 0xE897},                               // lock
    {"lock.shield.fill", 0xE32A},                        // security
    {"macwindow", 0xE069},                               // web_asset
    {"macwindow.badge.plus", 0xE05C},                    // add_to_queue
    {"magnifyingglass", 0xE8B6},                         // search
    {"map", 0xE55B},                                     // map
    {"menubar.dock.rectangle", 0xE30C},                  // desktop_windows
    {"menubar.rectangle", 0xE051},                       // web
    {"mic", 0xE02A},                                     // mic_none
    {"mic.fill", 0xE029},                                // mic
    {"mic.slash.fill", 0xE02B},                          // mic_off
    {"minus", 0xE15B},                                   // remove
    {"moon.fill", 0xE51C},                               // dark_mode
    {"moon.stars.fill", 0xEF44},                         // bedtime
    {"moon.zzz", 0xEF44},                                // bedtime
    {"music.note", 0xE405},                              // music_note
    {"paintbrush", 0xE3AE},                              // brush
    {"paintpalette", 0xE40A},                            // palette
    {"paperplane.fill", 0xE163},                         // send
    {"pause.circle", 0xE036},                            // pause_circle_outline
    {"pause.circle.fill", 0xE1A2},                       // pause_circle
    {"pause.fill", 0xE034},                              // pause
    {"pencil", 0xE3C9},                                  // edit
    {"pencil.tip", 0xE3C9},                              // edit
    {"person", 0xE7FF},                                  // person_outline
    {"person.fill", 0xE7FD},                             // person
    {"phone.down.fill", 0xE0B1},                         // call_end
    {"photo", 0xE410},                                   // photo
    {"play.circle.fill", 0xE1C4},                        // play_circle
    {"play.fill", 0xE037},                               // play_arrow
    {"playpause.fill", 0xE037},                          // play_arrow
    {"plus", 0xE145},                                    // add
    {"plus.magnifyingglass", 0xE8FF},                    // zoom_in
    {"plus.square", 0xE146},                             // add_box
    {"power", 0xE8AC},                                   // power_settings_new
    {"powersleep", 0xE8AC},                              // power_settings_new
    {"printer", 0xE8AD},                                 // print
    {"puzzlepiece.extension.fill", 0xE87B},              // extension
    {"puzzlepiece.fill", 0xE87B},                        // extension
    {"questionmark", 0xEB8B},                            // question_mark
    {"record.circle", 0xE837},                           // radio_button_checked
    {"record.circle.fill", 0xE061},                      // fiber_manual_record
    {"rectangle.bottomhalf.inset.filled", 0xE06C},       // call_to_action
    {"rectangle.center.inset.filled", 0xE3DC},           // filter_center_focus
    {"rectangle.dashed", 0xEF52},                        // highlight_alt
    {"rectangle.inset.filled", 0xE5D0},                  // fullscreen
    {"rectangle.lefthalf.inset.filled", 0xE949},         // vertical_split
    {"rectangle.on.rectangle", 0xE3E0},                  // filter_none
    {"rectangle.portrait.and.arrow.right", 0xE9BA},      // logout
    {"rectangle.righthalf.inset.filled", 0xF114},        // view_sidebar
    {"rectangle.stack.fill", 0xE53B},                    // layers
    {"rectangle.tophalf.inset.filled", 0xE051},          // web
    {"repeat", 0xE040},                                  // repeat
    {"safari", 0xE87A},                                  // explore
    {"scissors", 0xE14E},                                // content_cut
    {"scope", 0xE1B3},                                   // gps_fixed
    {"shield.fill", 0xE9E0},                             // shield
    {"shuffle", 0xE043},                                 // shuffle
    {"sidebar.left", 0xF114},                            // view_sidebar
    {"slider.horizontal.3", 0xE429},                     // tune
    {"smallcircle.filled.circle", 0xE837},               // radio_button_checked
    {"speaker.slash.fill", 0xE04F},                      // volume_off
    {"speaker.wave.1.fill", 0xE04D},                     // volume_down
    {"speaker.wave.2", 0xE050},                          // volume_up
    {"speaker.wave.3.fill", 0xE050},                     // volume_up
    {"square", 0xE835},                                  // check_box_outline_blank
    {"square.and.arrow.down", 0xF090},                   // download
    {"square.and.arrow.up", 0xE6B8},                     // ios_share
    {"square.and.pencil", 0xE745},                       // edit_note
    {"square.dashed", 0xE162},                           // select_all
    {"square.grid.2x2", 0xE9B0},                         // grid_view
    {"square.grid.2x2.fill", 0xE9B0},                    // grid_view
    {"square.grid.3x3", 0xE3EC},                         // grid_on
    {"square.grid.3x3.fill", 0xE5C3},                    // apps
    {"square.stack.3d.up", 0xE53B},                      // layers
    {"star", 0xE83A},                                    // star_border
    {"star.fill", 0xE838},                               // star
    {"stop.fill", 0xE047},                               // stop
    {"sun.max.fill", 0xE518},                            // light_mode
    {"sun.min", 0xE1AD},                                 // brightness_low
    {"sunglasses", 0xE430},                              // wb_sunny
    {"tag", 0xF05B},                                     // sell
    {"terminal", 0xEB8E},                                // terminal
    {"text.cursor", 0xE262},                             // text_fields
    {"text.quote", 0xE244},                              // format_quote
    {"textformat", 0xE165},                              // text_format
    {"trash", 0xE92E},                                   // delete_outline
    {"trash.fill", 0xE872},                              // delete
    {"video.fill", 0xE04B},                              // videocam
    {"wave.3.right", 0xEA71},                            // contactless
    {"wifi", 0xE63E},                                    // wifi
    {"wrench.and.screwdriver", 0xF10B},                  // handyman
    {"xmark.circle.fill", 0xE5C9},                       // cancel
    {"xmark.octagon.fill", 0xE99A},                      // dangerous
    {"xmark.square", 0xF230},                            // disabled_by_default
});

constexpr const char* materialFamily = "Material Icons";
constexpr const char* materialFile =
    "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

const SymbolGlyph* find(std::string_view name) {
    const auto found = std::lower_bound(symbols.begin(), symbols.end(), name,
                                        [](const SymbolGlyph& g, std::string_view n) { return g.name < n; });
    return found != symbols.end() && found->name == name ? &*found : nullptr;
}

bool loadFamily() {
    if (QFontDatabase::families().contains(QString::fromLatin1(materialFamily))) return true;
    return QFontDatabase::addApplicationFont(QString::fromLatin1(materialFile)) >= 0;
}

// Material glyphs fill about five sixths of their em; this makes them match
// the height of the text size they stand in for.
constexpr double glyphScale = 1.2;

} // namespace

bool SymbolFont::knows(std::string_view name) {
    return find(name) != nullptr;
}

QString SymbolFont::glyph(std::string_view name) {
    const SymbolGlyph* entry = find(name);
    if (!entry) entry = find("questionmark");
    return QString(QChar(entry->codePoint));
}

bool SymbolFont::isAvailable() {
    static const bool available = loadFamily();
    return available;
}

QFont SymbolFont::font(double pixelSize) {
    QFont font(QString::fromLatin1(materialFamily));
    font.setPixelSize(std::max(1, qRound(pixelSize * glyphScale)));
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void SymbolFont::paint(QPainter& painter, std::string_view name, const QRectF& box, double pixelSize,
                       const QColor& color) {
    painter.setPen(color);
    if (isAvailable()) {
        painter.setFont(font(pixelSize));
        painter.drawText(box, Qt::AlignCenter, glyph(name));
        return;
    }
    QFont fallback = painter.font();
    fallback.setPixelSize(std::max(1, qRound(pixelSize)));
    fallback.setBold(true);
    painter.setFont(fallback);
    painter.drawText(box, Qt::AlignCenter,
                     knows(name) && name != "questionmark" ? QStringLiteral("•") : QStringLiteral("?"));
}

} // namespace rondelix
