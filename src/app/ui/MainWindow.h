#pragma once

#include "catalog/MainTab.h"

#include <QWidget>
#include <cstddef>
#include <functional>

class QLabel;
class QListWidget;
class QStackedWidget;

namespace rondelix {

class AppCoordinator;

// The main window: the sidebar of pages and the page area. The page shown is
// the coordinator's; choosing a row writes it there.
class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(AppCoordinator& coordinator);
    ~MainWindow() override;

    // The user closed the window; it is hidden, not destroyed.
    std::function<void()> onUserClose;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void rebuildSidebar();
    void showPage();
    void fitToPageGroup();
    void showPageWidget(MainTab tab);

    AppCoordinator& coordinator_;
    QListWidget* sidebar_;
    QLabel* pageTitle_;
    QStackedWidget* pages_;
    QWidget* page_ = nullptr;
    std::size_t connection_ = 0;
    bool rebuilding_ = false;
    bool shownGroupIsWheels_ = true;
};

} // namespace rondelix
