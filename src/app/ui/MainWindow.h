#pragma once

#include "app/WindowSizes.h"
#include "app/ui/GlassBackdrop.h"
#include "app/ui/MainPages.h"
#include "catalog/MainTab.h"
#include "engine/PermissionPoll.h"
#include "util/Signal.h"

#include <QMargins>
#include <QSize>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <vector>

class QLabel;
class QListWidget;
class QMenuBar;
class QPropertyAnimation;
class QSplitter;
class QStackedWidget;
class QTimer;

namespace rondelix {

class AppCoordinator;
class ReadOnlyNotice;
class SidebarFooter;

// The main window: the sidebar of pages with its status pill, and the page
// area. The page shown is the coordinator's; choosing a row writes it there,
// and any change of it, whoever made it, refits the window to the page.
class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    // The pages, and the workshop that shows My Wheels and the Wheel Gallery;
    // the program's own unless a test brings its own.
    using WorkshopFactory =
        std::function<WheelWorkshopPage*(const PageContext&, bool showsGallery, QWidget*)>;

    MainWindow(PageContext context, GlassBackdrop::Environment backdrop,
               std::vector<MainPage> pages = mainPages(), WorkshopFactory workshop = makeWheelWorkshop);
    ~MainWindow() override;

    // Adds the Edit menu unless the menu bar already has one; the standard
    // editing keys then reach the focused text field.
    static void installEditMenuIfNeeded(QMenuBar& menuBar);
    QMenuBar& menuBar() const { return *menuBar_; }

    // Takes the content size and minimum for the page group, each raised to
    // what the page shown needs to show whole, fitted to the screen's usable
    // area; the top-left corner stays where it is.
    void fitContent(ContentSize size, ContentSize minimum, bool animated);
    // The group's minimum raised to what the page shown needs beside the
    // sidebar, before any fitting to the screen; from now on the page keeps
    // that room when the sidebar is dragged wider.
    ContentSize smallestContent(ContentSize groupMinimum);

    // The frame the window manager will put around the window, counted while
    // the window has none yet.
    void setExpectedFrame(QMargins frame) { expectedFrame_ = frame; }

    GlassBackdrop& backdrop() { return backdrop_; }
    QListWidget& sidebar() const { return *sidebar_; }
    SidebarFooter& footer() const { return *footer_; }
    QWidget* currentPage() const;

    // Without a tray icon, closing the window is not quitting: the window says
    // so above the status pill, before the user closes it.
    void showKeepsRunningNote(bool shown);

    // The user closed the window; it is hidden, not destroyed.
    std::function<void()> onUserClose;
    // The user resized the window and has let go.
    std::function<void(ContentSize)> onUserResize;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildMenus();
    QWidget* buildSidebarColumn();
    void rebuildSidebar();
    void showPage();
    void showPageWidget(MainTab tab);
    void showWorkshop(bool gallery);
    void dropTransientPage();
    ContentSize room() const;
    QPoint onScreenAt(QSize size) const;
    QSize pageNeeds() const;
    int narrowestSidebar() const;
    void keepPageRoom(double windowWidth);

    PageContext context_;
    AppCoordinator& coordinator_;
    std::vector<MainPage> pageRows_;
    WorkshopFactory makeWorkshop_;
    GlassBackdrop backdrop_;
    PermissionPoll poll_;
    QMenuBar* menuBar_;
    QWidget* sidebarColumn_ = nullptr;
    QSplitter* split_ = nullptr;
    QListWidget* sidebar_;
    SidebarFooter* footer_;
    QLabel* keepsRunningNote_;
    ReadOnlyNotice* readOnlyNotice_;
    QStackedWidget* pages_;
    // The workshop lives as long as the window, so that moving between its
    // two pages keeps their state; every other page is made on entry.
    WheelWorkshopPage* workshop_ = nullptr;
    QWidget* transientPage_ = nullptr;
    MainTab transientTab_ = MainTab::wheels;
    QPropertyAnimation* resizeAnimation_;
    QTimer* resizeSettled_;
    // The size the program last gave the window: a resize to it is not the user's.
    QSize programSize_;
    QMargins expectedFrame_;
    ScopedConnection connection_;
    ScopedConnection wheelConnection_;
    bool rebuilding_ = false;
};

} // namespace rondelix
