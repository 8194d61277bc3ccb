#include "app/main/RondelixApp.h"

#include "app/AppCoordinator.h"
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/DefaultsKeys.h"
#include "app/LaunchBreadcrumb.h"
#include "app/main/DesktopFavicons.h"
#include "app/main/ProgramWindowIcon.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/ReadablePalette.h"
#include "app/ui/ReadableStyle.h"
#include "app/ui/SideWindow.h"
#include "app/ui/TrayMenu.h"
#include "icons/IconStore.h"
#include "icons/StoredIconRedraws.h"
#include "icons/ui/SymbolFont.h"
#include "model/WheelState.h"
#include "overlay/ui/HUDWindow.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/QtEscapeMonitor.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelView.h"
#include "platform/CurrentDesktop.h"
#include "platform/XdgFolders.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/CanberraSounds.h"
#include "platform/linux/desktop/DBusNotifications.h"
#include "platform/linux/desktop/InotifyFileWatcher.h"
#include "platform/linux/desktop/JsonFileUserDefaults.h"
#include "platform/linux/desktop/LinuxAccessibility.h"
#include "platform/linux/desktop/LinuxDesktopAppearance.h"
#include "platform/linux/desktop/PermissionsInputAccess.h"
#include "platform/linux/desktop/XdgWorkspace.h"
#include "platform/linux/desktop/XfcePanelDarkMode.h"
#include "platform/linux/process/ConfigWriterLock.h"
#include "platform/linux/process/DrawerImages.h"
#include "platform/linux/process/LocalSocketSingleInstance.h"
#include "platform/linux/process/PosixProcesses.h"
#include "platform/linux/process/PrivateRuntimeFolder.h"
#include "platform/linux/process/ProgramExecutables.h"
#include "platform/linux/process/SystemLog.h"
#include "platform/linux/process/TerminationSignals.h"
#include "platform/linux/process/ThreadPoolBackground.h"
#include "platform/linux/process/UserHomeFolder.h"
#include "platform/linux/qt/QtDialogs.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/linux/qt/QtPasteboard.h"
#include "platform/linux/qt/QtScreens.h"
#include "platform/linux/qt/QtSessionEvents.h"
#include "platform/linux/qt/QtWaitedPictureWork.h"
#include "platform/linux/x11/X11BlurBehind.h"
#include "platform/linux/x11/X11CompositorWatch.h"
#include "platform/linux/x11/X11Display.h"
#include "platform/linux/x11/X11EventTaps.h"
#include "platform/linux/x11/X11FrameExtents.h"
#include "platform/linux/x11/X11ManagerProperty.h"
#include "platform/linux/x11/X11PanelColour.h"
#include "platform/linux/x11/X11PanelWatch.h"
#include "platform/linux/x11/X11Permissions.h"
#include "platform/linux/x11/X11QueuedEvents.h"
#include "platform/linux/x11/X11RootPropertyWatch.h"
#include "platform/linux/x11/X11TrayColors.h"
#include "platform/linux/x11/X11WindowManagerHints.h"
#include "platform/linux/x11/XkbKeyboardLayout.h"
#include "qtshared/FocusRing.h"
#include "qtshared/QtColor.h"
#include "qtshared/WindowEdge.h"
#include "store/ConfigPaths.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QSysInfo>
#include <QThreadPool>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rondelix {

namespace desktop = platform::linux_desktop;

