#include "platform/linux/desktop/LinuxAccessibility.h"

#include <QDBusArgument>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

namespace rondelix::platform::linux_desktop {

namespace {

const QString textInterface = QStringLiteral("org.a11y.atspi.Text");
const QString componentInterface = QStringLiteral("org.a11y.atspi.Component");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
// Screen coordinates, as opposed to window- or parent-relative ones.
constexpr uint screenCoordinates = 0;
// Whatever lies beyond this is garbage, not a place on any desktop.
constexpr int largestCoordinate = 1 << 20;
// Past this, every query of one element answers none without asking, so a
// program that hangs costs at most this much of a summon.
constexpr qint64 elementBudgetMs = 150;

bool plausible(int x, int y, int width, int height) {
    return width >= 0 && height >= 0 && std::abs(x) < largestCoordinate && std::abs(y) < largestCoordinate &&
           width < largestCoordinate && height < largestCoordinate;
}

std::optional<Rect> rectFromArguments(const QList<QVariant>& args) {
    if (args.size() != 4) return std::nullopt;
    for (const auto& a : args)
        if (a.metaType().id() != QMetaType::Int) return std::nullopt;
    const int x = args[0].toInt(), y = args[1].toInt(), w = args[2].toInt(), h = args[3].toInt();
    if (!plausible(x, y, w, h)) return std::nullopt;
    return Rect{double(x), double(y), double(w), double(h)};
}

std::optional<Rect> rectFromStructure(const QList<QVariant>& args) {
    if (args.size() != 1 || !args[0].canConvert<QDBusArgument>()) return std::nullopt;
    const auto structure = args[0].value<QDBusArgument>();
    if (structure.currentSignature() != QLatin1String("(iiii)")) return std::nullopt;
    int x = 0, y = 0, w = 0, h = 0;
    structure.beginStructure();
    structure >> x >> y >> w >> h;
    structure.endStructure();
    if (!plausible(x, y, w, h)) return std::nullopt;
    return Rect{double(x), double(y), double(w), double(h)};
}

std::optional<std::pair<int, int>> intPair(const QList<QVariant>& args) {
    if (args.size() != 2 || args[0].metaType().id() != QMetaType::Int ||
        args[1].metaType().id() != QMetaType::Int)
        return std::nullopt;
    return std::pair{args[0].toInt(), args[1].toInt()};
}

class LinuxAccessibleElement final : public AccessibleElement {
  public:
    LinuxAccessibleElement(QDBusConnection bus, QString service, QString path, int timeoutMs)
        : bus_(std::move(bus)), service_(std::move(service)), path_(std::move(path)), timeoutMs_(timeoutMs) {
        started_.start();
    }

    void setMessagingTimeout(double seconds) override { timeoutMs_ = std::max(1, int(seconds * 1000)); }

    std::optional<TextRange> selectedTextRange() override {
        const auto count = call(textInterface, QStringLiteral("GetNSelections"), {});
        if (count && count->size() == 1 && count->front().toInt() > 0) {
            if (auto ends = intPair(
                    call(textInterface, QStringLiteral("GetSelection"), {0}).value_or(QList<QVariant>{}));
                ends && ends->first >= 0 && ends->second >= 0) {
                const auto [a, b] = std::minmax(ends->first, ends->second);
                return TextRange{a, b - a};
            }
            return std::nullopt;
        }
        const auto caret =
            call(propertiesInterface, QStringLiteral("Get"), {textInterface, QStringLiteral("CaretOffset")});
        if (!caret || caret->size() != 1) return std::nullopt;
        const QVariant value = caret->front().value<QDBusVariant>().variant();
        if (value.metaType().id() != QMetaType::Int || value.toInt() < 0) return std::nullopt;
        return TextRange{value.toInt(), 0};
    }

    std::optional<Rect> boundsForRange(TextRange range) override {
        if (range.location < 0 || range.length < 0 || range.location + range.length > largestCoordinate)
            return std::nullopt;
        const int start = int(range.location);
        if (range.length == 0) {
            // The character after the caret starts where the caret stands.
            auto r = characterExtents(start);
            if (r && r->height > 0) {
                r->width = 0;
                return r;
            }
            // At the end of the text there is no character after it: Qt
            // answers an empty box there, while the one before the caret
            // ends where the caret stands.
            if (start == 0) return r;
            auto before = characterExtents(start - 1);
            if (!before || before->height <= 0) return r;
            return Rect{before->x + before->width, before->y, 0, before->height};
        }
        return rectFromArguments(call(textInterface, QStringLiteral("GetRangeExtents"),
                                      {start, int(start + range.length), screenCoordinates})
                                     .value_or(QList<QVariant>{}));
    }

