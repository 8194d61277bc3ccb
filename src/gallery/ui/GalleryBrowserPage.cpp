#include "gallery/ui/GalleryBrowserPage.h"

#include "gallery/DesktopKeystrokes.h"
#include "gallery/WorkshopLayout.h"
#include "gallery/ui/AddWheelSheet.h"
#include "gallery/ui/GalleryRowList.h"
#include "gallery/ui/GalleryToastView.h"
#include "icons/ui/SymbolFont.h"
#include "model/SystemColors.h"
#include "platform/CurrentDesktop.h"
#include "qtshared/FadingPicture.h"
#include "qtshared/ProminentButton.h"
#include "qtshared/QtColor.h"
#include "qtshared/SeeThroughScrollArea.h"
#include "qtshared/TabScrollArea.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <set>

namespace rondelix {

namespace {

constexpr int leftPaneWidth = 450;
constexpr int categoryColumnWidth = 150;
constexpr int wheelColumnWidth = 298;
constexpr int headerHeight = 112;

QFrame* divider(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    // One pixel, so that the columns beside it add up to the pane's width.
    if (shape == QFrame::VLine)
        line->setFixedWidth(1);
    else
        line->setFixedHeight(1);
    return line;
}

QFont withWeight(QFont font, QFont::Weight weight, double scale = 1.0) {
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    return font;
}

constexpr int previewFadeMs = 220;

// The round backdrop the preview wheel sits on: the control colour, or where
// the window shows glass a clear glass disc that lets the window's backdrop
// (the desktop, under a compositor) show through, its rim catching the light.
// It asks at each paint, so a compositor or high contrast coming and going
// (which repaints the window) changes it too.
class StageSquare : public QWidget {
  public:
    StageSquare(std::function<bool()> glass, QWidget* parent) : QWidget(parent), glass_(std::move(glass)) {}

    // As large as the wheel it holds, which its maximum follows.
    QSize sizeHint() const override { return maximumSize(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QColor fill = palette().color(QPalette::Base);
        if (!glass_()) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(fill);
            painter.drawEllipse(disc);
            return;
        }
        fill.setAlphaF(0.28f);
        painter.setBrush(fill);
        painter.setPen(QPen(QColor(255, 255, 255, 140), 1));
        painter.drawEllipse(disc);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 28), 1));
        painter.drawEllipse(disc.adjusted(1, 1, -1, -1));
    }

  private:
    std::function<bool()> glass_;
};

// The ring around the stage while its wheel has the keyboard focus, drawn
// over the wheel's rim.
class StageFocusRing : public QWidget {
  public:
    explicit StageFocusRing(QWidget* stage) : QWidget(stage) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(accentMark(palette()), 2));
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

// The wheel shown so far, laid over the stage and fading out as the next
// selection's wheel takes its place beneath it. A picture still fading from
// an earlier switch is part of the new one, at the opacity it has reached, so
// one picture fades at a time however fast the selection changes.
void fadeOutPreview(QWidget& square) {
    const qreal ratio = square.devicePixelRatioF();
    QPixmap picture(square.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    square.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    delete square.findChild<FadingPicture*>(QStringLiteral("leavingPreview"), Qt::FindDirectChildrenOnly);
    auto* leaving = new FadingPicture(picture, square);
    leaving->setObjectName("leavingPreview");
    leaving->fadeOut(previewFadeMs, QEasingCurve::InOutQuad);
}

// The page's main button, filled in the accent with its symbol in its title's colour.
void fillWithAccent(QPushButton& add, const Color& accent) {
    makeProminent(add, accent);
    add.setIcon(QIcon(SymbolFont::pixmap("plus", 16, toQColor(contrastingForeground(accent)))));
}

QScrollArea* column(QWidget* content, int width, QWidget* parent) {
    auto* scroll = new TabScrollArea(parent);
    scroll->setWidget(content);
    makeSeeThrough(*scroll);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFixedWidth(width);
    // The list inside is the one stop for the keyboard.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return scroll;
}

} // namespace

GalleryBrowserPage::GalleryBrowserPage(Services services, double wheelSize, QWidget* parent)
    : WorkshopPane(parent), services_(std::move(services)),
      model_(services_.gallery, services_.queue, services_.background, services_.workspace),
      wheelSize_(wheelSize) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* left = new QWidget(this);
    left->setFixedWidth(leftPaneWidth);
    buildLeftPane(left);
    auto* stage = new QWidget(this);
    buildStage(stage);
    row->addWidget(left);
    row->addWidget(divider(QFrame::VLine, this));
    row->addWidget(stage, 1);

    toastView_ = new GalleryToastView(
        model_, services_.reduceMotion, [this] { return accent(); }, this);
    model_.toast().changed.connect([this] { toastView_->refresh(); });
    model_.changed.connect([this] {
        refresh();
        syncSheet();
    });
    configConnection_ = services_.configChanged.connectScoped([this] { refresh(); });
    refresh();
}