namespace {

// A reason the program cannot run, logged and shown on standard error.
int refuse(desktop::SystemLog& log, const std::string& sentence) {
    log.tell(sentence);
    return 1;
}

// Everything the program needs from the desktop, built once the program knows
// it will run, in an order where each piece finds what it uses.
struct DesktopPlatform {
    DesktopPlatform(platform::Log& log, platform::MainQueue& queue, const desktop::UserHomeFolder& home)
        : watcher(log),
          loginItems(desktop::AutostartLoginItems::defaultFolder(home),
                     desktop::ProgramExecutables::beside(desktop::ProgramExecutables::front).value_or("")),
          processes(queue), workspace(processes), taps(queue, log), sounds(log),
          appearance(log, desktop::LinuxDesktopAppearance::sessionSources()), screens(log, &appearance),
          accessibility(log), permissions(log), inputAccess(permissions), session(log), notifications(log),
          layout(log), windows({desktop::QtScreens::compositorRunning(), &desktop::requestBlurBehind,
                                &desktop::blurBehindOffered},
                               &desktop::expectedFrameExtents) {}
    // A picture still being decoded is given up rather than waited for: the
    // pool's work then ends at once.
    ~DesktopPlatform() { drawer.shutDown(); }
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    desktop::InotifyFileWatcher watcher;
    desktop::AutostartLoginItems loginItems;
    desktop::QtPasteboard pasteboard;
    desktop::PosixProcesses processes;
    desktop::XdgWorkspace workspace;
    desktop::X11EventTaps taps;
    desktop::CanberraSounds sounds;
    desktop::LinuxDesktopAppearance appearance;
    desktop::QtScreens screens;
    desktop::LinuxAccessibility accessibility;
    desktop::X11Permissions permissions;
    desktop::PermissionsInputAccess inputAccess;
    desktop::QtSessionEvents session;
    desktop::DBusNotifications notifications;
    // Work on the background pool uses the pictures' readers; chosen and
    // carried pictures are decoded by the drawer.
    desktop::SvgDrawerClient drawer;
    desktop::DrawerImages images{drawer, desktop::QtImages::Readers::namedRasters};
    desktop::ThreadPoolBackground background;
    desktop::QtDialogs dialogs;
    desktop::QtWaitedPictureWork pictureWork;
    desktop::XkbKeyboardLayout layout;
    QtEscapeMonitor escape;
    QtAppWindows windows;
};

// Why the program cannot run here, checked before the toolkit starts: the
// display, and a home folder to keep the settings in (Qt creates missing
// folders of its own under it). Nothing when it can.
std::optional<int> refusalBeforeStart(const CommandLine& line, desktop::SystemLog& log,
                                      const desktop::UserHomeFolder& home) {
    const CommandLine::DisplayChoice display = line.displayChoice();
    if (const auto refusal = display.refusal()) return refuse(log, *refusal);
    if (!display.toolkitChosen && !desktop::X11Display::answers(display.xDisplay))
        return refuse(log, display.unreachable());
    std::error_code error;
    if (!std::filesystem::is_directory(home.path(), error))
        return refuse(log, "can't start — the home folder " + home.path().string() +
                               " doesn't exist, so there is nowhere to keep the settings.");
    return std::nullopt;
}

// Before the toolkit starts: a start that only brings the running program
// forward ends here, having built nothing. The exit status when it does.
std::optional<int> handedOverToRunningProgram(desktop::LocalSocketSingleInstance& instance,
                                              desktop::SystemLog& log) {
    switch (instance.claim()) {
    case platform::SingleInstance::Claim::handedOver:
        std::fputs(CommandLine::handedOverText, stderr);
        return 0;
    case platform::SingleInstance::Claim::notResponding:
        std::fputs(CommandLine::notRespondingText(instance.unresponsiveProcess()).c_str(), stderr);
        return 1;
    case platform::SingleInstance::Claim::unavailable:
        log.write("single-instance check unavailable (" + instance.failure() + ") — carrying on.");
        break;
    case platform::SingleInstance::Claim::claimed:
        break;
    }
    return std::nullopt;
}

// A quitting instance may still be writing the configuration after it gave
// up its place: the start that took the place waits for it before anything
// reads the file, so that there is never a second writer. An instance that
// runs on, in another session with a place of its own, is never waited for.
// The exit status when the start ends here; without the lock the program
// runs read-only.
std::optional<int> waitedForTheLastSave(desktop::ConfigWriterLock& writer) {
    using Taken = desktop::ConfigWriterLock::Taken;
    const Taken taken = writer.take(desktop::ConfigWriterLock::noticeAfterSeconds,
                                    desktop::ConfigWriterLock::giveUpAfterSeconds,
                                    [] { std::fputs(CommandLine::waitingForSaveText, stderr); });
    switch (taken) {
    case Taken::stillHeld:
        std::fputs(CommandLine::stillSavingText(writer.holder()).c_str(), stderr);
        return 1;
    case Taken::runningElsewhere:
        std::fputs(CommandLine::runningElsewhereText(writer.holder()).c_str(), stderr);
        return 1;
    case Taken::unavailable:
    case Taken::taken:
        break;
    }
    return std::nullopt;
}

// The arguments the toolkit takes, kept alive as long as the application
// object that reads them.
struct ToolkitArguments {
    explicit ToolkitArguments(std::vector<std::string> arguments) : text(std::move(arguments)) {
        for (std::string& argument : text)
            pointers.push_back(argument.data());
        pointers.push_back(nullptr);
        count = static_cast<int>(text.size());
    }

