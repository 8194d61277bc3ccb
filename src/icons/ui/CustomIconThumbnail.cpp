#include "icons/ui/CustomIconThumbnail.h"

#include "icons/IconStore.h"
#include "icons/ui/CustomIconImage.h"
#include "icons/ui/SymbolFont.h"

#include <QPainter>

namespace rondelix {

namespace {

constexpr double padding = 3;

} // namespace

CustomIconThumbnail::CustomIconThumbnail(QWidget* parent) : QWidget(parent) {}

void CustomIconThumbnail::setFilename(const std::string& filename) {
    if (filename == filename_ && !image_.isNull()) return;
    filename_ = filename;
    const auto bytes = filename_.empty() ? std::nullopt : IconStore::load(filename_);
    const auto decoded = bytes ? decodeCustomIcon(*bytes) : std::nullopt;
    image_ = decoded.value_or(QIcon());
    update();
}

void CustomIconThumbnail::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(padding, padding, -padding, -padding);
    if (image_.isNull()) {
        const double side = std::min(width(), height());
        SymbolFont::paint(painter, "photo", QRectF(rect()), side * 0.5,
                          palette().color(QPalette::PlaceholderText));
        return;
    }
    const QSize available = frame.size().toSize();
    const QPixmap pixmap = image_.pixmap(available, devicePixelRatioF());
    QSizeF fitted = pixmap.deviceIndependentSize();
    fitted.scale(frame.size(), Qt::KeepAspectRatio);
    const QRectF target(frame.center().x() - fitted.width() / 2, frame.center().y() - fitted.height() / 2,
                        fitted.width(), fitted.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pixmap, QRectF(QPointF(0, 0), pixmap.size()));
}

} // namespace rondelix
