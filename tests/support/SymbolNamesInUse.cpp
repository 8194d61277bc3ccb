#include "support/SymbolNamesInUse.h"

#include "catalog/SystemAction.h"
#include "catalog/WheelActionTarget.h"
#include "gallery/DesktopProgramKeys.h"
#include "gallery/WheelGallery.h"
#include "icons/SymbolCatalog.h"
#include "model/DefaultConfig.h"

#include <string_view>

namespace rondelix::testsupport {

namespace {

// Symbols the windows draw by name: sidebar and settings rows, editor and
// gallery controls, pickers, alerts, guides and the demo wheels.
constexpr std::string_view interfaceSymbols[] = {
    "app.badge",
    "app.fill",
    "arrow.clockwise",
    "arrow.counterclockwise",
    "arrow.down",
    "arrow.down.square",
    "arrow.left.arrow.right",
    "arrow.right",
    "arrow.triangle.2.circlepath",
    "arrow.turn.down.right",
    "arrow.up",
    "arrow.up.arrow.down",
    "arrow.up.forward.app",
    "arrow.up.left.and.arrow.down.right",
    "arrow.uturn.backward",
    "arrow.uturn.forward",
    "arrow.uturn.left.square",
    "backward.fill",
    "bell",
    "bell.fill",
    "bolt",
    "bolt.fill",
    "bubble.left",
    "bubble.left.and.bubble.right",
    "camera.viewfinder",
    "checkmark",
    "checkmark.circle.fill",
    "checkmark.seal.fill",
    "checkmark.shield.fill",
    "chevron.backward",
    "chevron.forward",
    "chevron.left.forwardslash.chevron.right",
    "circle",
    "circle.dashed",
    "circle.dotted",
    "circle.fill",
    "circle.grid.3x3.fill",
    "circle.hexagongrid",
    "circle.lefthalf.filled",
    "circle.righthalf.filled",
    "cloud.sun",
    "computermouse",
    "cube.transparent",
    "cursorarrow",
    "dice.fill",
    "doc.on.clipboard",
    "doc.on.clipboard.fill",
    "doc.on.doc",
    "dot.scope",
    "dpad.fill",
    "ellipsis.circle",
    "envelope",
    "envelope.fill",
    "exclamationmark.circle.fill",
    "exclamationmark.shield.fill",
    "exclamationmark.triangle",
    "exclamationmark.triangle.fill",
    "eye",
    "eye.fill",
    "eye.slash",
    "face.smiling",
    "flag",
    "flag.fill",
    "folder",
    "forward.fill",
    "gearshape",
    "gearshape.fill",
    "globe",
    "hammer",
    "hammer.fill",
    "hand.point.up.left.fill",
    "hand.raised.fill",
    "hand.tap",
    "hand.wave.fill",
    "heart",
    "heart.fill",
    "hourglass",
    "info.circle",
    "keyboard",
    "list.bullet",
    "list.number",
    "lock.fill",
    "lock.shield",
    "lock.shield.fill",
    "macwindow.badge.plus",
    "macwindow.on.rectangle",
    "magnifyingglass",
    "menubar.dock.rectangle",
    "menubar.rectangle",
    "mic.slash.fill",
    "minus",
    "minus.circle",
    "moon.fill",
    "moon.stars.fill",
    "moon.zzz",
    "movieclapper",
    "music.note",
    "number.square",
    "paintbrush.pointed",
    "paintpalette",
    "pause.circle",
    "pause.circle.fill",
    "pencil.tip",
    "phone.down.fill",
    "photo",
    "pin",
    "play.circle",
    "play.circle.fill",
    "play.rectangle.fill",
    "playpause.fill",
    "plus",
    "plus.magnifyingglass",
    "plus.square",
    "power",
    "powersleep",
    "puzzlepiece.extension.fill",
    "puzzlepiece.fill",
    "questionmark",
    "questionmark.circle",
    "record.circle",
    "record.circle.fill",
    "rectangle.bottomhalf.inset.filled",
    "rectangle.center.inset.filled",
    "rectangle.dashed",
    "rectangle.inset.filled",
    "rectangle.lefthalf.inset.filled",
    "rectangle.on.rectangle",
    "rectangle.portrait.and.arrow.right",
    "rectangle.righthalf.inset.filled",
    "rectangle.stack.fill",
    "rectangle.tophalf.inset.filled",
    "repeat",
    "safari",
    "scissors",
    "scope",
    "shield",
    "shield.fill",
    "shuffle",
    "sidebar.left",
    "slash.circle",
    "slider.horizontal.3",
    "smallcircle.filled.circle",
    "speaker.slash.fill",
    "speaker.wave.1",
    "speaker.wave.1.fill",
    "speaker.wave.2",
    "speaker.wave.3.fill",
    "square",
    "square.2.layers.3d",
    "square.and.arrow.down",
    "square.and.arrow.up",
    "square.and.pencil",
    "square.dashed",
    "square.grid.2x2",
    "square.grid.2x2.fill",
    "square.grid.3x3",
    "square.grid.3x3.fill",
    "square.stack.3d.up",
    "star",
    "star.fill",
    "stethoscope",
    "stop.circle.fill",
    "stop.fill",
    "sun.max.fill",
    "sun.min",
    "sunglasses",
    "switch.2",
    "terminal",
    "text.bubble",
    "text.cursor",
    "text.quote",
    "textformat",
    "timer",
    "video.fill",
    "wave.3.right",
    "wifi",
    "xmark.circle.fill",
    "xmark.octagon.fill",
    "xmark.square",
};

void addWheel(std::vector<SymbolUse>& uses, const Wheel& wheel, std::string_view kind = "factory wheel") {
    for (const Slice& slice : wheel.slices)
        if (const auto* symbol = slice.icon.as<Icon::SfSymbol>())
            uses.push_back({symbol->name,
                            std::string(kind) + " " + wheel.id + " slice " + std::to_string(slice.position)});
}

} // namespace

std::vector<SymbolUse> symbolNamesInUse() {
    std::vector<SymbolUse> uses;
    for (const std::string& name : SymbolCatalog::all())
        uses.push_back({name, "symbol catalogue"});
    for (const std::string_view name : SymbolCatalog::builtInNames())
        uses.push_back({std::string(name), "built-in symbol list"});
    for (const Wheel& wheel : DefaultConfig::factoryWheels())
        addWheel(uses, wheel);
    for (const Wheel& wheel : DefaultConfig::addedWheels())
        addWheel(uses, wheel);
    addWheel(uses, DefaultConfig::musicWheel());
    addWheel(uses, DefaultConfig::legacyMusicWheelV18());
    for (const GalleryWheel& gallery : WheelGallery::all())
        addWheel(uses, gallery.wheel, "gallery wheel");
    for (const DesktopProgramKeys::Change& change : DesktopProgramKeys::table())
        if (!change.newSymbol.empty())
            uses.push_back({std::string(change.newSymbol), "gallery wheel " + std::string(change.galleryId) +
                                                               " on " + std::string(change.desktop)});
    for (const SystemAction& action : SystemAction::all())
        uses.push_back({action.symbol, "system action " + action.id});
    for (const WheelActionTarget& target : WheelActionTarget::all())
        uses.push_back({target.symbol, "program target " + target.id});
    for (const std::string_view name : interfaceSymbols)
        uses.push_back({std::string(name), "window symbol"});
    return uses;
}

} // namespace rondelix::testsupport