    std::vector<std::string> text;
    std::vector<char*> pointers;
    int count = 0;
};

void nameTheProgramToTheToolkit() {
    QApplication::setApplicationName("Rondelix");
    QApplication::setApplicationVersion(RondelixApp::version);
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(desktop::ProgramExecutables::applicationId);
    // Qt's raster engine cuts every large fill and scaled image into slices
    // for its global thread pool, one thread per core. The wheel's opening
    // paints a few hundred thousand pixels a frame: waking every core for
    // that costs more CPU than it saves, so two threads take the slices.
    QThreadPool::globalInstance()->setMaxThreadCount(2);
}

// The desktop's font list and the symbol font are set up once, by the first
// text drawn, and kept. Started on a pool thread ahead of that text, so that
// what is built before it goes on meanwhile.
void setUpFontsToTheSide() {
    static std::once_flag fonts;
    std::call_once(fonts, [] { QThreadPool::globalInstance()->start([] { SymbolFont::isAvailable(); }); });
}

// The wheel's window: the wheel view on a panel that, under a compositor that
// offers it, blurs what lies behind the ring, and under one that does not
// keeps a contrast floor. The view last made is the one kept up to date.
OverlayController::SurfaceFactory panelFactory(std::unique_ptr<AppCoordinator>& coordinator,
                                               QPointer<WheelView>& liveWheel, SliceIconSources& icons,
                                               DesktopPlatform& d) {
    return [&coordinator, &liveWheel, &icons, &d](const PanelOptions& options) {
        // A program started into the tray needs no text before the first
        // summon, and one never summoned keeps no fonts: they are set up as
        // the first panel is built, while the summon keys are held.
        setUpFontsToTheSide();
        auto panel = std::make_unique<OverlayPanel>(options, [&](double diameter, QWidget* parent) {
            auto* view = new WheelView(
                coordinator->wheelState(), [&coordinator] { return coordinator->configStore().config(); },
                icons, diameter, parent);
            view->reduceMotion = [&d] { return d.appearance.settings().reduceMotion; };
            liveWheel = view;
            return view;
        });
        if (!options.opaque) {
            desktop::requestBlurBehindRegion(*panel, panel->backdropRegion());
            panel->setBackdropBlurred(desktop::blurBehindOffered());
        }
        return panel;
    };
}

AppCoordinator::Platform coordinatorPlatform(DesktopPlatform& d, platform::MainQueue& queue,
                                             desktop::SystemLog& log, platform::UserDefaults& defaults,
                                             const desktop::UserHomeFolder& home,
                                             OverlayController::SurfaceFactory makePanel,
                                             std::optional<std::filesystem::path> runtimeFolder,
                                             platform::Background& configSaves,
                                             const desktop::ConfigWriterLock& configWriter) {
    return {
        .queue = queue,
        .log = log,
        .defaults = defaults,
        .home = home,
        .watcher = d.watcher,
        .loginItems = d.loginItems,
        .pasteboard = d.pasteboard,
        .workspace = d.workspace,
        .processes = d.processes,
        .taps = d.taps,
        .sounds = d.sounds,
        .screens = d.screens,
        .accessibility = d.accessibility,
        .permissions = d.permissions,
        .inputAccess = d.inputAccess,
        .session = d.session,
        .notifications = d.notifications,
        .background = d.background,
        .dialogs = d.dialogs,
        .images = d.images,
        .keyboardLayout = d.layout,
        .escapeMonitor = d.escape,
        .windows = d.windows,
        .makeOverlaySurface = std::move(makePanel),
        .makeHUDSurface = [] { return std::make_unique<HUDWindow>(desktop::QtScreens::compositorRunning()); },
        .privateRuntimeFolder = std::move(runtimeFolder),
        .configSaves = &configSaves,
        .pictureWork = &d.pictureWork,
        .configWriterLockProblem =
            configWriter.held() ? std::nullopt : std::optional<std::string>(configWriter.failure())};
}

// The open wheel redraws when the wheels change; applications that had no
// icon are looked for again when the wheels change or one opens, so one
// installed meanwhile shows its icon.
void keepTheWheelCurrent(AppCoordinator& coordinator, QPointer<WheelView>& liveWheel,
                         SliceIconSources& icons) {
    coordinator.configStore().configChanged.connect([&liveWheel] {
        if (liveWheel) liveWheel->refresh();
    });
    coordinator.configStore().configChanged.connect([&icons] { icons.forgetMissingApplications(); });
    coordinator.wheelState().changed.connect([&coordinator, &icons](WheelState::Property property) {
        if (property == WheelState::Property::isVisible && coordinator.wheelState().isVisible())
            icons.forgetMissingApplications();
    });
}

// The tray icon where the desktop has a tray; elsewhere the main window opens
// at once, as the only way to reach the program.
struct TrayOrWindow {
    std::unique_ptr<TrayMenu> tray;
    std::unique_ptr<desktop::X11TrayColors> colors;
    std::unique_ptr<desktop::X11PanelWatch> panelWatch;
    std::unique_ptr<desktop::XfcePanelDarkMode> panelDarkMode;
    std::unique_ptr<desktop::X11ManagerProperty> themeSettings;
    QFileSystemWatcher plasmaStyle;