GalleryBrowserPage::~GalleryBrowserPage() {
    delete sheet_;
}

void GalleryBrowserPage::buildLeftPane(QWidget* pane) {
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* searchBox = new QFrame(pane);
    searchBox->setObjectName("gallerySearch");
    searchBox->setStyleSheet("#gallerySearch { background: palette(alternate-base); border-radius: 7px; }");
    auto* searchRow = new QHBoxLayout(searchBox);
    searchRow->setContentsMargins(10, 5, 10, 5);
    searchRow->setSpacing(8);
    auto* glass = new QLabel(searchBox);
    glass->setPixmap(SymbolFont::pixmap("magnifyingglass", 14, palette().color(QPalette::PlaceholderText)));
    search_ = new QLineEdit(searchBox);
    search_->setPlaceholderText(tr("Search wheels"));
    search_->setAccessibleName(tr("Search wheels"));
    search_->setFrame(false);
    search_->setStyleSheet("background: transparent;");
    clear_ = new QToolButton(searchBox);
    clear_->setIcon(
        QIcon(SymbolFont::pixmap("xmark.circle.fill", 14, palette().color(QPalette::PlaceholderText))));
    clear_->setAutoRaise(true);
    // Its room is kept while it is hidden: it appearing moves nothing.
    QSizePolicy keepsRoom = clear_->sizePolicy();
    keepsRoom.setRetainSizeWhenHidden(true);
    clear_->setSizePolicy(keepsRoom);
    clear_->setToolTip(tr("Clear search"));
    clear_->setAccessibleName(tr("Clear search"));
    searchRow->addWidget(glass);
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(clear_);
    auto* searchHolder = new QVBoxLayout;
    searchHolder->setContentsMargins(10, 10, 10, 10);
    searchHolder->addWidget(searchBox);
    layout->addLayout(searchHolder);
    layout->addWidget(divider(QFrame::HLine, pane));

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.state().setSearchText(text.toStdString());
        refresh();
    });
    connect(clear_, &QToolButton::clicked, this, [this] { search_->clear(); });

    categoryColumn_ = new GalleryRowList(tr("Categories"), pane);
    QVBoxLayout* categories = categoryColumn_->rows();
    categories->setContentsMargins(10, 10, 10, 10);
    categories->setSpacing(4);
    for (GalleryWheel::Category category : WheelGallery::categories()) {
        auto* row = new GalleryListRow(QString::fromUtf8(GalleryWheel::rawValue(category)), categoryColumn_);
        categoryColumn_->adopt(row);
        connect(row, &QAbstractButton::clicked, this, [this, category] {
            const QSignalBlocker quiet(search_);
            search_->clear();
            model_.state().chooseCategory(category);
            refresh();
        });
        categoryRows_[category] = row;
        categories->addWidget(row);
    }
    categories->addStretch(1);

    wheelColumn_ = new GalleryRowList(tr("Wheels"), pane);
    wheelRows_ = wheelColumn_->rows();
    wheelRows_->setContentsMargins(10, 10, 10, 10);
    wheelRows_->setSpacing(4);
    noWheels_ = new QLabel(tr("No wheels match"), wheelColumn_);
    noWheels_->setAlignment(Qt::AlignHCenter);
    noWheels_->setForegroundRole(QPalette::PlaceholderText);
    noWheels_->setContentsMargins(0, 24, 0, 0);
    for (const GalleryWheel& gallery : WheelGallery::all()) {
        auto* row = new GalleryListRow(QString::fromStdString(gallery.wheel.name), wheelColumn_);
        row->setSubtitle(
            QString::fromStdString(GalleryBrowserState::actionCount(gallery, platform::currentDesktop())));
        row->hide();
        wheelColumn_->adopt(row);
        const std::string id = gallery.id;
        connect(row, &QAbstractButton::clicked, this, [this, id] {
            model_.state().chooseWheel(id);
            refresh();
        });
        rowsById_[gallery.id] = row;
    }

    auto* lists = new QHBoxLayout;
    lists->setSpacing(0);
    QScrollArea* categoryScroll = column(categoryColumn_, categoryColumnWidth, pane);
    categoryScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // six rows always fit
    lists->addWidget(categoryScroll);
    lists->addWidget(divider(QFrame::VLine, pane));
    lists->addWidget(column(wheelColumn_, wheelColumnWidth, pane));
    layout->addLayout(lists, 1);
}

