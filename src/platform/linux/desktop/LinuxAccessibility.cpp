#include "platform/linux/desktop/LinuxAccessibility.h"

#include "platform/linux/x11/X11ActiveWindow.h"

#include <QDBusArgument>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <functional>

namespace rondelix::platform::linux_desktop {

namespace {

const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString textInterface = QStringLiteral("org.a11y.atspi.Text");
const QString componentInterface = QStringLiteral("org.a11y.atspi.Component");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString busService = QStringLiteral("org.a11y.Bus");
const QString registryService = QStringLiteral("org.a11y.atspi.Registry");
const QString connectionName = QStringLiteral("rondelix-accessibility");
// The "focused" bit of an element's state set.
constexpr uint focusedState = 12;
constexpr const char* notRunning = "the accessibility bus is not running; the text caret cannot be found and "
                                   "the wheel opens at the pointer.";
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
    // Few programs announce that their element lost the focus when another
    // program takes the keyboard: the element itself is asked whether it
    // still has it. Asked first, it answers before the questions after it,
    // so the answer costs the search no time; it counts for as long as any
    // answer does. A toolkit also lets its window go inactive while a grab
    // of ours holds the keyboard longer than it waits, though the window
    // keeps the focus: then `ownsKeyboard` decides.
    LinuxAccessibleElement(QDBusConnection bus, QString service, QString path, int timeoutMs,
                           std::function<bool()> ownsKeyboard)
        : bus_(std::move(bus)), service_(std::move(service)), path_(std::move(path)), timeoutMs_(timeoutMs),
          ownsKeyboard_(std::move(ownsKeyboard)),
          state_(bus_.asyncCall(QDBusMessage::createMethodCall(service_, path_, accessibleInterface,
                                                               QStringLiteral("GetState")),
                                int(elementBudgetMs))) {
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
    // Whether the element still has the focus, by its own word or else by
    // its program's window having the keyboard; found out once.
    bool holdsFocus() {
        if (!holdsFocus_) holdsFocus_ = saysFocused() || ownsKeyboard_();
        return *holdsFocus_;
    }

    // Whether the element said it has the keyboard focus; no answer counts
    // as no.
    bool saysFocused() {
        state_.waitForFinished();
        const QDBusMessage reply = state_.reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
        const auto words = qdbus_cast<QList<uint>>(reply.arguments().front());
        return !words.isEmpty() && (words.front() >> focusedState & 1u) != 0;
    }

    std::optional<Rect> characterExtents(int offset) {
        return rectFromArguments(
            call(textInterface, QStringLiteral("GetCharacterExtents"), {offset, screenCoordinates})
                .value_or(QList<QVariant>{}));
    }

    // Blocks without running the event loop, for no longer than the message
    // time-out nor past the element's budget; a program that went away or
    // does not implement the interface simply has no answer, and neither
    // has an element that no longer has the focus.
    std::optional<QList<QVariant>> call(const QString& interface, const QString& method,
                                        const QList<QVariant>& args) {
        const qint64 left = elementBudgetMs - started_.elapsed();
        if (left <= 0) return std::nullopt;
        auto message = QDBusMessage::createMethodCall(service_, path_, interface, method);
        message.setArguments(args);
        const QDBusMessage reply = bus_.call(message, QDBus::Block, int(std::min<qint64>(timeoutMs_, left)));
        if (reply.type() != QDBusMessage::ReplyMessage || !holdsFocus()) return std::nullopt;
        return reply.arguments();
    }

    QDBusConnection bus_;
    QString service_;
    QString path_;
    int timeoutMs_;
    std::function<bool()> ownsKeyboard_;
    QDBusPendingCall state_;
    std::optional<bool> holdsFocus_;
    QElapsedTimer started_;
};

} // namespace

LinuxAccessibility::LinuxAccessibility(Log& log) : log_(log) {}

void LinuxAccessibility::connectBus() {
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) {
        tellMissing(notRunning);
        return;
    }
    // The desktop may start the bus after the program, or start it again
    // after it stopped; each time it is looked up anew.
    auto* launcher =
        new QDBusServiceWatcher(busService, session, QDBusServiceWatcher::WatchForRegistration, this);
    connect(launcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { lookUp(); });
    lookUp();
}

