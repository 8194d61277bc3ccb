#include "app/ui/DevelopmentWiring.h"

#include "app/AppCoordinator.h"
#include "app/DiagnosticsSnapshot.h"
#include "engine/PermissionsCheck.h"
#include "guides/DemoChoreography.h"
#include "platform/HomeFolder.h"
#include "platform/Log.h"
#include "platform/Screens.h"
#include "platform/XdgFolders.h"
#include "settings/DiagnosticsShortcuts.h"
#include "settings/RecentLogCollector.h"
#include "settings/ui/AboutPage.h"
#include "settings/ui/DevelopmentPage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QSysInfo>
#include <ctime>

namespace rondelix {

namespace {

std::string systemName() {
    return QSysInfo::prettyProductName().toStdString();
}

DesktopFacts desktopFacts(AppCoordinator& c) {
    const QPalette palette = QGuiApplication::palette();
    return {QCoreApplication::applicationVersion().toStdString(), systemName(),
            palette.color(QPalette::Window).lightnessF() < 0.5,
            c.platform().screens.displayOptions().compositor};
}

// The demo as the Development page drives it.
DemoControl demoControl(DemoChoreography& demo) {
    return {[&demo] { return demo.isRunning(); }, [&demo](const std::string& scene) { demo.play(scene); },
            [&demo] { demo.cancel(); }, demo.runningChanged};
}

} // namespace

QWidget* makeAboutPage(AppCoordinator& c, QWidget* parent) {
    const auto& p = c.platform();
    return new AboutPage({p.queue, p.pasteboard, p.workspace, [&c] { return c.devMenuUnlocked(); },
                          [&c] { c.unlockDevMenu(); }, [&c] { c.showHowItWorks(); },
                          QCoreApplication::applicationVersion().toStdString(), systemName(),
                          platform::shownWithTilde(c.configStore().paths().folder, p.home.path())},
                         parent);
}

QWidget* makeDevelopmentPage(AppCoordinator& c, QWidget* parent) {
    const auto& p = c.platform();
    DiagnosticsDelivery::Sources diagnostics{
        [&c, facts = desktopFacts(c)] {
            c.permissions().refresh();
            return diagnosticsSnapshot(c, facts, static_cast<std::int64_t>(std::time(nullptr)));
        },
        [&log = p.log] { return RecentLogCollector::collect(log.recentLines(RecentLogCollector::window)); },
        [folder = c.automations().folder().string()] { return DiagnosticsShortcuts::describeFolder(folder); },
        QCoreApplication::applicationVersion().toStdString(), p.privateRuntimeFolder};
    DevelopmentRoulette::Services roulette{
        p.queue,
        [&c] { return c.configStore().config(); },
        {},
        [&c] { c.feedback().fire(); },
        [&c](const MacroAction& action) { c.macroExecutor().fire(action); }};
    return new DevelopmentPage({c.configStore(),
                                p.defaults,
                                p.workspace,
                                {p.queue, p.background, p.pasteboard, p.processes, p.workspace, p.log},
                                std::move(diagnostics),
                                std::move(roulette),
                                demoControl(c.demo()),
                                [&c] { c.resetOnboarding(); },
                                [&c] { c.relockDevMenu(); }},
                               parent);
}

} // namespace rondelix
