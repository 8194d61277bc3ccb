#include "app/ui/SidebarFooter.h"

#include "app/AppCoordinator.h"
#include "engine/PermissionsCheck.h"
#include "icons/ui/SymbolFont.h"
#include "overlay/ui/WheelPalette.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"

#include <QAccessibleWidget>
#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {

constexpr int outerPadding = 10;
constexpr int sidePadding = 12;
constexpr int verticalPadding = 9;
constexpr int gap = 9;
constexpr int symbolWidth = 18;
// The opacity changes in steps of a thirty-second: the fifteen-second fade of
// the ready pill repaints it some thirty times instead of at every frame.
constexpr int fadeStepsPerUnit = 32;

QFont titleFont(const QFont& base) {
    QFont font = base;
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont captionFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.8);
    return font;
}

// Screen readers see the pill as the button it is; pressing it does what a
// click does.
class AccessibleFooter : public QAccessibleWidget {
  public:
    explicit AccessibleFooter(SidebarFooter* footer) : QAccessibleWidget(footer, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) static_cast<SidebarFooter*>(widget())->activate();
    }
};

QAccessibleInterface* accessibleFooter(const QString&, QObject* object) {
    auto* footer = qobject_cast<SidebarFooter*>(object);
    return footer ? new AccessibleFooter(footer) : nullptr;
}

} // namespace

SidebarFooter::SidebarFooter(AppCoordinator& coordinator, QWidget* parent)
    : QWidget(parent), coordinator_(coordinator), pill_(coordinator.platform().queue),
      opacity_(new QGraphicsOpacityEffect(this)) {
    setObjectName("sidebarFooter");
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessible = (QAccessible::installFactory(accessibleFooter), true);
    (void)accessible;
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    opacity_->setOpacity(1.0);
    setGraphicsEffect(opacity_);

    pill_.onFade = [this](FooterPill::Fade fade) {
        const QEasingCurve curve(fade.opacity < 1.0 ? QEasingCurve::InOutQuad : QEasingCurve::OutQuad);
        fade_.emplace(
            opacity_->opacity(), fade.opacity, fade.seconds,
            [curve](double progress) { return curve.valueForProgress(progress); }, fadeStepsPerUnit);
        fadeStart_ = coordinator_.platform().queue.now();
        showFadeStep();
    };
    pill_.onGoneChanged = [this] { setVisible(!pill_.gone()); };

    const auto watch = [this](auto&&...) { refresh(); };
    coordinatorConnection_ = coordinator_.changed.connectScoped([this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::sideWindows) refresh();
    });
    automationsConnection_ = coordinator_.automations().changed.connectScoped(watch);
    configConnection_ = coordinator_.configStore().configChanged.connectScoped(watch);
    accessibilityConnection_ = coordinator_.permissions().accessibilityTrustedChanged.connectScoped(watch);
    inputMonitoringConnection_ =
        coordinator_.permissions().inputMonitoringTrustedChanged.connectScoped(watch);
}

SidebarFooter::~SidebarFooter() = default;

void SidebarFooter::showFadeStep() {
    auto& queue = coordinator_.platform().queue;
    const double elapsed = queue.now() - fadeStart_;
    opacity_->setOpacity(fade_->valueAt(elapsed));
    nextFadeStep_.cancel();
    if (const auto next = fade_->nextChangeAfter(elapsed))
        nextFadeStep_ = queue.after(*next - elapsed, [this] { showFadeStep(); });
}

FooterFacts SidebarFooter::facts() const {
    return {coordinator_.permissions().accessibilityTrusted(),
            coordinator_.permissions().inputMonitoringTrusted(),
            coordinator_.missingRequiredShortcuts().size(),
            coordinator_.isSideWindowOpen(AppWindows::Kind::shortcutSetup)};
}

double SidebarFooter::shownOpacity() const {
    return opacity_->opacity();
}

void SidebarFooter::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void SidebarFooter::refresh() {
    pill_.update(facts());
    const FooterLook look = footerLook(pill_.status(), pill_.facts().missingShortcuts);
    setAccessibleName(toQString(look.title));
    setAccessibleDescription(toQString(look.subtitle));
    if (isHidden() != pill_.gone()) setVisible(!pill_.gone());
    updateGeometry();
    update();
}

