#pragma once

#include "gallery/GalleryServices.h"
#include "gallery/ui/WheelPreviewFactory.h"

class QWidget;

namespace rondelix {

class AppCoordinator;
class ConfigStore;

// The coordinator's services as the gallery sees them.
GalleryServices galleryServices(AppCoordinator& coordinator);

// The wheel drawing the gallery shows, in the configured accent.
WheelPreviewFactory wheelPreviewFactory(ConfigStore& store);

// The Wheel Gallery page of the main window.
QWidget* makeGalleryPage(AppCoordinator& coordinator, double wheelSize, QWidget* parent);

} // namespace rondelix
