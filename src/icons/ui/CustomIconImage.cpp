#include "icons/ui/CustomIconImage.h"

#include "qtshared/NamedRasterReader.h"
#include "util/JpegScans.h"

#include <QBuffer>
#include <QPixmap>

namespace rondelix {

namespace {

// Custom icons are at most 256 pixels; anything claiming to be far larger
// is refused before it is decoded.
constexpr int maxCustomImageSide = 4096;

} // namespace

// What an icon file may hold: the PNG that imports and restores write, and
// the pictures files restored before restores checked kept.
std::optional<QIcon> decodeCustomIcon(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const auto reader = namedRasterReader(buffer);
    if (!reader) return std::nullopt;
    const QSize declared = reader->size();
    if (!declared.isValid() || declared.width() > maxCustomImageSide ||
        declared.height() > maxCustomImageSide)
        return std::nullopt;
    if (reader->format() == "jpeg" && jpegScanCount(bytes) > maxJpegScans) return std::nullopt;
    const QImage image = reader->read();
    if (image.isNull()) return std::nullopt;
    return QIcon(QPixmap::fromImage(image));
}

} // namespace rondelix
