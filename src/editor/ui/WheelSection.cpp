#include "editor/ui/WheelSection.h"

#include "editor/WheelEditor.h"
#include "editor/ui/EnteredTextValidator.h"
#include "qtshared/ElidingButton.h"
#include "qtshared/MnemonicText.h"
#include "qtshared/QtText.h"
#include "qtshared/ScrollNeedsFocus.h"
#include "store/ConfigStore.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

namespace rondelix {

namespace {

QFrame* divider() {
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

WheelSection::WheelSection(WheelEditor& editor, const ConfigStore& store, AppPicker pickApp, QWidget* parent)
    : InspectorCard(parent), editor_(editor), store_(store), pickApp_(std::move(pickApp)), body_(new QWidget),
      name_(new QLineEdit), count_(new QComboBox), app_(new ElidingButton),
      duplicate_(new QPushButton("Duplicate Wheel")), delete_(new QPushButton("Delete Wheel")) {
    setObjectName("wheelSection");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(contentsMargins());
    outer->addWidget(body_);

    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    column->addLayout(sectionHeader("Wheel"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    name_->setObjectName("wheelName");
    name_->setPlaceholderText("Wheel Name");
    // A name from the file is kept whole however long it is.
    name_->setMaxLength(INT_MAX);
    name_->setValidator(new EnteredTextValidator(name_));
    for (int count : Wheel::validSliceCounts)
        count_->addItem(QString::number(count), count);
    count_->setObjectName("sliceCount");
    ScrollNeedsFocus::apply(*count_);
    count_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    app_->setObjectName("appBinding");
    app_->setToolTip("Summoning the wheel inside the chosen app opens this wheel automatically.");
    auto* appColumn = new QVBoxLayout;
    appColumn->setSpacing(6);
    appColumn->addWidget(app_, 0, Qt::AlignLeft);
    auto* caption = new QLabel("Pick an app to open this wheel there automatically.");
    caption->setWordWrap(true);
    makeSecondary(caption);
    appColumn->addWidget(caption);

    // Each row label names its field for screen readers.
    const auto rowLabel = [](const char* text, int topPadding, QWidget* field) {
        auto* label = new InspectorRowLabel(text, topPadding);
        label->setBuddy(field);
        return label;
    };
    grid->addWidget(rowLabel("Name", 0, name_), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(rowLabel("Slices", 0, count_), 1, 0);
    grid->addWidget(count_, 1, 1, Qt::AlignLeft);
    grid->addWidget(rowLabel("Opens for", 4, app_), 2, 0);
    grid->addLayout(appColumn, 2, 1);
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addWidget(divider());

    auto* buttons = new QHBoxLayout;
    delete_->setObjectName("deleteWheel");
    duplicate_->setObjectName("duplicateWheel");
    buttons->addWidget(duplicate_);
    buttons->addStretch();
    buttons->addWidget(delete_);
    column->addLayout(buttons);

    // Only what the user types is written: showing a name never saves it.
    connect(name_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.setName(text.toStdString()); });
    connect(count_, &QComboBox::activated, this, [this](int index) {
        editor_.setSliceCount(count_->itemData(index).toInt());
        refresh();
    });
    connect(app_, &QPushButton::clicked, this, [this] { showAppMenu(); });
    connect(duplicate_, &QPushButton::clicked, this, [this] { editor_.duplicateWheel(); });
    connect(delete_, &QPushButton::clicked, this, [this] { editor_.deleteWheel(); });
    refresh();
}

void WheelSection::refresh() {
    const auto wheel = editor_.currentWheel();
    body_->setVisible(wheel.has_value());
    if (!wheel) return;
    const QString name = toQString(wheel->name);
    if (name_->text() != name) name_->setText(name);
    const int index = count_->findData(wheel->sliceCount);
    if (count_->currentIndex() != index) count_->setCurrentIndex(index);
    app_->setText(literalTitle(editor_.boundAppName()));
    delete_->setVisible(store_.config().wheels.size() >= 2);
}

void WheelSection::showAppMenu() {
    const auto wheel = editor_.currentWheel();
    const bool bound = wheel && wheel->appBundleIdentifier;
    QMenu menu(this);
    QAction* any = menu.addAction("Any App (Manual)");
    any->setCheckable(true);
    any->setChecked(!bound);
    if (bound) {
        QAction* current = menu.addAction(literalTitle(editor_.boundAppName()));
        current->setCheckable(true);
        current->setChecked(true);
    }
    menu.addSeparator();
    QAction* choose = menu.addAction(QString::fromUtf8("Choose App\u2026"));
    const QAction* picked = menu.exec(app_->mapToGlobal(QPoint(0, app_->height())));
    if (picked == any) editor_.setBoundApp(std::nullopt);
    if (picked == choose && pickApp_) {
        if (const auto identifier = pickApp_()) editor_.setBoundApp(identifier);
    }
}

} // namespace rondelix
