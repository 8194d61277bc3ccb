#include "gallery/ui/GalleryBrowserPage.h"

#include "gallery/DesktopKeystrokes.h"
#include "gallery/ui/AddWheelSheet.h"
#include "gallery/ui/GalleryToastView.h"
#include "icons/ui/SymbolFont.h"
#include "overlay/Color.h"
#include "store/ConfigStore.h"

#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int leftPaneWidth = 450;
constexpr int categoryColumnWidth = 150;
constexpr int wheelColumnWidth = 298;
constexpr int headerHeight = 112;
constexpr double notInstalledOpacity = 0.45;
constexpr const char* categoryProperty = "galleryCategory";
constexpr const char* wheelProperty = "galleryWheel";

QFrame* divider(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

QFont withWeight(QFont font, QFont::Weight weight, double scale = 1.0) {
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setWeight(weight);
    return font;
}

QColor qColor(const Color& color, double opacity = 1.0) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue), static_cast<float>(opacity));
}

// The round backdrop the preview wheel sits on.
class StageSquare : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawEllipse(rect());
    }
};

QScrollArea* column(QWidget* content, int width, QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFixedWidth(width);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return scroll;
}

} // namespace

GalleryBrowserPage::GalleryBrowserPage(Services services, double wheelSize, QWidget* parent)
    : QWidget(parent), services_(std::move(services)),
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

    toastView_ = new GalleryToastView(model_, this);
    model_.toast().changed.connect([this] { toastView_->refresh(); });
    model_.changed.connect([this] {
        refresh();
        syncSheet();
    });
    configConnection_ = services_.store.configChanged.connect([this] { refresh(); });
    refresh();
}

GalleryBrowserPage::~GalleryBrowserPage() {
    services_.store.configChanged.disconnect(configConnection_);
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
    search_->setFrame(false);
    search_->setStyleSheet("background: transparent;");
    clear_ = new QToolButton(searchBox);
    clear_->setIcon(
        QIcon(SymbolFont::pixmap("xmark.circle.fill", 14, palette().color(QPalette::PlaceholderText))));
    clear_->setAutoRaise(true);
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

    categoryColumn_ = new QWidget(pane);
    auto* categories = new QVBoxLayout(categoryColumn_);
    categories->setContentsMargins(10, 10, 10, 10);
    categories->setSpacing(4);
    for (GalleryWheel::Category category : WheelGallery::categories()) {
        // "&" would mark a mnemonic.
        auto* button = new QPushButton(QString::fromUtf8(GalleryWheel::rawValue(category)).replace("&", "&&"),
                                       categoryColumn_);
        button->setProperty(categoryProperty, static_cast<int>(category));
        button->setFlat(true);
        button->setFont(withWeight(button->font(), QFont::Medium));
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, [this, category] {
            const QSignalBlocker quiet(search_);
            search_->clear();
            model_.state().chooseCategory(category);
            refresh();
        });
        categories->addWidget(button);
    }
    categories->addStretch(1);

    wheelColumn_ = new QWidget(pane);
    wheelRows_ = new QVBoxLayout(wheelColumn_);
    wheelRows_->setContentsMargins(10, 10, 10, 10);
    wheelRows_->setSpacing(4);

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
    add_->setIcon(QIcon(SymbolFont::pixmap("plus", 16, palette().color(QPalette::ButtonText))));
    add_->setFont(withWeight(add_->font(), QFont::DemiBold));
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

    square_ = new StageSquare(stage);
    square_->setFixedSize(static_cast<int>(wheelSize_), static_cast<int>(wheelSize_));
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
    square_->setFixedSize(static_cast<int>(side), static_cast<int>(side));
    previewedId_.clear();
    refreshStage();
}

QPushButton* GalleryBrowserPage::categoryButton(GalleryWheel::Category category) const {
    for (auto* button : categoryColumn_->findChildren<QPushButton*>())
        if (button->property(categoryProperty).toInt() == static_cast<int>(category)) return button;
    return nullptr;
}

QPushButton* GalleryBrowserPage::wheelButton(const std::string& galleryId) const {
    for (auto* button : wheelColumn_->findChildren<QPushButton*>())
        if (button->property(wheelProperty).toString().toStdString() == galleryId) return button;
    return nullptr;
}

void GalleryBrowserPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (detected_) return;
    detected_ = true;
    model_.detectInstalled();
}

QString GalleryBrowserPage::rowStyle(bool selected) const {
    const QColor fill = selected ? qColor(Color::fromHex(services_.store.config().behavior.accentHex), 0.18)
                                 : QColor(Qt::transparent);
    return QString("QPushButton { text-align: left; border: none; border-radius: 8px; padding: 7px 10px;"
                   " background: %1; }")
        .arg(fill.name(QColor::HexArgb));
}

