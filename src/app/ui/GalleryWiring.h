#pragma once

#include "app/ui/PageContext.h"
#include "gallery/GalleryServices.h"
#include "gallery/ui/WheelPreviewFactory.h"

class QWidget;

namespace rondelix {

class ConfigStore;
class GalleryBrowserPage;

// The coordinator's services as the gallery sees them.
GalleryServices galleryServices(AppCoordinator& coordinator);

// The wheel drawing the gallery shows, in the configured accent.
WheelPreviewFactory wheelPreviewFactory(ConfigStore& store, SliceIconSources& icons);

// The Wheel Gallery page of the main window.
GalleryBrowserPage* makeGalleryPage(const PageContext& context, double wheelSize, QWidget* parent);

} // namespace rondelix
