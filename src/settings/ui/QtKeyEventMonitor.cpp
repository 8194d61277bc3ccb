#include "settings/ui/QtKeyEventMonitor.h"

#include "platform/KeyboardLayout.h"
#include "platform/ModifierFlags.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace rondelix {

QtKeyEventMonitor::QtKeyEventMonitor(const platform::KeyboardLayout& layout,
                                     std::function<void(const MonitoredKeyEvent&)> handler)
    : layout_(layout), handler_(std::move(handler)) {
    QCoreApplication::instance()->installEventFilter(this);
}

QtKeyEventMonitor::~QtKeyEventMonitor() {
    QCoreApplication::instance()->removeEventFilter(this);
}

KeyEventMonitorFactory QtKeyEventMonitor::factory(const platform::KeyboardLayout& layout) {
    return
        [&layout](std::function<void(const MonitoredKeyEvent&)> handler) -> std::unique_ptr<KeyEventMonitor> {
            return std::make_unique<QtKeyEventMonitor>(layout, std::move(handler));
        };
}

bool QtKeyEventMonitor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    // Accepted and filtered: no shortcut fires and no widget sees the key.
    event->accept();
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride || key->isAutoRepeat()) return true;
    const std::optional<int> code =
        layout_.keyCodeForNativeKey(key->nativeScanCode(), key->nativeVirtualKey());
    if (!code) return true;
    const bool down = type == QEvent::KeyPress;
    MonitoredKeyEvent monitored;
    monitored.keyCode = *code;
    if (isModifierKeyCode(*code)) {
        // The window system reports a modifier as a key; the recorder reads
        // modifiers from the flag word, as the event taps deliver them.
        monitored.type = MonitoredKeyEvent::Type::flagsChanged;
        monitored.flags = down ? modifierDownBit(*code) : 0;
    } else {
        monitored.type = down ? MonitoredKeyEvent::Type::keyDown : MonitoredKeyEvent::Type::keyUp;
    }
    handler_(monitored);
    return true;
}

} // namespace rondelix