void SidebarFooter::activate() {
    switch (footerDestination(footerStatus(facts()))) {
    case FooterDestination::onboardingPermissions:
        coordinator_.showOnboarding(OnboardingStep::permissions);
        break;
    case FooterDestination::shortcutSetup:
        coordinator_.showShortcutSetup(std::nullopt);
        break;
    case FooterDestination::onboardingWelcome:
        coordinator_.showOnboarding(OnboardingStep::welcome);
        break;
    }
}

QSize SidebarFooter::sizeHint() const {
    const int text =
        QFontMetrics(titleFont(font())).height() + 1 + QFontMetrics(captionFont(font())).height();
    return {200, text + 2 * verticalPadding + 2 * outerPadding};
}

QRectF SidebarFooter::capsule() const {
    return QRectF(rect()).adjusted(outerPadding, outerPadding, -outerPadding, -outerPadding);
}

// The ready pill fades out over many seconds, and every step of the fade
// draws the pill again through its opacity effect: shaping its text and
// filling its gradient each time. While it fades it is drawn once into an
// image and that image is shown until what the pill shows changes.
void SidebarFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (opacity_->opacity() >= 1.0) {
        fadeImage_ = QPixmap();
        paintPill(painter);
        return;
    }
    const FadeImageKey key{size(), devicePixelRatioF(), pill_.status(), pill_.facts().missingShortcuts,
                           hasFocus()};
    if (fadeImage_.isNull() || key != fadeImageKey_) {
        fadeImage_ = QPixmap(size() * key.devicePixelRatio);
        fadeImage_.setDevicePixelRatio(key.devicePixelRatio);
        fadeImage_.fill(Qt::transparent);
        QPainter image(&fadeImage_);
        paintPill(image);
        fadeImageKey_ = key;
    }
    painter.drawPixmap(0, 0, fadeImage_);
}

void SidebarFooter::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) fadeImage_ = QPixmap();
    QWidget::changeEvent(event);
}

void SidebarFooter::paintPill(QPainter& painter) {
    const FooterStatus status = pill_.status();
    const FooterLook look = footerLook(status, pill_.facts().missingShortcuts);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF box = capsule();
    const QColor colour = toQColor(look.colour);
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, colour.lighter(112));
    gradient.setColorAt(1, colour);
    QPainterPath path;
    path.addRoundedRect(box, box.height() / 2, box.height() / 2);
    painter.fillPath(path, gradient);
    if (hasFocus()) {
        painter.setPen(QPen(accentMark(palette()), 2));
        painter.drawPath(path);
    }

    QRectF content = box.adjusted(sidePadding, verticalPadding, -sidePadding, -verticalPadding);
    SymbolFont::paint(painter, look.symbol,
                      QRectF(content.left(), content.top(), symbolWidth, content.height()), 15, Qt::white);
    content.setLeft(content.left() + symbolWidth + gap);
    if (look.chevron) {
        const QRectF chevron(content.right() - 10, content.top(), 10, content.height());
        QColor dim(Qt::white);
        dim.setAlphaF(0.7f);
        SymbolFont::paint(painter, "chevron.forward", chevron, 10, dim);
        content.setRight(chevron.left() - gap);
    }
    const QFont title = titleFont(font());
    const QFont caption = captionFont(font());
    const double titleHeight = QFontMetrics(title).height();
    painter.setPen(Qt::white);
    painter.setFont(title);
    painter.drawText(QRectF(content.left(), content.top(), content.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(look.title));
    QColor faint(Qt::white);
    faint.setAlphaF(0.85f);
    painter.setPen(faint);
    painter.setFont(caption);
    const QString subtitle = QFontMetrics(caption).elidedText(
        QString::fromStdString(look.subtitle), Qt::ElideRight, static_cast<int>(content.width()));
    painter.drawText(QRectF(content.left(), content.top() + titleHeight + 1, content.width(),
                            content.height() - titleHeight - 1),
                     Qt::AlignLeft | Qt::AlignTop, subtitle);
}

void SidebarFooter::mouseReleaseEvent(QMouseEvent* event) {
    QPainterPath path;
    const QRectF box = capsule();
    path.addRoundedRect(box, box.height() / 2, box.height() / 2);
    if (event->button() == Qt::LeftButton && path.contains(event->position())) {
        activate();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void SidebarFooter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        activate();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace rondelix
