#include "overlay/ui/HUDWindow.h"

#include "icons/ui/SymbolFont.h"
#include "qtshared/DesktopCoordinates.h"
#include "qtshared/QtColor.h"

#include <QEasingCurve>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QRegion>
#include <cmath>

namespace rondelix {

namespace {

constexpr double symbolSize = 20;
constexpr double spacing = 9;
constexpr double horizontalPadding = 20;
constexpr double verticalPadding = 13;
constexpr double cornerRadius = 14;

} // namespace

HUDWindow::HUDWindow(bool translucent)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                           Qt::WindowTransparentForInput),
      translucent_(translucent), alphaAnimation_(new QPropertyAnimation(this, "windowOpacity", this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setFocusPolicy(Qt::NoFocus);
}

QFont HUDWindow::textFont() const {
    QFont font = this->font();
    font.setPixelSize(13);
    font.setWeight(QFont::DemiBold);
    return font;
}

platform::Size HUDWindow::setContent(const std::string& text, const std::string& systemImage,
                                     const std::optional<std::string>& tintHex) {
    text_ = QString::fromStdString(text);
    systemImage_ = systemImage;
    tint_.reset();
    if (tintHex) tint_ = toQColor(Color::fromHex(*tintHex));
    // The bubble takes its natural size: a long text widens it, never wraps.
    const QFontMetricsF metrics(textFont());
    const double width = horizontalPadding * 2 + symbolSize + spacing + metrics.horizontalAdvance(text_);
    const double height = verticalPadding * 2 + std::max(symbolSize, metrics.height());
    const QSize size(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
    resize(size);
    if (!translucent_) {
        QPainterPath plate;
        plate.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        setMask(QRegion(plate.toFillPolygon().toPolygon()));
    }
    update();
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

void HUDWindow::setOrigin(platform::Point origin) {
    const platform::Rect frame{origin.x, origin.y, static_cast<double>(width()),
                               static_cast<double>(height())};
    move(DesktopCoordinates::toQt(frame).topLeft());
}

void HUDWindow::setAlpha(double alpha) {
    alphaAnimation_->stop();
    setWindowOpacity(alpha);
}

void HUDWindow::animateAlpha(double to, double seconds) {
    alphaAnimation_->stop();
    alphaAnimation_->setDuration(static_cast<int>(std::lround(seconds * 1000)));
    alphaAnimation_->setStartValue(windowOpacity());
    alphaAnimation_->setEndValue(to);
    alphaAnimation_->setEasingCurve(QEasingCurve::OutCubic);
    alphaAnimation_->start();
}

void HUDWindow::orderFront() {
    show();
    raise();
}

void HUDWindow::orderOut() {
    alphaAnimation_->stop();
    hide();
}

void HUDWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Opaque: nothing blurs what lies behind the bubble, and through any
    // see-through plate, light text behind crosses its one line. A
    // compositor still gives it smooth rounded corners.
    const QColor plate = palette().color(QPalette::Window);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(path, plate);

    const QColor primary = palette().color(QPalette::WindowText);
    const double middle = height() / 2.0;
    const QRectF symbolBox(horizontalPadding, middle - symbolSize / 2, symbolSize, symbolSize);
    SymbolFont::paint(painter, systemImage_, symbolBox, symbolSize, tint_.value_or(primary));

    painter.setFont(textFont());
    painter.setPen(primary);
    const double textX = symbolBox.right() + spacing;
    painter.drawText(QRectF(textX, 0, width() - textX, height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

} // namespace rondelix