void LinuxAccessibility::lookUp() {
    // Asking may start the bus first, which at a login where every program
    // starts at once takes seconds: the answer is waited for off the main
    // queue, where summons are handled, as long as the bus allows.
    auto* lookup = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
            busService, QStringLiteral("/org/a11y/bus"), busService, QStringLiteral("GetAddress"))),
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
    const bool listening = bus_ && bus_->isConnected();
    // An answer to an earlier question says nothing against the bus found.
    if (address.isEmpty() && listening) return;
    if (address == address_ && listening) return;
    bus_.reset();
    focusedService_.clear();
    focusedPath_.clear();
    focusedProcess_.reset();
    QDBusConnection::disconnectFromBus(connectionName);
    if (address.isEmpty()) {
        tellMissing(notRunning);
        return;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName);
    if (!bus.isConnected()) {
        tellMissing(notRunning);
        return;
    }
    bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                QStringLiteral("StateChanged"), this, SLOT(stateChanged(QDBusMessage)));
    bus_ = bus;
    address_ = address;
    // A registry that starts after this, or again after a crash, knows
    // nothing of what was asked before.
    if (!registryWatcher_) {
        registryWatcher_ =
            new QDBusServiceWatcher(registryService, bus, QDBusServiceWatcher::WatchForRegistration, this);
        connect(registryWatcher_, &QDBusServiceWatcher::serviceRegistered, this,
                &LinuxAccessibility::askForFocusChanges);
    } else {
        registryWatcher_->setConnection(bus);
    }
    askForFocusChanges();
    if (toldMissing_) log_.write("found the accessibility bus; the text caret can be found again.");
    toldMissing_ = false;
}

void LinuxAccessibility::askForFocusChanges() {
    if (!bus_) return;
    auto registration =
        QDBusMessage::createMethodCall(registryService, QStringLiteral("/org/a11y/atspi/registry"),
                                       registryService, QStringLiteral("RegisterEvent"));
    registration.setArguments({QStringLiteral("object:state-changed:focused")});
    bus_->asyncCall(registration);
}

void LinuxAccessibility::tellMissing(const char* line) {
    if (toldMissing_) return;
    toldMissing_ = true;
    log_.write(line);
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
        bus_.reset();
        tellMissing("the accessibility bus has gone away; the wheel opens at the pointer.");
        lookUp();
        return nullptr;
    }
    return std::make_unique<LinuxAccessibleElement>(
        *bus_, focusedService_, focusedPath_, timeoutMs_, [process = focusedProcess_] {
            const auto window = activeWindowIdentity();
            return process && window && window->process == process;
        });
}

void LinuxAccessibility::stateChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || args[0].toString() != QLatin1String("focused")) return;
    if (args[1].toInt() == 1) {
        if (message.service() != focusedService_) learnFocusedProcess(message.service());
        focusedService_ = message.service();
        focusedPath_ = message.path();
    } else if (message.service() == focusedService_ && message.path() == focusedPath_) {
        focusedService_.clear();
        focusedPath_.clear();
        focusedProcess_.reset();
    }
}

void LinuxAccessibility::learnFocusedProcess(const QString& service) {
    focusedProcess_.reset();
    auto question = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    question.setArguments({service});
    auto* asked = new QDBusPendingCallWatcher(bus_->asyncCall(question), this);
    connect(asked, &QDBusPendingCallWatcher::finished, this,
            [this, service](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                const QDBusMessage reply = answered->reply();
                if (service == focusedService_ && reply.type() == QDBusMessage::ReplyMessage &&
                    reply.arguments().size() == 1)
                    focusedProcess_ = long(reply.arguments().front().toUInt());
            });
}

} // namespace rondelix::platform::linux_desktop
