#include "icons/ui/EmojiPopup.h"

#include "icons/ui/PickerGrid.h"

#include <QAbstractListModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int cellSide = 36;
constexpr int emojiPixels = 24;
constexpr double cellInset = 1;

// A cell: the emoji centred, on the grid's hover and current-cell backdrop.
class EmojiCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        PickerGrid::paintCell(*painter, option,
                              QRectF(option.rect).adjusted(cellInset, cellInset, -cellInset, -cellInset));
        painter->save();
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

class EmojiGridModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void setEmoji(std::vector<EmojiEntry> emoji) {
        beginResetModel();
        emoji_ = std::move(emoji);
        endResetModel();
    }
    const std::vector<EmojiEntry>& emoji() const { return emoji_; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(emoji_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount({})) return {};
        const EmojiEntry& entry = emoji_[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(entry.text);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return QString::fromStdString(entry.name);
        case Qt::TextAlignmentRole:
            return Qt::AlignCenter;
        default:
            return {};
        }
    }

  private:
    std::vector<EmojiEntry> emoji_;
};

EmojiPopup::EmojiPopup(const std::vector<EmojiGroup>& groups, std::function<void(const std::string&)> onPick,
                       QWidget* parent)
    : QFrame(parent, Qt::Popup), groups_(groups), onPick_(std::move(onPick)) {
    setFrameShape(QFrame::StyledPanel);
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(tr("Choose Emoji"));
    resize(380, 340);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("emojiSearch"));
    search_->setPlaceholderText(tr("Search emoji"));
    search_->setAccessibleName(search_->placeholderText());
    search_->setClearButtonEnabled(true);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("emojiGroups"));
    tabs_->setAccessibleName(tr("Emoji groups"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    tabs_->setDrawBase(false);
    for (const EmojiGroup& group : groups_) {
        const int tab = tabs_->addTab(QString::fromStdString(group.emoji.front().text));
        tabs_->setTabToolTip(tab, QString::fromStdString(group.name));
        // A screen reader would read the tab's emoji by its own name.
        tabs_->setAccessibleTabName(tab, QString::fromStdString(group.name));
    }
    model_ = new EmojiGridModel(this);
    grid_ = new PickerGrid(QSize(cellSide, cellSide), this);
    grid_->setObjectName(QStringLiteral("emojiGrid"));
    grid_->setAccessibleName(tr("Emoji"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new EmojiCellDelegate(grid_));
    grid_->enterFrom(search_);
    QFont emojiFont(QStringLiteral("Noto Color Emoji"));
    emojiFont.setPixelSize(emojiPixels);
    grid_->setFont(emojiFont);
    empty_ =
        new QLabel(groups_.empty() ? tr("The emoji list could not be read.") : tr("No emoji found"), this);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setObjectName(QStringLiteral("emojiEmpty"));

    layout->addWidget(search_);
    layout->addWidget(tabs_);
    layout->addWidget(grid_, 1);
    layout->addWidget(empty_, 1);

    connect(search_, &QLineEdit::textChanged, this, &EmojiPopup::refresh);
    connect(tabs_, &QTabBar::currentChanged, this, &EmojiPopup::refresh);
    connect(grid_, &PickerGrid::picked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        const std::string emoji = model_->emoji()[static_cast<std::size_t>(index.row())].text;
        close();
        if (onPick_) onPick_(emoji);
    });
    refresh();
    search_->setFocus();
}

EmojiPopup::~EmojiPopup() = default;

const std::vector<EmojiEntry>& EmojiPopup::shownEmoji() const {
    return model_->emoji();
}

void EmojiPopup::refresh() {
    const std::string query = search_->text().toStdString();
    const bool searching = !search_->text().trimmed().isEmpty();
    tabs_->setEnabled(!searching);
    if (searching) {
        model_->setEmoji(searchEmoji(groups_, query));
    } else {
        const int tab = tabs_->currentIndex();
        model_->setEmoji(tab >= 0 && tab < static_cast<int>(groups_.size())
                             ? groups_[static_cast<std::size_t>(tab)].emoji
                             : std::vector<EmojiEntry>{});
    }
    const bool none = model_->emoji().empty();
    grid_->setVisible(!none);
    empty_->setVisible(none);
}

} // namespace rondelix
