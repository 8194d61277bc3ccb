#pragma once

#include "gallery/GalleryServices.h"
#include "gallery/ui/WheelPreviewFactory.h"

#include <functional>

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

// The one page My Wheels and the Wheel Gallery share: the first call makes
// it, later calls for the same coordinator hand back the same widget. It
// follows the coordinator's tab between the editor and the gallery.
QWidget* wheelWorkshop(AppCoordinator& coordinator, QWidget* parent,
                       const std::function<QWidget*(AppCoordinator&, QWidget*)>& editorPage);

} // namespace rondelix