    std::optional<Rect> frame() override {
        return rectFromStructure(call(componentInterface, QStringLiteral("GetExtents"), {screenCoordinates})
                                     .value_or(QList<QVariant>{}));
    }

    std::optional<Point> position() override {
        const auto p = intPair(call(componentInterface, QStringLiteral("GetPosition"), {screenCoordinates})
                                   .value_or(QList<QVariant>{}));
        if (!p || !plausible(p->first, p->second, 0, 0)) return std::nullopt;
        return Point{double(p->first), double(p->second)};
    }

    std::optional<Size> size() override {
        const auto s =
            intPair(call(componentInterface, QStringLiteral("GetSize"), {}).value_or(QList<QVariant>{}));
        if (!s || !plausible(0, 0, s->first, s->second)) return std::nullopt;
        return Size{double(s->first), double(s->second)};
    }

  private:
    std::optional<Rect> characterExtents(int offset) {
        return rectFromArguments(
            call(textInterface, QStringLiteral("GetCharacterExtents"), {offset, screenCoordinates})
                .value_or(QList<QVariant>{}));
    }

    // Blocks without running the event loop, for no longer than the message
    // time-out nor past the element's budget; a program that went away or
    // does not implement the interface simply has no answer.
    std::optional<QList<QVariant>> call(const QString& interface, const QString& method,
                                        const QList<QVariant>& args) {
        const qint64 left = elementBudgetMs - started_.elapsed();
        if (left <= 0) return std::nullopt;
        auto message = QDBusMessage::createMethodCall(service_, path_, interface, method);
        message.setArguments(args);
        const QDBusMessage reply = bus_.call(message, QDBus::Block, int(std::min<qint64>(timeoutMs_, left)));
        if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
        return reply.arguments();
    }

    QDBusConnection bus_;
    QString service_;
    QString path_;
    int timeoutMs_;
    QElapsedTimer started_;
};

} // namespace

LinuxAccessibility::LinuxAccessibility(Log& log) : log_(log) {}

void LinuxAccessibility::connectBus() {
    const QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) {
        listenOn(QString());
        return;
    }
    // The desktop may start the accessibility bus only when asked: a wait
    // that must not hold the main queue, where summons are handled.
    auto* lookup = new QDBusPendingCallWatcher(
        session.asyncCall(
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                           QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
            500),
        this);
    connect(lookup, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        answered->deleteLater();
        const QDBusMessage reply = answered->reply();
        listenOn(reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1
                     ? reply.arguments().front().toString()
                     : QString());
    });
}

void LinuxAccessibility::listenOn(const QString& address) {
    QDBusConnection bus =
        address.isEmpty() ? QDBusConnection(QStringLiteral("rondelix-accessibility"))
                          : QDBusConnection::connectToBus(address, QStringLiteral("rondelix-accessibility"));
    if (!bus.isConnected()) {
        log_.write(
            "the accessibility bus is not running; the text caret cannot be found and the wheel opens at "
            "the pointer.");
        return;
    }
    bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                QStringLiteral("StateChanged"), this, SLOT(stateChanged(QDBusMessage)));
    // Programs only announce the events someone has asked the registry for.
    auto registration = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
    registration.setArguments({QStringLiteral("object:state-changed:focused")});
    bus.asyncCall(registration);
    bus_ = bus;
}

void LinuxAccessibility::setMessagingTimeout(double seconds) {
    timeoutMs_ = std::max(1, int(seconds * 1000));
}

std::unique_ptr<AccessibleElement> LinuxAccessibility::focusedElement() {
    if (!bus_ || focusedService_.isEmpty()) return nullptr;
    // With one of our own windows focused, the element is ours: asking it
    // over the bus would wait on this very thread until the time-out.
    if (QGuiApplication::focusWindow()) return nullptr;
    // A bus that went away answers nothing; asking it would only wait.
    if (!bus_->isConnected()) {
        log_.write("the accessibility bus has gone away; the wheel opens at the pointer.");
        bus_.reset();
        return nullptr;
    }
    return std::make_unique<LinuxAccessibleElement>(*bus_, focusedService_, focusedPath_, timeoutMs_);
}

void LinuxAccessibility::stateChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || args[0].toString() != QLatin1String("focused")) return;
    if (args[1].toInt() == 1) {
        focusedService_ = message.service();
        focusedPath_ = message.path();
    } else if (message.service() == focusedService_ && message.path() == focusedPath_) {
        focusedService_.clear();
        focusedPath_.clear();
    }
}

} // namespace rondelix::platform::linux_desktop
