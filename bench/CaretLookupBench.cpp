#include "BenchApplication.h"
#include "overlay/CaretLocator.h"
#include "platform/linux/desktop/LinuxAccessibility.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimScreens.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <benchmark/benchmark.h>
#include <csignal>
#include <sys/prctl.h>

using namespace rondelix;

namespace {

const QString fieldPath = QStringLiteral("/org/a11y/atspi/accessible/field");

// The state set of a focused single-line text field, in the bus's two
// words: editable, enabled, focusable, focused, sensitive, showing, single
// line and visible; selectable text in the second.
QList<uint> focusedFieldState() {
    uint first = 0;
    for (const uint state : {7u, 8u, 11u, 12u, 24u, 25u, 26u, 30u})
        first |= 1u << state;
    return {first, 1u << (37 - 32)};
}

// A text field of another program, as the accessibility bus shows it: it
// says it has the focus, its caret stands at offset 7, and it answers from a
// thread of its own as a separate program would. The same object plays the session bus's pointer to
// the accessibility bus, which here is the one bus.
class TextFieldOnTheBus final : public QDBusVirtualObject {
  public:
    explicit TextFieldOnTheBus(QString busAddress) : busAddress_(std::move(busAddress)) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        QList<QVariant> answer;
        if (member == QLatin1String("GetAddress"))
            answer = {busAddress_};
        else if (member == QLatin1String("GetState"))
            answer = {QVariant::fromValue(focusedFieldState())};
        else if (member == QLatin1String("GetNSelections"))
            answer = {0};
        else if (member == QLatin1String("Get"))
            answer = {QVariant::fromValue(QDBusVariant(7))};
        else if (member == QLatin1String("GetCharacterExtents"))
            answer = {412, 236, 8, 17};
        else
            return false;
        connection.send(message.createReply(answer));
        return true;
    }

  private:
    QString busAddress_;
};

// A private bus with the text field on it, focused.
struct PrivateAccessibilityBus {
    PrivateAccessibilityBus() {
        // The bus lives as long as the benchmark: it ends when the process does.
        daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (!daemon.waitForReadyRead(5000)) return;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        thread.start();
        field = new TextFieldOnTheBus(address);
        field->moveToThread(&thread);
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("text-field"));
        bus.registerService(QStringLiteral("org.a11y.Bus"));
        bus.registerVirtualObject(QStringLiteral("/org/a11y/bus"), field);
        bus.registerVirtualObject(fieldPath, field);
    }
    void announceFocus() const {
        auto focused = QDBusMessage::createSignal(fieldPath, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                  QStringLiteral("StateChanged"));
        focused.setArguments(
            {QStringLiteral("focused"), 1, 0, QVariant::fromValue(QDBusVariant(0)), QVariantMap{}});
        QDBusConnection(QStringLiteral("text-field")).send(focused);
    }

    QProcess daemon;
    QString address;
    QThread thread;
    TextFieldOnTheBus* field = nullptr;
};

// The program's side of the bus, built once: the benchmark runs this body
// several times, and both bus connections keep their names for the process.
struct Rig {
    Rig() : accessibility(log) {
        screens.layout = {{{0, 0, 1600, 1000}, {0, 0, 1600, 1000}}};
        accessibility.connectBus();
        // The program asks for the accessibility bus's address without
        // waiting, so it may start listening after a first announcement.
        QElapsedTimer waited;
        waited.start();
        qint64 announced = -1000;
        while (!accessibility.focusedElement() && waited.elapsed() < 5000) {
            if (waited.elapsed() - announced >= 100) {
                bus.announceFocus();
                announced = waited.elapsed();
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    PrivateAccessibilityBus bus;
    platform::sim::SimLog log;
    platform::linux_desktop::LinuxAccessibility accessibility;
    platform::linux_desktop::QtMainQueue queue;
    platform::sim::SimScreens screens;
};

// The lookup a summon at the text caret makes once the focused field is
// known: whether it still has the focus, asked beside three questions to
// the field over the bus. The target is 2 ms.
void BM_CaretLookupWithTheFocusTracked(benchmark::State& state) {
    ensureApplication();
    static Rig* rig = new Rig;
    if (!CaretLocator::caretRect(rig->accessibility, rig->screens, rig->queue)) {
        state.SkipWithError("no caret found on a private accessibility bus (is dbus-daemon installed?)");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(CaretLocator::caretRect(rig->accessibility, rig->screens, rig->queue));
}
BENCHMARK(BM_CaretLookupWithTheFocusTracked)->Unit(benchmark::kMicrosecond);

} // namespace
