#include "editor/ui/WheelEditorPage.h"

#include "editor/ui/ApplicationChooser.h"
#include "editor/ui/ConfettiView.h"
#include "editor/ui/GlowSpill.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/SliceSection.h"
#include "editor/ui/UndoKeyFilter.h"
#include "editor/ui/WheelPillColumn.h"
#include "editor/ui/WheelSection.h"
#include "gallery/WorkshopLayout.h"
#include "icons/ui/SymbolFont.h"
#include "model/WheelState.h"
#include "overlay/ui/WheelGraphic.h"
#include "overlay/ui/WheelPalette.h"
#include "qtshared/OpacityFade.h"
#include "qtshared/SeeThroughScrollArea.h"
#include "qtshared/TabScrollArea.h"
#include "store/ConfigStore.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace rondelix {

namespace {

constexpr int inspectorWidth = 450;

QPushButton* tabButton(const char* text, const char* symbol) {
    auto* button = new QPushButton(text);
    SymbolFont::followPalette(*button, symbol);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

QToolButton* historyButton(const char* symbol, const char* tip, const char* name) {
    auto* button = new QToolButton;
    SymbolFont::followPalette(*button, symbol);
    button->setToolTip(tip);
    button->setAccessibleName(name == std::string_view("undo") ? "Undo" : "Redo");
    button->setObjectName(name);
    return button;
}

// The celebration comes and goes with the platform's default animation.
constexpr int celebrationFadeMs = 350;

} // namespace

WheelEditorPage::WheelEditorPage(Services services, QWidget* parent)
    : WorkshopPane(parent), services_(std::move(services)),
      editor_({services_.transfer, *services_.session, services_.sounds, services_.queue}),
      add_(tabButton("Add Wheel", "plus")), import_(tabButton("Import Wheel", "square.and.arrow.down")),
      export_(tabButton("Export Wheel", "square.and.arrow.up")),
      undo_(historyButton("arrow.uturn.backward", "Undo (Ctrl+Z)", "undo")),
      redo_(historyButton("arrow.uturn.forward", "Redo (Ctrl+Shift+Z)", "redo")),
      pillScroll_(new TabScrollArea), pills_(new WheelPillColumn), previewSlot_(new QWidget),
      preview_(new PreviewWheel), noWheel_(new QLabel("No wheel selected")), captionRow_(new QWidget),
      caption_(
          new QLabel("Hold your summon key anywhere to test this wheel for real. Click a slice here to edit "
                     "it.")) {
    setObjectName("wheelEditorPage");
    editor_.onQuit = services_.quit;
    ConfigStore& store = services_.transfer.store;

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    auto* wheelColumn = new QVBoxLayout;
    wheelColumn->setSpacing(0);
    wheelColumn->addWidget(buildTabStrip());
    auto* belowTabs = new QHBoxLayout;
    belowTabs->setSpacing(0);
    pillScroll_->setObjectName("pillColumn");
    pillScroll_->setWidget(pills_);
    pillScroll_->setWidgetResizable(false);
    pillScroll_->setFrameShape(QFrame::NoFrame);
    pillScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pillScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pillScroll_->setFixedWidth(pills_->width());
    makeSeeThrough(*pillScroll_);
    // Tab moves to the pills themselves, never to the scroll area around them.
    pillScroll_->setFocusPolicy(Qt::NoFocus);
    belowTabs->addWidget(pillScroll_);

    auto* previewPane = new QVBoxLayout;
    previewPane->setSpacing(14);
    previewPane->setContentsMargins(0, 0, 0, 20);
    previewSlot_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The slot only places the wheel, which lies under it: the wheel takes
    // the pointer.
    previewSlot_->setAttribute(Qt::WA_TransparentForMouseEvents);
    previewSlot_->installEventFilter(this);
    previewPane->addWidget(previewSlot_, 1);
    caption_->setWordWrap(true);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setToolTip("Drag one slice onto another to swap their spots.");
    makeSecondary(caption_);
    // The caption is as wide as the wheel, which follows the page's size: it
    // lies over a row of its height that asks the page for no width.
    captionRow_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    caption_->setParent(captionRow_);
    previewPane->addWidget(captionRow_);
    noWheel_->setAlignment(Qt::AlignCenter);
    makeSecondary(noWheel_);
    previewPane->addWidget(noWheel_, 1);
    belowTabs->addLayout(previewPane, 1);
    wheelColumn->addLayout(belowTabs, 1);
    page->addLayout(wheelColumn, 1);
    // The wheel is as big as the workshop says, centred on its slot; where
    // the slot is narrower it reaches under the pills. It joins the page
    // before the inspector, so Tab reaches it in screen order.
    preview_->setParent(this);
    preview_->lower();
    new GlowSpill(*preview_);
    page->addWidget(buildInspector());
    setWheelSize(WorkshopLayout::minimumWheelSize);

    pills_->reduceMotion = services_.reduceMotion;
    pills_->onSelect = [this](const std::string& id) { editor_.select(id, 0); };
    pills_->onDrop = [this](const std::string& dragged, const std::string& target) {
        editor_.dropPill(dragged, target);
    };
    pills_->onMoveBy = [this](const std::string& id, int offset) { editor_.movePill(id, offset); };
    pills_->onExport = [this](const std::string& id) { editor_.exportWheel(id); };
    preview_->onSelect = [this](int position) { editor_.selectPosition(position); };
    preview_->onSwap = [this](int from, int to) { editor_.swapSlices(from, to); };
    // The slice card's actions menu, dropped from the slot; an empty slot has none.
    preview_->onMenu = [this](QPoint at) {
        if (!editor_.selectedSlice()) return;
        QMenu menu(this);
        sliceSection_->fillActionsMenu(menu);
        menu.exec(at);
    };

    configConnection_ = store.configChanged.connectScoped([this] {
        const auto onlyWheel = services_.transfer.store.onlyWheelChanged();
        // A wheel edited alone kept its id.
        if (!onlyWheel) wheelIds_.reset();
        refresh(onlyWheel);
    });
    historyConnection_ = store.historyChanged.connectScoped([this] { refreshHistory(); });
    editorConnection_ = editor_.changed.connectScoped([this] {
        refresh();
        refreshCelebration();
    });
    // The preview mirrors a summoned wheel and its aim; the rest of the
    // wheel's state does not show here.
    stateConnection_ = services_.wheelState.changed.connectScoped([this](WheelState::Property property) {
        const bool mirrored = property == WheelState::Property::activeWheelId ||
                              property == WheelState::Property::aimedPosition;
        if (property == WheelState::Property::isVisible || (mirrored && services_.wheelState.isVisible()))
            refreshPreview();
    });
    refresh();
    refreshHistory();
}

WheelEditorPage::~WheelEditorPage() = default;

QWidget* WheelEditorPage::buildTabStrip() {
    auto* strip = new QWidget;
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(24, 20, 24, 10);
    row->setSpacing(8);
    import_->setToolTip("Import a shared .rondix file as a new wheel");
    export_->setToolTip("Export the selected wheel as a shareable .rondix file");
    row->addWidget(add_);
    row->addWidget(import_);
    row->addWidget(export_);
    row->addStretch();
    row->addWidget(undo_);
    row->addWidget(redo_);
    connect(add_, &QPushButton::clicked, this, [this] { editor_.addWheel(); });
    connect(import_, &QPushButton::clicked, this, [this] { editor_.importWheel(); });
    connect(export_, &QPushButton::clicked, this, [this] {
        if (const auto wheel = editor_.currentWheel()) editor_.exportWheel(wheel->id);
    });
    connect(undo_, &QToolButton::clicked, this, [this] { editor_.undo(); });
    connect(redo_, &QToolButton::clicked, this, [this] { editor_.redo(); });
    return strip;
}

QWidget* WheelEditorPage::buildInspector() {
    auto* scroll = new QScrollArea;
    scroll->setObjectName("inspector");
    scroll->setFixedWidth(inspectorWidth);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* cards = new QWidget;
    auto* column = new QVBoxLayout(cards);
    column->setContentsMargins(16, 20, 16, 24);
    column->setSpacing(20);
    const auto& workspace = services_.transfer.workspace;
    auto& dialogs = services_.transfer.dialogs;
    wheelSection_ = new WheelSection(editor_, services_.transfer.store, [this, &workspace, &dialogs] {
        return ApplicationChooser::choose(workspace, dialogs, services_.icons, this);
    });
    sliceSection_ = new SliceSection(editor_, services_.transfer.store, services_.makeSliceForm);
    column->addWidget(wheelSection_);
    column->addWidget(sliceSection_);
    column->addStretch();
    scroll->setWidget(cards);
    makeSeeThrough(*scroll);
    return scroll;
}

void WheelEditorPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    editor_.appear();
    if (!undoKeys_) undoKeys_ = std::make_unique<UndoKeyFilter>(editor_);
}

