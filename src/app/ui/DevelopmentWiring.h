#pragma once

class QWidget;

namespace rondelix {

class AppCoordinator;

// The About page of the main window, with the coordinator's services.
QWidget* makeAboutPage(AppCoordinator& coordinator, QWidget* parent);

// The Development page of the main window, with the coordinator's services.
QWidget* makeDevelopmentPage(AppCoordinator& coordinator, QWidget* parent);

} // namespace rondelix