void GalleryBrowserPage::refresh() {
    refreshCategories();
    refreshWheels();
    refreshStage();
    clear_->setVisible(!search_->text().isEmpty());
}

void GalleryBrowserPage::refreshCategories() {
    const auto& state = model_.state();
    for (auto* button : categoryColumn_->findChildren<QPushButton*>()) {
        const bool selected =
            button->property(categoryProperty).toInt() == static_cast<int>(state.selectedCategory());
        button->setStyleSheet(rowStyle(selected));
    }
}

void GalleryBrowserPage::refreshWheels() {
    // A row may be the sender of the click that got here: let it go later.
    while (QLayoutItem* item = wheelRows_->takeAt(0)) {
        if (QWidget* row = item->widget()) {
            row->hide();
            row->setParent(nullptr);
            row->deleteLater();
        }
        delete item;
    }
    const auto& state = model_.state();
    const auto listed = state.displayedWheels();
    if (state.isSearching() && listed.empty()) {
        auto* none = new QLabel(tr("No wheels match"), wheelColumn_);
        none->setAlignment(Qt::AlignHCenter);
        none->setForegroundRole(QPalette::PlaceholderText);
        none->setContentsMargins(0, 24, 0, 0);
        wheelRows_->addWidget(none);
        none->show();
    }
    for (const GalleryWheel* gallery : listed) {
        auto* button = new QPushButton(wheelColumn_);
        button->setProperty(wheelProperty, QString::fromStdString(gallery->id));
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(rowStyle(gallery->id == state.selectedId()));
        button->setMinimumHeight(44);
        auto* row = new QHBoxLayout(button);
        row->setContentsMargins(10, 7, 10, 7);
        row->setSpacing(6);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(1);
        auto* name = new QLabel(QString::fromStdString(gallery->wheel.name), button);
        name->setFont(withWeight(name->font(), QFont::Medium));
        name->setTextFormat(Qt::PlainText);
        auto* count = new QLabel(QString::number(gallery->wheel.sliceCount) + tr(" slices"), button);
        count->setFont(withWeight(count->font(), QFont::Normal, 0.8));
        count->setForegroundRole(QPalette::PlaceholderText);
        texts->addWidget(name);
        texts->addWidget(count);
        row->addLayout(texts);
        row->addStretch(1);
        if (GalleryBrowserState::isAppWheel(*gallery)) {
            const bool installed = state.isInstalled(*gallery);
            auto* badge = new QLabel(button);
            badge->setObjectName("installedBadge");
            badge->setPixmap(
                installed ? SymbolFont::pixmap("checkmark.circle.fill", 12, QColor(52, 199, 89))
                          : SymbolFont::pixmap("circle", 12, palette().color(QPalette::PlaceholderText)));
            badge->setToolTip(installed ? tr("Installed") : tr("Not installed"));
            badge->setAccessibleName(badge->toolTip());
            row->addWidget(badge);
            if (!installed) {
                auto* dim = new QGraphicsOpacityEffect(button);
                dim->setOpacity(notInstalledOpacity);
                button->setGraphicsEffect(dim);
            }
        }
        for (auto* label : button->findChildren<QLabel*>())
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
        const std::string id = gallery->id;
        connect(button, &QPushButton::clicked, this, [this, id] {
            model_.state().chooseWheel(id);
            refresh();
        });
        wheelRows_->addWidget(button);
        button->show();
    }
    wheelRows_->addStretch(1);
}

void GalleryBrowserPage::refreshStage() {
    const GalleryWheel* selected = model_.state().selected();
    header_->setVisible(selected != nullptr);
    if (selected) summary_->setText(QString::fromStdString(selected->summary));
    const std::string shownId = selected ? selected->id : std::string();
    if (shownId == previewedId_ && (preview_ || !selected)) return;
    previewedId_ = shownId;
    delete preview_;
    preview_ = nullptr;
    noMatch_->setVisible(!selected);
    if (!selected || !services_.preview) return;
    WheelPreviewSpec spec{*model_.previewWheel(),
                          wheelSize_,
                          [this](int position) { model_.trySlice(position); },
                          true,
                          true,
                          std::nullopt};
    preview_ = services_.preview(std::move(spec), square_);
    preview_->setAccessibleName(QString::fromStdString(selected->wheel.name) + tr(" preview"));
    preview_->setAccessibleDescription(tr("Add to My Wheels to review each action in detail."));
    square_->layout()->addWidget(preview_);
    preview_->show();
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
        gallery, *model_.previewWheel(), visibleHeight, services_.workspace, services_.preview,
        [this, &gallery] { model_.addWheel(gallery); }, window());
    sheet_->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet_, &QDialog::finished, this, [this] { model_.closeSheet(); });
    sheet_->open();
}

} // namespace rondelix