void GalleryBrowserPage::buildStage(QWidget* stage) {
    auto* layout = new QVBoxLayout(stage);
    layout->setContentsMargins(0, 14, 0, 0);
    layout->setSpacing(0);

    header_ = new QWidget(stage);
    header_->setFixedHeight(headerHeight);
    auto* header = new QVBoxLayout(header_);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    auto* hint = new QLabel(tr("Click a slice to preview what it does."), header_);
    hint->setFont(withWeight(hint->font(), QFont::Normal, 0.85));
    hint->setForegroundRole(QPalette::PlaceholderText);
    add_ = new QPushButton(tr("Add to My Wheels"), header_);
    add_->setFont(withWeight(add_->font(), QFont::DemiBold));
    fillWithAccent(*add_, services_.accent());
    add_->setMinimumHeight(32);
    add_->setCursor(Qt::PointingHandCursor);
    summary_ = new QLabel(header_);
    summary_->setWordWrap(true);
    summary_->setFixedWidth(360);
    summary_->setMinimumHeight(2 * summary_->fontMetrics().lineSpacing());
    summary_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    summary_->setForegroundRole(QPalette::PlaceholderText);
    summary_->setTextFormat(Qt::PlainText);
    header->addWidget(hint, 0, Qt::AlignHCenter);
    header->addWidget(add_, 0, Qt::AlignHCenter);
    header->addWidget(summary_, 0, Qt::AlignHCenter);
    header->addStretch(1);
    layout->addWidget(header_);
    connect(add_, &QPushButton::clicked, this, [this] { model_.openSheet(); });

    square_ = new StageSquare(services_.glass, stage);
    // The wheel follows the page's size, so the page needs room for the
    // smallest wheel only.
    const int smallest = static_cast<int>(WorkshopLayout::minimumWheelSize);
    square_->setMinimumSize(smallest, smallest);
    square_->setMaximumSize(static_cast<int>(wheelSize_), static_cast<int>(wheelSize_));
    auto* squareLayout = new QVBoxLayout(square_);
    squareLayout->setContentsMargins(0, 0, 0, 0);
    noMatch_ = new QLabel(tr("No match"), square_);
    noMatch_->setAlignment(Qt::AlignCenter);
    noMatch_->setForegroundRole(QPalette::PlaceholderText);
    squareLayout->addWidget(noMatch_);
    layout->addStretch(1);
    layout->addWidget(square_, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

void GalleryBrowserPage::setWheelSize(double side) {
    if (side == wheelSize_) return;
    wheelSize_ = side;
    square_->setMaximumSize(static_cast<int>(side), static_cast<int>(side));
    previewedId_.clear();
    refreshStage();
}

GalleryListRow* GalleryBrowserPage::categoryButton(GalleryWheel::Category category) const {
    const auto found = categoryRows_.find(category);
    return found == categoryRows_.end() ? nullptr : found->second;
}

GalleryListRow* GalleryBrowserPage::wheelButton(const std::string& galleryId) const {
    const auto found = rowsById_.find(galleryId);
    return found == rowsById_.end() || found->second->isHidden() ? nullptr : found->second;
}

void GalleryBrowserPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (detected_) return;
    detected_ = true;
    model_.detectInstalled();
}

QColor GalleryBrowserPage::accent() const {
    return toQColor(services_.accent());
}

void GalleryBrowserPage::refresh() {
    square_->update();
    refreshCategories();
    refreshWheels();
    refreshStage();
    clear_->setVisible(!search_->text().isEmpty());
}

void GalleryBrowserPage::refreshCategories() {
    const QColor tint = accent();
    for (const auto& [category, row] : categoryRows_)
        row->setSelected(category == model_.state().selectedCategory(), tint);
    categoryColumn_->selectionChanged();
}

void GalleryBrowserPage::refreshWheels() {
    const auto& state = model_.state();
    const auto listed = state.displayedWheels();
    while (QLayoutItem* item = wheelRows_->takeAt(0))
        delete item;
    std::set<GalleryListRow*> shown;
    const QColor tint = accent();
    const QPixmap installedBadge = SymbolFont::pixmap(
        "checkmark.circle.fill", 12, readableText(SystemColors::green, palette().color(QPalette::Window)));
    const QPixmap missingBadge = SymbolFont::pixmap("circle", 12, palette().color(QPalette::PlaceholderText));
    noWheels_->setVisible(state.isSearching() && listed.empty());
    wheelRows_->addWidget(noWheels_);
    for (const GalleryWheel* gallery : listed) {
        GalleryListRow* row = rowsById_.at(gallery->id);
        row->setSelected(gallery->id == state.selectedId(), tint);
        if (GalleryBrowserState::isAppWheel(*gallery)) {
            const bool installed = state.isInstalled(*gallery);
            row->setBadge(installed ? installedBadge : missingBadge,
                          installed ? tr("Installed") : tr("Not installed"));
            row->setFaded(!installed);
        }
        wheelRows_->addWidget(row);
        row->show();
        shown.insert(row);
    }
    wheelRows_->addStretch(1);
    for (const auto& [id, row] : rowsById_)
        if (!shown.count(row)) row->hide();
    // Rows change places: lay them out now rather than on the next pass.
    wheelRows_->activate();
    wheelColumn_->selectionChanged();
}

void GalleryBrowserPage::refreshStage() {
    const GalleryWheel* selected = model_.state().selected();
    header_->setVisible(selected != nullptr);
    if (selected) summary_->setText(QString::fromStdString(selected->summary));
    const std::string shownId = selected ? selected->id : std::string();
    // A new accent draws the wheel shown again, at once.
    const Color tint = services_.accent();
    if (shownId == previewedId_ && tint == previewedAccent_) return;
    if (shownId != previewedId_) aimed_.reset();
    // A new selection replaces the wheel on the stage with a fade.
    if (shownId != previewedId_ && !previewedId_.empty() && isVisible()) fadeOutPreview(*square_);
    previewedId_ = shownId;
    if (tint != previewedAccent_) fillWithAccent(*add_, tint);
    previewedAccent_ = tint;
    noMatch_->setVisible(!selected);
    if (preview_.widget) preview_.widget->setVisible(selected != nullptr);
    if (!selected || !services_.preview) return;
    showPreview();
    preview_.widget->setAccessibleName(QString::fromStdString(selected->wheel.name) + tr(" preview"));
    preview_.widget->setAccessibleDescription(tr("Add to My Wheels to review each action in detail."));
}

void GalleryBrowserPage::showPreview() {
    WheelPreviewSpec spec{
        *model_.previewWheel(), wheelSize_, [this](int position) { model_.trySlice(position); }, true, true,
        std::nullopt,           aimed_};
    if (preview_.widget) {
        preview_.show(std::move(spec));
    } else {
        preview_ = services_.preview(std::move(spec), square_);
        square_->layout()->addWidget(preview_.widget);
        preview_.widget->show();
        preview_.widget->setFocusPolicy(Qt::StrongFocus);
        preview_.widget->installEventFilter(this);
        focusRing_ = new StageFocusRing(square_);
    }
    focusRing_->setGeometry(square_->rect());
}

bool GalleryBrowserPage::eventFilter(QObject* watched, QEvent* event) {
    if (!preview_.widget || watched != preview_.widget) return WorkshopPane::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        focusRing_->show();
        focusRing_->raise();
        break;
    case QEvent::FocusOut:
        focusRing_->hide();
        if (aimed_) {
            aimed_.reset();
            showPreview();
        }
        break;
    case QEvent::KeyPress:
        return aimKey(*static_cast<QKeyEvent*>(event));
    default:
        break;
    }
    return false;
}

