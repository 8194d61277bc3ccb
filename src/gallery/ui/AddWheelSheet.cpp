#include "gallery/ui/AddWheelSheet.h"

#include "gallery/AddWheelReview.h"
#include "gallery/WheelManifest.h"
#include "icons/ui/SymbolFont.h"
#include "model/SystemColors.h"
#include "qtshared/ElidingLabel.h"
#include "qtshared/QtColor.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace rondelix {

namespace {

constexpr int sheetWidth = 600;
constexpr double previewDiameter = 360;
// The room a review line's label keeps before its detail is cut.
constexpr int labelRoom = sheetWidth / 5;

// Cut at its end when too long, the whole text then its tooltip.
QLabel* oneLineLabel(const QString& text, QWidget* parent) {
    auto* label = new ElidingLabel(Qt::ElideRight, parent);
    label->setText(text);
    return label;
}

QFont scaled(QFont font, double factor, QFont::Weight weight) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

// One review line: the label, then at the far end what it does, each cut
// to one line.
QWidget* entryCell(const WheelManifest::Entry& entry, const QFont& base, QWidget* parent) {
    auto* cell = new QWidget(parent);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* label = oneLineLabel(QString::fromStdString(entry.label), cell);
    label->setObjectName("entryLabel");
    label->setFont(scaled(base, 1.0, QFont::Medium));
    // A short label shows whole, the detail giving way first.
    label->setMinimumWidth(std::min(label->sizeHint().width(), labelRoom));
    auto* detail = oneLineLabel(QString::fromStdString(AddWheelReview::shownDetail(entry.detail)), cell);
    detail->setObjectName("entryDetail");
    detail->setFont(scaled(base, 1.0, QFont::Normal));
    detail->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(label);
    row->addSpacing(6);
    row->addStretch(1);
    row->addWidget(detail);
    return cell;
}

} // namespace

AddWheelSheet::AddWheelSheet(const GalleryWheel& gallery, const Wheel& shown,
                             std::optional<double> visibleScreenHeight, const platform::Workspace& workspace,
                             const SystemActionUnavailable& unavailable, const WheelPreviewFactory& preview,
                             std::function<void()> onAdd, QWidget* parent)
    : QDialog(parent), add_(new QPushButton(tr("&Add to My Wheels"), this)),
      cancel_(new QPushButton(tr("&Cancel"), this)), trust_(new QLabel(this)) {
    setWindowTitle(QString::fromStdString(shown.name));
    setModal(true);
    setFixedSize(sheetWidth, static_cast<int>(AddWheelReview::sheetHeight(visibleScreenHeight)));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);

    if (preview) {
        QWidget* wheel =
            preview(WheelPreviewSpec{shown, previewDiameter, nullptr, false, false, 1.0}, content).widget;
        wheel->setFixedSize(380, 380);
        column->addWidget(wheel, 0, Qt::AlignHCenter);
    }

    const auto entries = WheelManifest::entries(shown, workspace, unavailable);
    auto* name = new QLabel(QString::fromStdString(shown.name), content);
    name->setTextFormat(Qt::PlainText);
    name->setFont(scaled(name->font(), 1.5, QFont::Bold));
    name->setAlignment(Qt::AlignHCenter);
    auto* summary =
        new QLabel(QString::fromStdString(AddWheelReview::summaryLine(gallery, entries.size())), content);
    summary->setForegroundRole(QPalette::PlaceholderText);
    summary->setFont(scaled(summary->font(), 0.85, QFont::Normal));
    summary->setAlignment(Qt::AlignHCenter);
    auto* header = new QVBoxLayout;
    header->setSpacing(3);
    header->addWidget(name);
    header->addWidget(summary);
    column->addLayout(header);

    auto* inside = new QGroupBox(tr("What's inside"), content);
    inside->setFont(scaled(inside->font(), 1.15, QFont::DemiBold));
    auto* grid = new QGridLayout(inside);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    grid->setContentsMargins(10, 12, 10, 12);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QWidget* cell = entryCell(entries[i], font(), inside);
        grid->addWidget(cell, static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    column->addSpacing(16 - column->spacing() + 16);
    column->addWidget(inside);

    const auto note = AddWheelReview::trustNote(shown);
    const QColor noteColor = toQColor(note.warns ? SystemColors::orange : SystemColors::green);
    auto* noteRow = new QHBoxLayout;
    auto* noteIcon = new QLabel(content);
    noteIcon->setPixmap(SymbolFont::pixmap(note.symbol, 14, noteColor));
    trust_->setParent(content);
    trust_->setText(QString::fromStdString(note.text));
    trust_->setWordWrap(true);
    trust_->setFont(scaled(trust_->font(), 0.85, QFont::Normal));
    QPalette notePalette = trust_->palette();
    notePalette.setColor(QPalette::WindowText, noteColor);
    trust_->setPalette(notePalette);
    noteRow->addWidget(noteIcon, 0, Qt::AlignTop);
    noteRow->addWidget(trust_, 1);
    column->addLayout(noteRow);
    column->addStretch(1);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    outer->addWidget(divider);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 16, 16, 16);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    buttons->addWidget(add_);
    outer->addLayout(buttons);

    add_->setDefault(true);
    add_->setAutoDefault(true);
    cancel_->setAutoDefault(false);
    // Escape rejects the dialog, which is Cancel.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(add_, &QPushButton::clicked, this, [onAdd = std::move(onAdd)] {
        if (onAdd) onAdd();
    });
}

} // namespace rondelix
