#include "icons/ui/CustomIconImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

namespace rondelix {

namespace {

// Custom icons are at most 256 pixels; anything claiming to be far larger
// is refused before it is decoded.
constexpr int maxCustomImageSide = 4096;

// What an icon file may hold: the PNG that imports and restores write, and
// the pictures files restored before restores checked kept. Each is named,
// so that no reader is ever chosen by guessing from the bytes: a vector
// drawing's reader would read the files the drawing names, on this thread.
constexpr const char* rasterFormats[] = {"png", "jpeg", "gif", "bmp", "webp"};

} // namespace

std::optional<QIcon> decodeCustomIcon(const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (const char* format : rasterFormats) {
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead()) continue;
        const QSize declared = reader.size();
        if (!declared.isValid() || declared.width() > maxCustomImageSide ||
            declared.height() > maxCustomImageSide)
            return std::nullopt;
        const QImage image = reader.read();
        if (image.isNull()) return std::nullopt;
        return QIcon(QPixmap::fromImage(image));
    }
    return std::nullopt;
}

} // namespace rondelix
