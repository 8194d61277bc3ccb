#include "icons/ui/SymbolGridPicker.h"

#include "icons/SymbolCatalog.h"
#include "icons/ui/PickerGrid.h"
#include "icons/ui/SymbolFont.h"

#include <QAbstractListModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int cellSide = 46;
constexpr int cellSpacing = 8;
constexpr int glyphSize = 20;
constexpr int padding = 12;

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A cell: the glyph centred in its square, the square lit while hovered or
// current.
class SymbolCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRectF cell(option.rect.x() + (option.rect.width() - cellSide) / 2.0,
                          option.rect.y() + (option.rect.height() - cellSide) / 2.0, cellSide, cellSide);
        PickerGrid::paintCell(*painter, option, cell);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const std::string name = index.data(Qt::UserRole).toString().toStdString();
        SymbolFont::paint(*painter, name, cell, glyphSize, option.palette.color(QPalette::Text));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {cellSide, cellSide};
    }
};

} // namespace

// The names of the current search; a cell shows only its glyph, with the
// name as shown (SymbolCatalog::shownName) as its tooltip and its name for
// screen readers.
class SymbolGridModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(std::vector<std::string> names) {
        beginResetModel();
        names_ = std::move(names);
        endResetModel();
    }
    const std::vector<std::string>& names() const { return names_; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(names_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount({})) return {};
        const std::string& name = names_[static_cast<std::size_t>(index.row())];
        if (role == Qt::UserRole) return QString::fromStdString(name);
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            return QString::fromStdString(SymbolCatalog::shownName(name));
        return {};
    }

  private:
    std::vector<std::string> names_;
};

SymbolGridPicker::SymbolGridPicker(std::function<void(const std::string&)> onPick, QWidget* parent)
    : QDialog(parent), onPick_(std::move(onPick)) {
    setFixedSize(540, 480);
    setWindowTitle(tr("Symbols"));
    const QColor secondary = palette().color(QPalette::PlaceholderText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(padding, padding, padding, padding);
    searchRow->setSpacing(8);
    auto* magnifier = new QLabel(this);
    magnifier->setPixmap(SymbolFont::pixmap("magnifyingglass", 18, secondary));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("symbolSearch"));
    search_->setPlaceholderText(tr("Search symbols (e.g. bolt, folder, play)"));
    search_->setAccessibleName(tr("Search symbols"));
    search_->setFrame(false);
    clear_ = new QToolButton(this);
    clear_->setObjectName(QStringLiteral("symbolClear"));
    clear_->setAutoRaise(true);
    clear_->setIcon(QIcon(SymbolFont::pixmap("xmark.circle.fill", 16, secondary)));
    clear_->setToolTip(tr("Clear"));
    clear_->setAccessibleName(tr("Clear search"));
    clear_->hide();
    searchRow->addWidget(magnifier);
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(clear_);
    layout->addLayout(searchRow);
    layout->addWidget(divider(this));

    model_ = new SymbolGridModel(this);
    grid_ = new PickerGrid(QSize(cellSide + cellSpacing, cellSide + cellSpacing), this);
    grid_->setObjectName(QStringLiteral("symbolGrid"));
    grid_->setAccessibleName(tr("Symbols"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new SymbolCellDelegate(grid_));
    grid_->setSpacing(0);
    grid_->setContentsMargins(padding, padding, padding, padding);
    grid_->enterFrom(search_);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(grid_, 1);
    layout->addWidget(divider(this));

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(padding, padding, padding, padding);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("symbolCount"));
    QFont caption = count_->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    count_->setFont(caption);
    QPalette captionPalette = count_->palette();
    captionPalette.setColor(QPalette::WindowText, secondary);
    count_->setPalette(captionPalette);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("symbolCancel"));
    cancel->setAutoDefault(false);
    footer->addWidget(count_);
    footer->addStretch(1);
    footer->addWidget(cancel);
    layout->addLayout(footer);

    connect(search_, &QLineEdit::textChanged, this, &SymbolGridPicker::applyQuery);
    connect(clear_, &QToolButton::clicked, search_, &QLineEdit::clear);
    connect(grid_, &PickerGrid::picked, this, &SymbolGridPicker::pick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    applyQuery({});
}

SymbolGridPicker::~SymbolGridPicker() = default;

const std::vector<std::string>& SymbolGridPicker::shownNames() const {
    return model_->names();
}

void SymbolGridPicker::showEvent(QShowEvent* event) {
    picked_ = false;
    search_->clear();
    search_->setFocus();
    QDialog::showEvent(event);
}

void SymbolGridPicker::applyQuery(const QString& query) {
    model_->setNames(SymbolCatalog::filter(SymbolCatalog::all(), query.toStdString()));
    count_->setText(QString::fromStdString(SymbolCatalog::countText(model_->names().size())));
    clear_->setVisible(!query.isEmpty());
}

void SymbolGridPicker::pick(const QModelIndex& index) {
    if (picked_ || !index.isValid()) return;
    picked_ = true;
    if (onPick_) onPick_(model_->names()[static_cast<std::size_t>(index.row())]);
    accept();
}

} // namespace rondelix