// With the focus on the stage's wheel, Right and Down aim at the next slot
// clockwise, Left and Up at the one before, and Return or Space tries the
// slice aimed at, as a click on it would.
bool GalleryBrowserPage::aimKey(const QKeyEvent& key) {
    const auto wheel = model_.previewWheel();
    if (!wheel || wheel->sliceCount <= 0 || (key.modifiers() & ~Qt::KeypadModifier)) return false;
    int step = 0;
    switch (key.key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        step = 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (aimed_) model_.trySlice(*aimed_);
        return true;
    default:
        return false;
    }
    const int count = wheel->sliceCount;
    aimed_ = aimed_ ? ((*aimed_ + step) % count + count) % count : (step > 0 ? 0 : count - 1);
    showPreview();
    return true;
}

void GalleryBrowserPage::syncSheet() {
    const GalleryWheel* wanted = model_.sheetWheel();
    if (!wanted) {
        if (sheet_) sheet_->accept();
        return;
    }
    if (sheet_) return;
    std::optional<double> visibleHeight;
    if (const QScreen* screen = this->screen()) visibleHeight = screen->availableGeometry().height();
    const GalleryWheel& gallery = *wanted;
    sheet_ = new AddWheelSheet(
        gallery, *model_.previewWheel(), visibleHeight, services_.workspace,
        services_.gallery.systemActionUnavailable, services_.preview,
        [this, &gallery] { model_.addWheel(gallery); }, window());
    makeProminent(*sheet_->addButton(), services_.accent());
    sheet_->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet_, &QDialog::finished, this, [this] { model_.closeSheet(); });
    sheet_->open();
}

} // namespace rondelix