void WheelEditorPage::hideEvent(QHideEvent* event) {
    undoKeys_.reset();
    QWidget::hideEvent(event);
}

void WheelEditorPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (celebration_) celebration_->setGeometry(rect());
}

bool WheelEditorPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == previewSlot_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placePreview();
    return QWidget::eventFilter(watched, event);
}

void WheelEditorPage::setWheelSize(double side) {
    const int wheel = static_cast<int>(side);
    if (preview_->width() == wheel) return;
    preview_->setFixedSize(wheel, wheel);
    placePreview();
}

QWidget* WheelEditorPage::wheelSquare() const {
    // The workshop hides the square while a wheel flies to it: whether there
    // is a wheel to draw is the page's to say, not the square's.
    return noWheel_->isHidden() ? preview_ : nullptr;
}

void WheelEditorPage::placePreview() {
    const QRect slot = previewSlot_->geometry();
    QRect square(QPoint(), preview_->size());
    square.moveCenter(slot.center());
    // Wider than its slot, the wheel reaches under the pills rather than
    // under the inspector's cards.
    if (square.right() > slot.right()) square.moveRight(slot.right());
    preview_->move(square.topLeft());
    // The caption is at most as wide as the wheel and as tall as its lines,
    // centred under it as far as its slot allows.
    const int captionWidth = std::max(1, std::min(preview_->width(), slot.width()));
    const int captionHeight = caption_->heightForWidth(captionWidth);
    captionRow_->setFixedHeight(captionHeight);
    const int captionLeft =
        std::clamp(square.center().x() - slot.left() - captionWidth / 2, 0, slot.width() - captionWidth);
    caption_->setGeometry(captionLeft, 0, captionWidth, captionHeight);
}