    TrayOrWindow(AppCoordinator& coordinator, DesktopPlatform& d, desktop::SystemLog& log) {
        d.windows.setTrayShown(TrayMenu::trayAvailable());
        if (!TrayMenu::trayAvailable()) {
            log.write("no system tray on this desktop — opening the main window instead.");
            coordinator.showMain(MainTab::wheels);
            return;
        }
        // A new theme or a new tray redraws the icon in the panel's colours.
        colors = std::make_unique<desktop::X11TrayColors>([this] {
            if (tray) tray->panelChanged();
        });
        if (platform::namesDesktop(desktop::LinuxDesktopAppearance::sessionSources().desktop, "XFCE"))
            panelDarkMode =
                std::make_unique<desktop::XfcePanelDarkMode>(QDBusConnection::sessionBus(), [this] {
                    if (tray) tray->panelModeChanged();
                });
        // A new theme may give the panel a new look and keep light or dark:
        // the X settings' theme, and KDE's panel style of its own.
        themeSettings = std::make_unique<desktop::X11ManagerProperty>("_XSETTINGS_S", "_XSETTINGS_SETTINGS",
                                                                      [this] { lookAtThePanel(); });
        if (platform::namesDesktop(desktop::LinuxDesktopAppearance::sessionSources().desktop, "KDE")) {
            const QString folder = QString::fromStdString(platform::userConfigFolder().string());
            const QString panelStyle = folder + "/plasmarc";
            // KDE replaces the file whole, or writes it first on the first
            // change: its folder tells of both.
            plasmaStyle.addPath(folder);
            plasmaStyle.addPath(panelStyle);
            // Whether the file is there again (or at last) and followed anew.
            const auto followed = [this, panelStyle] {
                return !plasmaStyle.files().contains(panelStyle) && plasmaStyle.addPath(panelStyle);
            };
            QObject::connect(&plasmaStyle, &QFileSystemWatcher::fileChanged, [this, followed] {
                followed();
                lookAtThePanel();
            });
            QObject::connect(&plasmaStyle, &QFileSystemWatcher::directoryChanged, [this, followed] {
                if (followed()) lookAtThePanel();
            });
        }
        panelWatch = std::make_unique<desktop::X11PanelWatch>([this] {
            if (tray) tray->panelRepainted();
        });
        // The few pixels just around the icon.
        constexpr int ring = 2;
        tray = std::make_unique<TrayMenu>(
            coordinator, [] { QApplication::quit(); },
            TrayPanelLook{[this] { return colors->textColor(); }, &d.appearance,
                          [this] { return panelDarkMode ? panelDarkMode->darkMode() : std::nullopt; },
                          &desktop::panelColour,
                          [this](const QRect& icon) { return panelWatch->colourAround(icon, ring); },
                          [this](const QRect& icon) { return panelWatch->follow(icon, ring); },
                          [this] { panelWatch->stop(); }});
    }
    void lookAtThePanel() {
        if (tray) tray->lookAgainSoon();
    }
    TrayOrWindow(const TrayOrWindow&) = delete;
    TrayOrWindow& operator=(const TrayOrWindow&) = delete;
    ~TrayOrWindow() {
        tray.reset();
        panelWatch.reset();
        themeSettings.reset();
        panelDarkMode.reset();
        colors.reset();
    }
};

// What hearing the summon keys does not need waits until the program is
// ready: the launch's breadcrumb with its writes to the disk, and the
// questions to the desktop's buses.
void finishLaunchingOnceReady(platform::MainQueue& queue, desktop::SystemLog& log, AppDelegate& delegate,
                              platform::UserDefaults& defaults, DesktopPlatform& d) {
    queue.post([&log] { log.write("ready."); });
    queue.post([&] {
        delegate.applicationDidFinishLaunching();
        if (defaults.get(DefaultsKeys::previousLaunchIncomplete))
            log.write("launch health: " + LaunchBreadcrumb::diagnosticsLine(defaults));
        d.session.connectBuses();
        d.accessibility.connectBus();
    });
}

} // namespace

