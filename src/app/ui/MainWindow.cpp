#include "app/ui/MainWindow.h"

#include "app/AppCoordinator.h"
#include "app/ui/ReadOnlyNotice.h"
#include "app/ui/SidebarFooter.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "icons/ui/SymbolFont.h"
#include "model/WheelState.h"
#include "qtshared/QtColor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcutEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace rondelix {

namespace {

constexpr int tabRole = Qt::UserRole + 1;
// How long the window must keep its size before a resize counts as done.
constexpr int resizeSettleMs = 400;
constexpr int resizeAnimationMs = 320;

QPixmap symbolPixmap(std::string_view symbol, const QColor& colour) {
    QPixmap pixmap(QSize(20, 20) * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    SymbolFont::paint(painter, symbol, QRectF(0, 0, 20, 20), 15, colour);
    return pixmap;
}

// In the accent, deepened until it stands out from the window (a yellow
// would vanish on a light one); the selected row's symbol is tinted like its
// text, so that it stays legible on the selection.
QIcon symbolIcon(std::string_view symbol, const QPalette& palette) {
    QIcon icon(symbolPixmap(symbol, accentMark(palette)));
    icon.addPixmap(symbolPixmap(symbol, palette.color(QPalette::HighlightedText)), QIcon::Selected);
    return icon;
}

// Qt's menu bar takes a release of Alt or Super, with no other key pressed
// since Alt went down, for a tap that moves the focus into the menus. A summon
// chord like Alt and Super is no such tap: a shortcut event going through the
// application tells the menu bar that the keys were used.
void endMenuBarAltTap() {
    QObject receiver;
    QShortcutEvent used(QKeySequence(), 0);
    QCoreApplication::sendEvent(&receiver, &used);
}

// The edit commands go to the focused widget, or the nearest of its parents
// that knows them, as a text field's own context menu would send them.
void sendToFocus(const char* slot) {
    const QByteArray signature = QByteArray(slot) + "()";
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w->metaObject()->indexOfMethod(signature.constData()) >= 0) {
            QMetaObject::invokeMethod(w, slot);
            return;
        }
        if (w->isWindow()) return;
    }
}

QSize toQSize(ContentSize size) {
    return {static_cast<int>(std::lround(size.width)), static_cast<int>(std::lround(size.height))};
}

} // namespace

MainWindow::MainWindow(PageContext context, GlassBackdrop::Environment backdrop, std::vector<MainPage> pages,
                       WorkshopFactory workshop)
    : context_(context), coordinator_(context.coordinator), pageRows_(std::move(pages)),
      makeWorkshop_(std::move(workshop)), backdrop_(*this, std::move(backdrop)),
      poll_(coordinator_.platform().queue, coordinator_.permissions(),
            [this] { coordinator_.nudgeListenTap(); }),
      menuBar_(new QMenuBar(this)), resizeAnimation_(new QPropertyAnimation(this, "geometry", this)),
      resizeSettled_(new QTimer(this)) {
    setWindowTitle("Rondelix");
    setObjectName("mainWindow");
    buildMenus();
    // The window's backdrop shows through the menu bar too; its menus, windows
    // of their own, keep their colours.
    QPalette clearBar = menuBar_->palette();
    clearBar.setColor(QPalette::Window, Qt::transparent);
    menuBar_->setPalette(clearBar);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("pages");
    pages_->setMinimumWidth(320);

    auto* pageColumn = new QWidget(this);
    readOnlyNotice_ = new ReadOnlyNotice(coordinator_.configStore(), pageColumn);
    auto* pageLayout = new QVBoxLayout(pageColumn);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(readOnlyNotice_);
    pageLayout->addWidget(pages_, 1);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setChildrenCollapsible(false);
    sidebarColumn_ = buildSidebarColumn();
    split_->addWidget(sidebarColumn_);
    split_->addWidget(pageColumn);
    split_->setStretchFactor(1, 1);
    split_->setSizes({220, 1000});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(split_);

    resizeAnimation_->setDuration(resizeAnimationMs);
    resizeAnimation_->setEasingCurve(QEasingCurve::InOutQuad);
    resizeSettled_->setSingleShot(true);
    resizeSettled_->setInterval(resizeSettleMs);
    connect(resizeSettled_, &QTimer::timeout, this, [this] {
        if (resizeAnimation_->state() == QAbstractAnimation::Running || size() == programSize_) return;
        if (isFullScreen() || isMaximized() || isMinimized()) return;
        if (onUserResize) onUserResize({static_cast<double>(width()), static_cast<double>(height())});
    });

    connect(sidebar_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (rebuilding_ || !item || !item->data(tabRole).isValid()) return;
        coordinator_.setMainTab(static_cast<MainTab>(item->data(tabRole).toInt()));
    });
    connection_ = coordinator_.changed.connectScoped([this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::devMenuUnlocked) rebuildSidebar();
        if (property == AppCoordinator::Property::mainTab) {
            showPage();
            coordinator_.resizeMainWindow(coordinator_.mainTab(), true);
        }
    });

    wheelConnection_ = coordinator_.wheelState().changed.connectScoped([this](WheelState::Property property) {
        if (property == WheelState::Property::isVisible && coordinator_.wheelState().isVisible())
            endMenuBarAltTap();
    });

    rebuildSidebar();
    sidebar_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    QMenu* appMenu = menuBar_->addMenu("&Rondelix");
    appMenu->addAction("&About Rondelix", this, [this] { coordinator_.showMain(MainTab::about); });
    appMenu->addAction("&Settings…", QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                       [this] { coordinator_.showMain(MainTab::appearance); });
    // As the tray menu offers it, whose menu opens only with a click: here
    // the keyboard reaches it, and so does a desktop with no tray.
    appMenu->addAction("Setup &Guide…", this,
                       [this] { coordinator_.showOnboarding(OnboardingStep::welcome); });
    appMenu->addAction("Rondelix &Help", this, [this] { coordinator_.showMain(MainTab::about); });
    appMenu->addSeparator();
    // Desktops without a tray have no other way out.
    appMenu->addAction("&Quit Rondelix", QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                       [] { QCoreApplication::quit(); });

    auto* closeWindow = new QAction(this);
    closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);
}