void WheelEditorPage::refresh(std::optional<std::size_t> onlyWheelChanged) {
    const Config& config = services_.transfer.store.config();
    pills_->showWheels(config.wheels, editor_.selectedWheelId(),
                       toQColor(Color::fromHex(config.behavior.accentHex)), onlyWheelChanged);
    export_->setEnabled(editor_.currentWheel().has_value());
    refreshPreview();
    wheelSection_->refresh();
    sliceSection_->refresh();
    if (scrolledTo_ != editor_.selectedWheelId()) scrollToSelectedPill();
}

void WheelEditorPage::refreshPreview() {
    const ConfigStore& store = services_.transfer.store;
    const WheelState& state = services_.wheelState;
    // While a wheel is summoned the preview mirrors it.
    std::optional<Wheel> shown = state.isVisible() ? store.wheel(state.activeWheelId()) : std::nullopt;
    const bool live = shown.has_value();
    if (!shown) shown = editor_.currentWheel();
    preview_->setVisible(shown.has_value());
    previewSlot_->setVisible(shown.has_value());
    captionRow_->setVisible(shown.has_value());
    noWheel_->setVisible(!shown);
    if (!shown) return;
    const Behavior& behavior = store.config().behavior;
    PreviewWheel::Inputs inputs;
    inputs.wheel = std::move(*shown);
    if (!wheelIds_) wheelIds_ = sharedWheelIds(store.config().wheels);
    inputs.wheelIds = wheelIds_;
    inputs.aimedPosition = live ? state.aimedPosition() : std::nullopt;
    inputs.interactive = !live;
    inputs.accent = Color::fromHex(behavior.accentHex);
    inputs.accentStrength = behavior.accentStrength;
    inputs.selectedPosition = editor_.selectedPosition();
    inputs.icons = &services_.icons;
    preview_->graphic().setReduceMotion(reducesMotion());
    preview_->setInputs(std::move(inputs));
}

bool WheelEditorPage::reducesMotion() const {
    return services_.reduceMotion && services_.reduceMotion();
}

void WheelEditorPage::refreshHistory() {
    const ConfigStore& store = services_.transfer.store;
    undo_->setEnabled(store.canUndo());
    redo_->setEnabled(store.canRedo());
}

void WheelEditorPage::refreshCelebration() {
    if (editor_.celebrating() && !celebration_) {
        celebration_ = new ConfettiCelebration(reducesMotion(), this);
        celebration_->setGeometry(rect());
        opacityFade(*celebration_, 0, 1, celebrationFadeMs, QEasingCurve::InOutQuad)
            ->start(QAbstractAnimation::DeleteWhenStopped);
        celebration_->show();
        celebration_->raise();
    } else if (!editor_.celebrating() && celebration_) {
        // It fades out on its own and goes; a new celebration starts afresh.
        QWidget* leaving = std::exchange(celebration_, nullptr);
        QPropertyAnimation* out = opacityFade(*leaving, 1, 0, celebrationFadeMs, QEasingCurve::InOutQuad);
        connect(out, &QPropertyAnimation::finished, leaving, &QObject::deleteLater);
        out->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void WheelEditorPage::scrollToSelectedPill() {
    const auto frame = pills_->frame(editor_.selectedWheelId());
    if (!frame) return;
    scrolledTo_ = editor_.selectedWheelId();
    pillScroll_->ensureVisible(static_cast<int>(frame->midX()), static_cast<int>(frame->midY()), 0,
                               pillScroll_->viewport()->height() / 2);
}

} // namespace rondelix
