#include "app/ui/MainPages.h"

#include "app/AppCoordinator.h"
#include "app/AppWindows.h"
#include "app/CoordinatorEditorSession.h"
#include "app/SettingsPorts.h"
#include "app/ui/DevelopmentWiring.h"
#include "app/ui/GalleryWiring.h"
#include "catalog/MainTabFace.h"
#include "editor/ui/ApplicationChooser.h"
#include "editor/ui/SliceFormView.h"
#include "editor/ui/WheelEditorPage.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "platform/HomeFolder.h"
#include "settings/ui/AppearancePage.h"
#include "settings/ui/BindingsPage.h"
#include "settings/ui/GeneralPage.h"
#include "settings/ui/SoundFeedbackPage.h"
#include "settings/ui/WheelBehaviorPage.h"

#include <QApplication>

namespace rondelix {

namespace {

// The slice form of the My Wheels page, for the slot the page selects.
SliceFormFactory sliceFormFactory(const PageContext& context) {
    return [&c = context.coordinator, &icons = context.icons](const SliceSlot& slot,
                                                              QWidget* parent) -> QWidget* {
        const AppCoordinator::Platform& p = c.platform();
        SliceFormServices services{
            c.configStore(),
            p.workspace,
            p.sounds,
            p.dialogs,
            p.images,
            p.log,
            p.background,
            p.queue,
            p.keyboardLayout,
            p.home.configFolder(),
            KeystrokeCaptureHost{c.hotkeyManager(),
                                 [&windows = p.windows] {
                                     const auto main = windows.state(AppWindows::Kind::main);
                                     return main.exists && main.visible && !main.miniaturized;
                                 },
                                 [&c](bool on) { c.isCapturingKeystroke = on; }},
            c.automations(),
            [&c] { c.showShortcutSetup(std::nullopt); }};
        auto chooseApp = [&p, &icons](QWidget* owner) {
            return ApplicationChooser::choose(p.workspace, p.dialogs, icons, owner);
        };
        return new SliceFormView(std::move(services), slot, chooseApp, parent);
    };
}

WheelEditorPage* editorPage(const PageContext& context, QWidget* parent) {
    AppCoordinator& c = context.coordinator;
    return new WheelEditorPage({c.transferServices(), std::make_shared<CoordinatorEditorSession>(c),
                                c.platform().sounds, c.platform().queue, c.wheelState(),
                                sliceFormFactory(context), context.icons, [] { QApplication::quit(); },
                                [&c] { return c.platform().screens.displayOptions().reduceMotion; }},
                               parent);
}

// A row titled and drawn as the page is wherever it is named.
MainPage page(MainTab tab, PageFactory make = {}, bool developerOnly = false) {
    const MainTabFace face = mainTabFace(tab);
    return {tab, face.title, face.symbol, std::move(make), developerOnly};
}

} // namespace

const std::vector<MainPage>& mainPages() {
    static const std::vector<MainPage> rows{
        page(MainTab::wheels),
        page(MainTab::gallery),
        page(MainTab::general,
             [](const PageContext& context, QWidget* parent) -> QWidget* {
                 AppCoordinator& c = context.coordinator;
                 return new GeneralPage(c.transferServices(), generalShellHooks(c), parent);
             }),
        page(MainTab::shortcuts,
             [](const PageContext& context, QWidget* parent) -> QWidget* {
                 AppCoordinator& c = context.coordinator;
                 return new BindingsPage(c.configStore(), c.hotkeyManager(), c.platform().keyboardLayout,
                                         bindingsHost(c), parent);
             }),
        page(MainTab::wheelBehavior,
             [](const PageContext& context, QWidget* parent) -> QWidget* {
                 return new WheelBehaviorPage(context.coordinator.configStore(), parent);
             }),
        page(MainTab::appearance,
             [](const PageContext& context, QWidget* parent) -> QWidget* {
                 AppCoordinator& c = context.coordinator;
                 return new AppearancePage(c.configStore(), c.overlayController(), testWheelControl(c),
                                           parent);
             }),
        page(MainTab::soundFeedback,
             [](const PageContext& context, QWidget* parent) -> QWidget* {
                 AppCoordinator& c = context.coordinator;
                 return new SoundFeedbackPage(c.configStore(), c.feedback(), c.platform().sounds, parent);
             }),
        page(MainTab::about, [](const PageContext& context,
                                QWidget* parent) { return makeAboutPage(context.coordinator, parent); }),
        page(
            MainTab::development,
            [](const PageContext& context, QWidget* parent) {
                return makeDevelopmentPage(context.coordinator, parent);
            },
            true),
    };
    return rows;
}

WheelWorkshopPage* makeWheelWorkshop(const PageContext& context, bool showsGallery, QWidget* parent) {
    AppCoordinator& c = context.coordinator;
    WheelWorkshopPage::Pages pages{
        [context](QWidget* host) -> WorkshopPane* { return editorPage(context, host); },
        [context](double wheelSize, QWidget* host) -> WorkshopPane* {
            return makeGalleryPage(context, wheelSize, host);
        },
        [&c] { return c.platform().screens.displayOptions().reduceMotion; },
    };
    return new WheelWorkshopPage(std::move(pages), showsGallery, parent);
}

} // namespace rondelix