void MainWindow::installEditMenuIfNeeded(QMenuBar& menuBar) {
    for (const QAction* action : menuBar.actions())
        if (action->menu() && action->menu()->title() == "&Edit") return;
    auto* edit = new QMenu("&Edit", &menuBar);
    const auto item = [edit](const char* title, QKeySequence keys, const char* slot) {
        edit->addAction(title, keys, edit, [slot] { sendToFocus(slot); });
    };
    item("&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), "undo");
    item("&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), "redo");
    edit->addSeparator();
    item("Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), "cut");
    item("&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), "copy");
    item("&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), "paste");
    item("Select &All", QKeySequence(Qt::CTRL | Qt::Key_A), "selectAll");
    const auto actions = menuBar.actions();
    if (actions.size() >= 2)
        menuBar.insertMenu(actions[1], edit);
    else
        menuBar.addMenu(edit);
}

QWidget* MainWindow::buildSidebarColumn() {
    auto* column = new QWidget(this);
    column->setObjectName("sidebarColumn");
    column->setMinimumWidth(200);
    column->setMaximumWidth(280);
    sidebar_ = new QListWidget(column);
    sidebar_->setObjectName("sidebar");
    sidebar_->setAccessibleName("Sidebar");
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(20, 20));
    // The window's backdrop shows through the list.
    QPalette clear = sidebar_->palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    sidebar_->setPalette(clear);
    footer_ = new SidebarFooter(coordinator_, column);
    keepsRunningNote_ = new QLabel("Rondelix keeps running when you close this window: hold your summon keys "
                                   "to open a wheel; start Rondelix again to come back here.",
                                   column);
    keepsRunningNote_->setObjectName("keepsRunningNote");
    keepsRunningNote_->setWordWrap(true);
    keepsRunningNote_->setContentsMargins(12, 8, 12, 4);
    keepsRunningNote_->setForegroundRole(QPalette::PlaceholderText);
    QFont small = keepsRunningNote_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    keepsRunningNote_->setFont(small);
    keepsRunningNote_->hide();

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sidebar_, 1);
    layout->addWidget(keepsRunningNote_);
    layout->addWidget(footer_);
    column->resize(220, column->height());
    return column;
}

void MainWindow::rebuildSidebar() {
    rebuilding_ = true;
    sidebar_->clear();
    bool settingsHeading = false;
    for (const MainPage& page : pageRows_) {
        if (page.developerOnly && !coordinator_.devMenuUnlocked()) continue;
        if (pageGroup(page.tab) == PageGroup::settings && !settingsHeading) {
            auto* heading = new QListWidgetItem("Settings", sidebar_);
            heading->setFlags(Qt::NoItemFlags);
            // In the secondary colour rather than the faint one of a disabled row.
            heading->setForeground(palette().color(QPalette::PlaceholderText));
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            settingsHeading = true;
        }
        auto* item = new QListWidgetItem(symbolIcon(page.symbol, palette()), page.title, sidebar_);
        item->setData(tabRole, static_cast<int>(page.tab));
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
            showPageWidget(coordinator_.mainTab());
            return;
        }
    }
}

void MainWindow::showKeepsRunningNote(bool shown) {
    keepsRunningNote_->setVisible(shown);
}

QWidget* MainWindow::currentPage() const {
    return pages_->currentWidget();
}

void MainWindow::dropTransientPage() {
    if (!transientPage_) return;
    pages_->removeWidget(transientPage_);
    transientPage_->deleteLater();
    transientPage_ = nullptr;
}

void MainWindow::showPageWidget(MainTab tab) {
    // Every page but About changes the configuration.
    readOnlyNotice_->setPageEdits(tab != MainTab::about);
    // Showing the page already shown (the sidebar rebuilt under it) keeps
    // it as it is.
    if (transientPage_ && transientTab_ == tab) {
        pages_->setCurrentWidget(transientPage_);
        return;
    }
    dropTransientPage();
    if (pageGroup(tab) == PageGroup::wheels) {
        showWorkshop(tab == MainTab::gallery);
        return;
    }
    const auto row = std::find_if(pageRows_.begin(), pageRows_.end(),
                                  [tab](const MainPage& page) { return page.tab == tab; });
    if (row == pageRows_.end() || !row->make) return;
    transientPage_ = row->make(context_, pages_);
    transientTab_ = tab;
    pages_->addWidget(transientPage_);
    pages_->setCurrentWidget(transientPage_);
}

void MainWindow::showWorkshop(bool gallery) {
    if (!workshop_) {
        workshop_ = makeWorkshop_(context_, gallery, pages_);
        pages_->addWidget(workshop_);
    }
    pages_->setCurrentWidget(workshop_);
    workshop_->showGallery(gallery);
}

ContentSize MainWindow::room() const {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown) return {};
    const QSize framed = frameGeometry().size() - geometry().size();
    const QSize frame = framed.isNull() ? QSize(0, 0).grownBy(expectedFrame_) : framed;
    const QSize available = shown->availableGeometry().size() - frame;
    return {static_cast<double>(available.width()), static_cast<double>(available.height())};
}

// What the window needs to show the page whole beside the sidebar: the
// page's own minimum, or for a page that scrolls, its content's width and the
// scroll bar's.
QSize MainWindow::pageNeeds() const {
    QWidget* page = pages_->currentWidget();
    if (!page) return {};
    // A page not shown yet may still hold the sizes its rows had before
    // they were filled in.
    for (QWidget* part : page->findChildren<QWidget*>())
        part->updateGeometry();
    for (QLayout* layout : page->findChildren<QLayout*>())
        layout->invalidate();
    QSize needed = page->minimumSizeHint().expandedTo(page->minimumSize());
    if (const auto* scroll = qobject_cast<const QScrollArea*>(page); scroll && scroll->widget())
        needed.setWidth(scroll->widget()->minimumSizeHint().width() +
                        scroll->verticalScrollBar()->sizeHint().width() + 2 * scroll->frameWidth());
    return needed;
}

ContentSize MainWindow::smallestContent(ContentSize groupMinimum) {
    const QSize page = pageNeeds();
    const ContentSize smallest{
        std::max(groupMinimum.width, static_cast<double>(narrowestSidebar() + page.width())),
        std::max(groupMinimum.height, static_cast<double>(menuBar_->sizeHint().height() + page.height()))};
    keepPageRoom(smallest.width);
    return smallest;
}

int MainWindow::narrowestSidebar() const {
    return sidebarColumn_->minimumWidth() + split_->handleWidth();
}

// At the window's smallest the sidebar is at its narrowest, and dragging it
// wider takes nothing from the page.
void MainWindow::keepPageRoom(double windowWidth) {
    pages_->setMinimumWidth(std::max(0, static_cast<int>(std::lround(windowWidth)) - narrowestSidebar()));
}

void MainWindow::fitContent(ContentSize size, ContentSize minimum, bool animated) {
    minimum = smallestContent(minimum);
    size = {std::max(size.width, minimum.width), std::max(size.height, minimum.height)};
    const FittedSize fitted = fitToRoom(size, minimum, room());
    keepPageRoom(fitted.minimum.width);
    const QSize target = toQSize(fitted.size);
    programSize_ = target;
    resizeAnimation_->stop();
    setMinimumSize(toQSize(fitted.minimum));
    if (target == this->size()) return;
    const QRect placed(onScreenAt(target), target);
    if (animated && isVisible()) {
        resizeAnimation_->setStartValue(geometry());
        resizeAnimation_->setEndValue(placed);
        resizeAnimation_->start();
    } else if (placed.topLeft() != geometry().topLeft()) {
        setGeometry(placed);
    } else {
        resize(target);
    }
}

// Where the window's corner goes for its frame to stay on the screen at this
// size: a window that grows past the screen's right or bottom edge moves back
// by as much, though never past the left or top edge; a window placed past
// those edges by its user stays where it is.
QPoint MainWindow::onScreenAt(QSize size) const {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect client = geometry();
    if (!shown) return client.topLeft();
    const QRect framed = frameGeometry();
    const QRect after = framed.size() != client.size()
                            ? QRect(framed.topLeft(), size + framed.size() - client.size())
                            : QRect(client.topLeft(), size).marginsAdded(expectedFrame_);
    const QRect available = shown->availableGeometry();
    const int dx = std::min(0, std::max(available.right() - after.right(), available.left() - after.left()));
    const int dy = std::min(0, std::max(available.bottom() - after.bottom(), available.top() - after.top()));
    return client.topLeft() + QPoint(dx, dy);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onUserClose) onUserClose();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    backdrop_.paint(painter);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) resizeSettled_->start();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    backdrop_.windowShown();
    if (!event->spontaneous()) poll_.start();
}

void MainWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) poll_.stop();
}

// The sidebar's heading and symbols are drawn in the palette's colours of
// the moment they were made.
void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && sidebar_) rebuildSidebar();
}

} // namespace rondelix
