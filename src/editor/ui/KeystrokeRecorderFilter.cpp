#include "editor/ui/KeystrokeRecorderFilter.h"

#include "editor/KeystrokeRecorder.h"
#include "model/KeyComboText.h"
#include "platform/KeyboardLayout.h"
#include "util/Ascii.h"

#include <QApplication>
#include <QKeyEvent>

namespace rondelix {

namespace {

// Keys that only change how other keys act. Scroll Lock is not among them:
// programs take it as a key of its own, like Pause and Print Screen.
bool isModifierAlone(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// A PC keyboard's Ctrl is Control, Alt is Option and Super stays Super: it
// is sent as the Super key, never as the Control that Command travels as.
KeyCombo modifiersOf(const QKeyEvent& press) {
    const Qt::KeyboardModifiers held = press.modifiers();
    KeyCombo combo;
    combo.super = held.testFlag(Qt::MetaModifier);
    combo.shift = held.testFlag(Qt::ShiftModifier);
    combo.alt = held.testFlag(Qt::AltModifier);
    combo.control = held.testFlag(Qt::ControlModifier);
    return combo;
}

// A press the program or an assistive tool made itself carries no native
// codes; it is read by the character its key types on the US table.
std::optional<int> keyCodeOfSynthesizedPress(const QKeyEvent& press) {
    if (press.nativeScanCode() != 0 || press.nativeVirtualKey() != 0) return std::nullopt;
    const int key = press.key();
    if (key < 0x20 || key >= 0x7f) return std::nullopt;
    return KeyComboText::keyCode(std::string(1, asciiLower(static_cast<char>(key))));
}

} // namespace

KeystrokeRecorderFilter::KeystrokeRecorderFilter(KeystrokeRecorder& recorder,
                                                 const platform::KeyboardLayout& keyboard, QObject* parent)
    : QObject(parent), recorder_(recorder), keyboard_(keyboard) {
    connection_ = recorder_.recordingChanged.connectScoped([this] { follow(); });
    follow();
}

KeystrokeRecorderFilter::~KeystrokeRecorderFilter() {
    if (installed_) qApp->removeEventFilter(this);
}

void KeystrokeRecorderFilter::follow() {
    if (recorder_.isRecording() == installed_) return;
    installed_ = recorder_.isRecording();
    if (installed_)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool KeystrokeRecorderFilter::eventFilter(QObject*, QEvent* event) {
    if (!recorder_.isRecording()) return false;
    const auto type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* press = static_cast<QKeyEvent*>(event);
    if (isModifierAlone(press->key())) return false;
    if (type == QEvent::ShortcutOverride) {
        // Claiming the press here keeps menu and window shortcuts from firing;
        // the press itself follows and is captured below.
        press->accept();
        return true;
    }
    auto keyCode = keyboard_.keyCodeForNativeKey(press->nativeScanCode(), press->nativeVirtualKey());
    if (!keyCode) keyCode = keyCodeOfSynthesizedPress(*press);
    return recorder_.keyPressed(keyCode, modifiersOf(*press));
}

} // namespace rondelix
