#include "app/ui/GalleryWiring.h"

#include "actions/MacroExecutor.h"
#include "app/AppCoordinator.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "overlay/FeedbackController.h"
#include "overlay/ui/WheelGraphic.h"
#include "platform/Log.h"
#include "store/ConfigStore.h"

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
        coordinator.transferServices().systemActionUnavailable,
        [&store] { return !store.isReadOnly(); },
        [&log = coordinator.platform().log](const std::string& line) { log.write(line); },
    };
}

WheelPreviewFactory wheelPreviewFactory(ConfigStore& store, SliceIconSources& icons) {
    return [&store, &icons](WheelPreviewSpec spec, QWidget* parent) -> WheelPreview {
        auto* graphic = new WheelGraphic(parent);
        auto show = [&store, &icons, graphic](WheelPreviewSpec shown) {
            auto inputs = WheelGraphic::Inputs::of(std::move(shown.wheel), store.config().behavior);
            inputs.wheelIds.reset();
            inputs.activeWheelId.clear();
            inputs.isVisible = true;
            if (shown.accentStrength) inputs.accentStrength = *shown.accentStrength;
            inputs.onTapSlice = std::move(shown.onTapSlice);
            inputs.aimedPosition = shown.aimedPosition;
            inputs.diameter = shown.diameter;
            inputs.prefetchFavicons = shown.prefetchFavicons;
            inputs.showsHubLabel = shown.showsHubLabel;
            inputs.icons = &icons;
            graphic->setInputs(std::move(inputs));
        };
        show(std::move(spec));
        return {graphic, show};
    };
}

GalleryBrowserPage* makeGalleryPage(const PageContext& context, double wheelSize, QWidget* parent) {
    AppCoordinator& coordinator = context.coordinator;
    const auto& platform = coordinator.platform();
    return new GalleryBrowserPage(
        GalleryBrowserPage::Services{
            galleryServices(coordinator), platform.queue, platform.background, platform.workspace,
            [&store = coordinator.configStore()] {
                return Color::fromHex(store.config().behavior.accentHex);
            },
            [&coordinator] {
                return coordinator.configStore().config().behavior.liquidGlassEnabled &&
                       !coordinator.platform().screens.displayOptions().reduceTransparency;
            },
            coordinator.configStore().configChanged,
            wheelPreviewFactory(coordinator.configStore(), context.icons),
            [&coordinator] { return coordinator.platform().screens.displayOptions().reduceMotion; }},
        wheelSize, parent);
}

} // namespace rondelix
