#include "editor/ui/SliceSection.h"

#include "editor/WheelEditor.h"
#include "icons/ui/SymbolFont.h"
#include "qtshared/MnemonicText.h"
#include "qtshared/QtText.h"
#include "store/ConfigStore.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace rondelix {

SliceSection::SliceSection(WheelEditor& editor, const ConfigStore& store, SliceFormFactory makeForm,
                           QWidget* parent)
    : InspectorCard(parent), editor_(editor), store_(store), makeForm_(std::move(makeForm)),
      actions_(new QToolButton), content_(new QVBoxLayout) {
    setObjectName("sliceSection");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(contentsMargins());
    outer->setSpacing(14);
    QHBoxLayout* header = sectionHeader("Slice", &accent_);
    actions_->setObjectName("sliceActions");
    actions_->setIcon(SymbolFont::icon("ellipsis.circle", actions_->palette(), QPalette::PlaceholderText));
    actions_->setIconSize(QSize(20, 20));
    actions_->setAccessibleName("Slice actions");
    actions_->setAutoRaise(true);
    actions_->setToolTip("Duplicate this action, or copy / move it to another wheel");
    actions_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(actions_);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        fillActionsMenu(*menu);
    });
    actions_->setMenu(menu);
    header->addWidget(actions_);
    outer->addLayout(header);
    for (int i = 0; i < header->count(); ++i)
        if (auto* label = qobject_cast<QLabel*>(header->itemAt(i)->widget());
            label && label->objectName() == "sectionTitle")
            title_ = label;
    outer->addLayout(content_);
    refresh();
}

void SliceSection::fillActionsMenu(QMenu& menu) {
    const auto wheel = editor_.currentWheel();
    QAction* duplicate = menu.addAction("Duplicate in This Wheel");
    duplicate->setEnabled(wheel && editor_.hasFreeSlot(wheel->id));
    connect(duplicate, &QAction::triggered, this, [this] { editor_.duplicateSlice(); });
    std::vector<const Wheel*> others;
    for (const Wheel& w : store_.config().wheels)
        if (w.id != editor_.selectedWheelId()) others.push_back(&w);
    if (others.empty()) return;
    QMenu* copy = menu.addMenu("Copy to Wheel");
    QMenu* move = menu.addMenu("Move to Wheel");
    for (const Wheel* other : others) {
        const std::string id = other->id;
        const bool room = editor_.hasFreeSlot(id);
        QAction* copyEntry = copy->addAction(literalTitle(other->name));
        copyEntry->setEnabled(room);
        connect(copyEntry, &QAction::triggered, this, [this, id] { editor_.copySlice(id); });
        QAction* moveEntry = move->addAction(literalTitle(other->name));
        moveEntry->setEnabled(room);
        connect(moveEntry, &QAction::triggered, this, [this, id] { editor_.moveSlice(id); });
    }
}

void SliceSection::refresh() {
    const int position = editor_.selectedPosition();
    title_->setText("Slice " + QString::number(position + 1));
    accent_->setText(toQString(editor_.positionName(position)));
    const Shown shown{editor_.selectedWheelId(), position, editor_.selectedSlice().has_value()};
    actions_->setVisible(shown.filled);
    if (shown_ != shown) rebuild(shown);
}

void SliceSection::rebuild(const Shown& shown) {
    shown_ = shown;
    const bool hadFocus = body_ && body_->isAncestorOf(QApplication::focusWidget());
    if (body_) {
        content_->removeWidget(body_);
        // Gone from sight at once; it may be the sender of the click that
        // got here, so it is deleted once that is over.
        body_->hide();
        body_->deleteLater();
    }
    form_ = nullptr;
    body_ = new QWidget;
    auto* column = new QVBoxLayout(body_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    const int position = shown.position;
    if (shown.filled) {
        if (makeForm_) {
            form_ = makeForm_(SliceSlot{shown.wheelId, position}, body_);
        } else {
            // Until a form is plugged in, the slot shows its label.
            auto* label = new QLabel(toQString(editor_.selectedSlice()->label));
            label->setTextFormat(Qt::PlainText);
            form_ = label;
        }
        form_->setObjectName("sliceForm");
        column->addWidget(form_);
        auto* line = new QFrame;
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        column->addWidget(line);
        auto* row = new QHBoxLayout;
        row->addStretch();
        auto* remove = new QPushButton("Remove Action");
        remove->setObjectName("removeAction");
        connect(remove, &QPushButton::clicked, this, [this, position] { editor_.removeSlice(position); });
        row->addWidget(remove);
        column->addLayout(row);
    } else {
        auto* invitation = new QLabel("Nothing here yet. Add an action to fill the " +
                                      toQString(editor_.positionName(position)) + " slice.");
        invitation->setObjectName("emptySlot");
        invitation->setWordWrap(true);
        invitation->setAlignment(Qt::AlignCenter);
        makeSecondary(invitation);
        auto* add = new QPushButton("Add Action");
        add->setObjectName("addAction");
        add->setDefault(true);
        connect(add, &QPushButton::clicked, this, [this, position] { editor_.addSlice(position); });
        column->addSpacing(8);
        column->addWidget(invitation);
        column->addWidget(add, 0, Qt::AlignHCenter);
        column->addSpacing(8);
    }
    content_->addWidget(body_);
    // The keys stay in the card: the first control of the new body takes
    // the focus that the old one had (Add Action hands it to the label).
    if (hadFocus) {
        body_->show();
        for (QWidget* next = body_->nextInFocusChain(); body_->isAncestorOf(next);
             next = next->nextInFocusChain())
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled())
                return next->setFocus(Qt::TabFocusReason);
    }
}

} // namespace rondelix
