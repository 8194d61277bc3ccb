#include "app/ui/GlassBackdrop.h"

#include <QPainter>
#include <QWidget>

namespace rondelix {

GlassBackdrop::GlassBackdrop(QWidget& window, Environment environment)
    : window_(window), environment_(std::move(environment)) {
    window_.setAttribute(Qt::WA_TranslucentBackground);
    window_.setAttribute(Qt::WA_NoSystemBackground);
}

void GlassBackdrop::setGlass(bool on) {
    if (glass_ == on) return;
    glass_ = on;
    requestBlur();
    window_.update();
}

void GlassBackdrop::setCompositor(bool running) {
    if (environment_.compositor == running) return;
    environment_.compositor = running;
    blurOfferChanged();
}

void GlassBackdrop::blurOfferChanged() {
    blurred_ = askBlurred();
    requestBlur();
    window_.update();
}

// A compositor may stop blurring without saying so anywhere a window could
// hear it, so each showing asks again.
void GlassBackdrop::windowShown() {
    blurOfferChanged();
}

void GlassBackdrop::requestBlur() {
    if (environment_.compositor && environment_.requestBlur && window_.testAttribute(Qt::WA_WState_Created))
        environment_.requestBlur(window_, translucent());
}

bool GlassBackdrop::askBlurred() const {
    return environment_.compositor && environment_.blurOffered && environment_.blurOffered();
}

void GlassBackdrop::paint(QPainter& painter) const {
    QColor colour = window_.palette().color(QPalette::Window);
    if (translucent()) colour.setAlphaF(static_cast<float>(glassOpacity));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(window_.rect(), colour);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace rondelix
