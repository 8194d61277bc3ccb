#include "platform/linux/desktop/LinuxDesktopAppearance.h"

#include "platform/CurrentDesktop.h"
#include "platform/Log.h"
#include "platform/XdgFolders.h"
#include "platform/linux/x11/X11ManagerProperty.h"
#include "platform/linux/x11/XSettings.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace rondelix::platform::linux_desktop {

namespace {

const QString portalService = "org.freedesktop.portal.Desktop";
const QString portalPath = "/org/freedesktop/portal/desktop";
const QString portalInterface = "org.freedesktop.portal.Settings";
const QString appearanceNamespace = "org.freedesktop.appearance";
const QString gnomeInterfaceNamespace = "org.gnome.desktop.interface";

// The portal's numbers: 0 is "no preference", which leaves the setting to
// the desktop's own.
AppearanceReading readingOfPortal(const std::map<std::pair<QString, QString>, QVariant>& values) {
    const auto value = [&](const QString& space, const QString& key) -> std::optional<QVariant> {
        const auto found = values.find({space, key});
        if (found == values.end()) return std::nullopt;
        return found->second;
    };
    AppearanceReading reading;
    if (const auto scheme = value(appearanceNamespace, "color-scheme")) {
        if (scheme->toUInt() == 1) reading.colorScheme = ColorScheme::dark;
        if (scheme->toUInt() == 2) reading.colorScheme = ColorScheme::light;
    }
    if (const auto contrast = value(appearanceNamespace, "contrast"); contrast && contrast->toUInt() == 1)
        reading.highContrast = true;
    if (const auto reduced = value(appearanceNamespace, "reduced-motion"); reduced && reduced->toUInt() == 1)
        reading.reduceMotion = true;
    else if (const auto animations = value(gnomeInterfaceNamespace, "enable-animations");
             animations && animations->typeId() == QMetaType::Bool)
        reading.reduceMotion = !animations->toBool();
    return reading;
}

} // namespace

LinuxDesktopAppearance::Sources LinuxDesktopAppearance::sessionSources() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return {QDBusConnection::sessionBus(), desktop ? desktop : "", userConfigFolder() / "kdeglobals"};
}

LinuxDesktopAppearance::LinuxDesktopAppearance(Log& log, Sources sources)
    : log_(log), sources_(std::move(sources)) {
    if (sources_.bus.isConnected()) {
        sources_.bus.connect(portalService, portalPath, portalInterface, "SettingChanged", this,
                             SLOT(portalSettingChanged(QDBusMessage)));
        // A portal that starts (or restarts) after the program is read then.
        portalWatcher_ = std::make_unique<QDBusServiceWatcher>(portalService, sources_.bus,
                                                               QDBusServiceWatcher::WatchForOwnerChange);
        connect(portalWatcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    portalValues_.clear();
                    portal_ = {};
                    if (!owner.isEmpty()) readPortal();
                    update();
                });
        readPortal();
    }
    if (namesDesktop(sources_.desktop, "KDE") && !sources_.kdeGlobals.empty()) {
        // KDE replaces the file whole on each change: the folder tells of that.
        kdeWatcher_.addPath(QString::fromStdString(sources_.kdeGlobals.parent_path().string()));
        kdeWatcher_.addPath(QString::fromStdString(sources_.kdeGlobals.string()));
        connect(&kdeWatcher_, &QFileSystemWatcher::directoryChanged, this, [this] { readKdeGlobals(); });
        connect(&kdeWatcher_, &QFileSystemWatcher::fileChanged, this, [this] { readKdeGlobals(); });
        readKdeGlobals();
    }
    xsettingsProperty_ = std::make_unique<X11ManagerProperty>("_XSETTINGS_S", "_XSETTINGS_SETTINGS",
                                                              [this] { readXSettings(); });
    readXSettings();
}

LinuxDesktopAppearance::~LinuxDesktopAppearance() = default;

void LinuxDesktopAppearance::readPortal() {
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, portalInterface, "ReadAll");
    call.setArguments({QStringList{appearanceNamespace, gnomeInterfaceNamespace}});
    auto* watcher = new QDBusPendingCallWatcher(sources_.bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &LinuxDesktopAppearance::portalAnswered);
}

void LinuxDesktopAppearance::portalAnswered(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        // No portal is the usual case on many desktops: one line, once.
        if (!loggedPortalFailure_)
            log_.write("no desktop settings portal (" + reply.errorName().toStdString() +
                       ") — reading the desktop's own appearance settings.");
        loggedPortalFailure_ = true;
        return;
    }
    // a{sa{sv}}: namespace → key → value.
    const auto all = reply.arguments().first().value<QDBusArgument>();
    std::map<std::pair<QString, QString>, QVariant> values;
    all.beginMap();
    while (!all.atEnd()) {
        QString space;
        QVariantMap keys;
        all.beginMapEntry();
        all >> space >> keys;
        all.endMapEntry();
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            values[{space, it.key()}] = it.value();
    }
    all.endMap();
    // Changes heard while the call was under way are newer than its answer.
    for (const auto& [key, value] : portalValues_)
        values[key] = value;
    portalValues_ = std::move(values);
    portal_ = readingOfPortal(portalValues_);
    update();
}

void LinuxDesktopAppearance::portalSettingChanged(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3) return;
    const QString space = arguments[0].toString();
    if (space != appearanceNamespace && space != gnomeInterfaceNamespace) return;
    portalValues_[{space, arguments[1].toString()}] = arguments[2].value<QDBusVariant>().variant();
    portal_ = readingOfPortal(portalValues_);
    update();
}

void LinuxDesktopAppearance::readKdeGlobals() {
    const QString file = QString::fromStdString(sources_.kdeGlobals.string());
    // A file replaced by another drops out of the watch.
    if (!kdeWatcher_.files().contains(file)) kdeWatcher_.addPath(file);
    std::ifstream in(sources_.kdeGlobals);
    std::ostringstream text;
    text << in.rdbuf();
    kde_ = in ? readingOfKdeGlobals(text.str()) : AppearanceReading{};
    update();
}

void LinuxDesktopAppearance::readXSettings() {
    const auto property = xsettingsProperty_ ? xsettingsProperty_->read() : std::nullopt;
    xsettings_ = property && property->format == 8 ? readingOfXSettings(decodedXSettings(property->bytes))
                                                   : AppearanceReading{};
    update();
}

void LinuxDesktopAppearance::update() {
    const AppearanceSettings next = firstAnswers({portal_, kde_, xsettings_});
    if (next == settings_) return;
    settings_ = next;
    changed.emit();
}

} // namespace rondelix::platform::linux_desktop