int RondelixApp::run(int argc, char** argv) {
    const CommandLine line = CommandLine::parse(std::vector<std::string>(argv, argv + argc));
    if (const auto status = line.answerWithoutRunning(version)) return *status;

    desktop::SystemLog log(line.verbose);
    const desktop::UserHomeFolder home;
    if (const auto status = refusalBeforeStart(line, log, home)) return *status;
    desktop::LocalSocketSingleInstance instance;
    if (const auto status = handedOverToRunningProgram(instance, log)) return *status;
    // Held to the end, past the last save.
    desktop::ConfigWriterLock configWriter(home.configFolder());
    if (const auto status = waitedForTheLastSave(configWriter)) return *status;

    ToolkitArguments toolkitArguments(line.toolkitArguments);
    // A desktop whose font resolution is a little over the standard one
    // (MATE's 100 dpi) would otherwise scale every window by 1.04: widget
    // edges then fall between pixels, and a see-through window shows the
    // desktop through the one-pixel seams between its parts. Whole factors
    // keep every edge on a pixel; the texts still follow the resolution.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(toolkitArguments.count, toolkitArguments.pointers.data());
    nameTheProgramToTheToolkit();
    // Without a tray the main window opens at start, and its first text
    // waits for the fonts: they are set up meanwhile from now on.
    if (!TrayMenu::trayAvailable()) setUpFontsToTheSide();
    const ProgramWindowIcon windowIcon;
    // Before any window: check boxes and fields show their edges, and
    // secondary text stays readable, also under glass.
    ReadableStyle::install();
    ReadablePalette readablePalette;
    const FocusRing focusRing;
    const WindowEdge windowEdge(&desktop::windowManagerRuns);

    // Set before anything can ask for a reopen.
    AppDelegate* reopenTarget = nullptr;
    instance.serve([&reopenTarget] {
        if (reopenTarget) reopenTarget->applicationShouldHandleReopen();
    });

    desktop::QtMainQueue queue;
    desktop::JsonFileUserDefaults defaults(ConfigPaths::in(home.configFolder()).defaults, log);
    AppDelegate delegate(defaults, queue, QSysInfo::prettyProductName().toStdString());
    delegate.applicationWillFinishLaunching();

    DesktopPlatform desktopPlatform(log, queue, home);
    auto& d = desktopPlatform;
    // Light or dark as the desktop is, before the first window and live;
    // the palette, made before the desktop's pieces, stops following them
    // before they go.
    const ScopedConnection followedAppearance = readablePalette.follow(d.appearance);
    DesktopFavicons favicons(queue, log);
    StoredIconRedraws redraws(IconStore::directoryIn(home.configFolder()),
                              {d.images, d.background, queue, log});
    SliceIconSources icons(
        [&d](const std::string& identifier) { return d.workspace.applicationPath(identifier); },
        &favicons.images(), &redraws);
    std::unique_ptr<AppCoordinator> coordinator;
    QPointer<WheelView> liveWheel;
    // The single instance's own folder: never the shared temporary folder.
    const auto runtimeFolder = desktop::PrivateRuntimeFolder::find(std::getenv("XDG_RUNTIME_DIR"));
    // Saves are written one after another, in the order of the changes.
    desktop::ThreadPoolBackground configSaves(1);
    coordinator = std::make_unique<AppCoordinator>(
        coordinatorPlatform(d, queue, log, defaults, home, panelFactory(coordinator, liveWheel, icons, d),
                            runtimeFolder.path, configSaves, configWriter),
        delegate);
    d.windows.attach(*coordinator, icons);
    // A compositor started or stopped later changes the glass windows at once.
    const desktop::X11CompositorWatch compositorWatch([&d, &log](bool running) {
        log.write(running ? "a compositor started." : "the compositor stopped.");
        d.windows.setCompositor(running);
    });
    d.windows.setCompositor(compositorWatch.running());
    // So does a compositor that says anew whether it blurs: KWin's blur
    // effect, loaded again, puts its property back on the root window.
    const desktop::X11RootPropertyWatch blurAnnouncement({"_KDE_NET_WM_BLUR_BEHIND_REGION", "_NET_SUPPORTED"},
                                                         [&d] { d.windows.blurOfferChanged(); });
    const auto followContrast = [&d] { d.windows.setHighContrast(d.appearance.settings().highContrast); };
    d.appearance.changed.connect(followContrast);
    followContrast();
    const auto followAccent = [&readablePalette, &coordinator] {
        readablePalette.setAccent(
            toQColor(Color::fromHex(coordinator->configStore().config().behavior.accentHex)));
    };
    coordinator->configStore().configChanged.connect(followAccent);
    followAccent();
    keepTheWheelCurrent(*coordinator, liveWheel, icons);
    reopenTarget = &delegate;

    std::optional<TrayOrWindow> trayOrWindow;
    trayOrWindow.emplace(*coordinator, d, log);

    // A start while this one takes its time to end becomes the new instance
    // rather than asking this one, which no longer serves. The lock says
    // first that this one is saving at its quit, so that such a start waits
    // for the last save instead of ending.
    const auto stopServing = [&instance, &configWriter] {
        configWriter.noteQuitting();
        instance.release();
    };
    // Told to quit, the program stops serving at once, and quits behind the
    // keys and clicks already sent to it, so that its last save has them.
    desktop::X11QueuedEvents queuedEvents;
    desktop::onTerminationSignals([&stopServing, &queuedEvents, quitting = false]() mutable {
        if (std::exchange(quitting, true)) return;
        stopServing();
        queuedEvents.handleThen([] { QApplication::quit(); });
    });
    QObject::connect(&application, &QApplication::aboutToQuit, [&delegate, &stopServing] {
        stopServing();
        delegate.applicationWillTerminate();
    });
    finishLaunchingOnceReady(queue, log, delegate, defaults, d);

    const int status = QApplication::exec();
    reopenTarget = nullptr;
    trayOrWindow.reset();
    d.windows.destroyAll();
    coordinator.reset();
    return status;
}

} // namespace rondelix
