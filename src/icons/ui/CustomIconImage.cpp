#include "icons/ui/CustomIconImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

namespace rondelix {

namespace {

// Custom icons are at most 256 pixels; anything claiming to be far larger
// is refused before it is decoded.
constexpr int maxCustomImageSide = 4096;

} // namespace

std::optional<QIcon> decodeCustomIcon(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.width() > maxCustomImageSide ||
        declared.height() > maxCustomImageSide)
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return QIcon(QPixmap::fromImage(image));
}

} // namespace rondelix
