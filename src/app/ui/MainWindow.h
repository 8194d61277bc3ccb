#pragma once

#include <QWidget>
#include <cstddef>
#include <functional>

class QLabel;
class QListWidget;

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

    AppCoordinator& coordinator_;
    QListWidget* sidebar_;
    QLabel* pageTitle_;
    std::size_t connection_ = 0;
    bool rebuilding_ = false;
    bool shownGroupIsWheels_ = true;
};

} // namespace rondelix
