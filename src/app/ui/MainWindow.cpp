#include "app/ui/MainWindow.h"

#include "app/AppCoordinator.h"
#include "app/SidebarRow.h"
#include "app/ui/MainPages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int tabRole = Qt::UserRole + 1;

bool inWheelsGroup(MainTab tab) {
    return tab == MainTab::wheels || tab == MainTab::gallery;
}

} // namespace

MainWindow::MainWindow(AppCoordinator& coordinator) : coordinator_(coordinator) {
    setWindowTitle("Rondelix");
    setObjectName("mainWindow");

    auto* menuBar = new QMenuBar(this);
    QMenu* appMenu = menuBar->addMenu("Rondelix");
    appMenu->addAction("About Rondelix", this, [this] { coordinator_.showMain(MainTab::about); });
    QAction* check = appMenu->addAction("Check for Updates…", this,
                                        [this] { coordinator_.updater().updater().checkForUpdates(); });
    connect(appMenu, &QMenu::aboutToShow, check,
            [this, check] { check->setEnabled(coordinator_.updater().canStandardCheck()); });
    appMenu->addAction("Settings…", QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                       [this] { coordinator_.showMain(MainTab::appearance); });
    appMenu->addAction("Rondelix Help", this, [this] { coordinator_.showMain(MainTab::about); });

    sidebar_ = new QListWidget(this);
    sidebar_->setObjectName("sidebar");
    sidebar_->setFixedWidth(220);
    pageTitle_ = new QLabel(this);
    pageTitle_->setObjectName("pageTitle");
    pageTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageTitle_->setMargin(24);
    QFont titleFont = pageTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    pageTitle_->setFont(titleFont);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("pages");
    pages_->addWidget(pageTitle_);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(sidebar_);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addLayout(body);

    connect(sidebar_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (rebuilding_ || !item || !item->data(tabRole).isValid()) return;
        coordinator_.setMainTab(static_cast<MainTab>(item->data(tabRole).toInt()));
    });
    connection_ = coordinator_.changed.connect([this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::devMenuUnlocked) rebuildSidebar();
        if (property == AppCoordinator::Property::mainTab) {
            showPage();
            fitToPageGroup();
        }
    });

    rebuildSidebar();
    shownGroupIsWheels_ = !inWheelsGroup(coordinator_.mainTab());
    fitToPageGroup();
}

MainWindow::~MainWindow() {
    coordinator_.changed.disconnect(connection_);
}

void MainWindow::rebuildSidebar() {
    rebuilding_ = true;
    sidebar_->clear();
    std::optional<std::string> section;
    for (const SidebarRow& row : sidebarRows(coordinator_.devMenuUnlocked())) {
        if (row.section && row.section != section) {
            auto* heading = new QListWidgetItem(QString::fromStdString(*row.section), sidebar_);
            heading->setFlags(Qt::NoItemFlags);
            section = row.section;
        }
        auto* item = new QListWidgetItem(QString::fromStdString(row.label), sidebar_);
        item->setData(tabRole, static_cast<int>(row.tab));
    }
    rebuilding_ = false;
    showPage();
}

void MainWindow::showPage() {
    for (int i = 0; i < sidebar_->count(); ++i) {
        QListWidgetItem* item = sidebar_->item(i);
        if (item->data(tabRole).isValid() &&
            item->data(tabRole).toInt() == static_cast<int>(coordinator_.mainTab())) {
            rebuilding_ = true;
            sidebar_->setCurrentItem(item);
            rebuilding_ = false;
            pageTitle_->setText(item->text());
            showPageWidget(coordinator_.mainTab());
            return;
        }
    }
}

// The page of a tab is made on entry; the one shown before is dropped.
void MainWindow::showPageWidget(MainTab tab) {
    if (page_) {
        pages_->removeWidget(page_);
        page_->deleteLater();
        page_ = nullptr;
    }
    if (const PageFactory make = pageFactory(tab)) {
        page_ = make(coordinator_, pages_);
        pages_->addWidget(page_);
        pages_->setCurrentWidget(page_);
    } else {
        pages_->setCurrentWidget(pageTitle_);
    }
}

void MainWindow::fitToPageGroup() {
    if (isFullScreen() || isMinimized()) return;
    const bool wheels = inWheelsGroup(coordinator_.mainTab());
    if (wheels == shownGroupIsWheels_) return;
    shownGroupIsWheels_ = wheels;
    setMinimumSize(wheels ? QSize(1080, 600) : QSize(480, 440));
    resize(wheels ? 1440 : 880, 800);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onUserClose) onUserClose();
}

} // namespace rondelix
