#include "app/ui/GalleryWiring.h"

#include "actions/MacroExecutor.h"
#include "app/AppCoordinator.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "overlay/FeedbackController.h"
#include "overlay/ui/WheelGraphic.h"
#include "store/ConfigStore.h"

#include <QPointer>
#include <map>

namespace rondelix {

GalleryServices galleryServices(AppCoordinator& coordinator) {
    ConfigStore& store = coordinator.configStore();
    return GalleryServices{
        [&store] {
            std::vector<std::string> names;
            for (const Wheel& wheel : store.config().wheels)
                names.push_back(wheel.name);
            return names;
        },
        [&store](Wheel wheel) {
            store.editWheels(std::nullopt, [&wheel](std::vector<Wheel>& wheels) { wheels.push_back(wheel); });
        },
        [&store] { store.undo(); },
        [&coordinator](const MacroAction& link) {
            coordinator.feedback().fire();
            coordinator.macroExecutor().fire(link);
        },
        [&coordinator](const std::string& wheelId) { coordinator.openSliceEditor(wheelId, 0); },
        [&store] { return !store.isReadOnly(); },
    };
}

WheelPreviewFactory wheelPreviewFactory(ConfigStore& store) {
    return [&store](WheelPreviewSpec spec, QWidget* parent) -> WheelPreview {
        auto* graphic = new WheelGraphic(parent);
        auto show = [&store, graphic](WheelPreviewSpec shown) {
            auto inputs = WheelGraphic::Inputs::of(std::move(shown.wheel), store.config().behavior);
            inputs.allWheels.clear();
            inputs.activeWheelId.clear();
            inputs.isVisible = true;
            if (shown.accentStrength) inputs.accentStrength = *shown.accentStrength;
            inputs.onTapSlice = std::move(shown.onTapSlice);
            inputs.diameter = shown.diameter;
            inputs.prefetchFavicons = shown.prefetchFavicons;
            inputs.showsHubLabel = shown.showsHubLabel;
            graphic->setInputs(std::move(inputs));
        };
        show(std::move(spec));
        return {graphic, show};
    };
}

QWidget* makeGalleryPage(AppCoordinator& coordinator, double wheelSize, QWidget* parent) {
    const auto& platform = coordinator.platform();
    return new GalleryBrowserPage(
        GalleryBrowserPage::Services{
            galleryServices(coordinator), platform.queue, platform.background, platform.workspace,
            [&store = coordinator.configStore()] {
                return Color::fromHex(store.config().behavior.accentHex);
            },
            coordinator.configStore().configChanged, wheelPreviewFactory(coordinator.configStore()),
            [&coordinator] { return coordinator.platform().screens.displayOptions().reduceMotion; }},
        wheelSize, parent);
}

QWidget* wheelWorkshop(AppCoordinator& coordinator, QWidget* parent,
                       const std::function<QWidget*(AppCoordinator&, QWidget*)>& editorPage) {
    static std::map<AppCoordinator*, QPointer<WheelWorkshopPage>> made;
    if (auto found = made.find(&coordinator); found != made.end() && found->second) return found->second;
    WheelWorkshopPage::Pages pages{
        [&coordinator, editorPage](QWidget* host) { return editorPage(coordinator, host); },
        [&coordinator](double wheelSize, QWidget* host) {
            return static_cast<GalleryBrowserPage*>(makeGalleryPage(coordinator, wheelSize, host));
        },
        [&coordinator] { return coordinator.platform().screens.displayOptions().reduceMotion; },
    };
    auto* workshop =
        new WheelWorkshopPage(std::move(pages), coordinator.mainTab() == MainTab::gallery, parent);
    made[&coordinator] = workshop;
    const auto connection = coordinator.changed.connect([&coordinator, workshop](AppCoordinator::Property p) {
        if (p != AppCoordinator::Property::mainTab) return;
        const MainTab tab = coordinator.mainTab();
        if (tab == MainTab::wheels || tab == MainTab::gallery) workshop->showGallery(tab == MainTab::gallery);
    });
    QObject::connect(workshop, &QObject::destroyed,
                     [&coordinator, connection] { coordinator.changed.disconnect(connection); });
    return workshop;
}

} // namespace rondelix
