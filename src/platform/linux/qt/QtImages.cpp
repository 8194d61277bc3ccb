#include "platform/linux/qt/QtImages.h"

#include "qtshared/NamedRasterReader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <limits>

namespace rondelix::platform::linux_desktop {

namespace {

// An icon file with more frames than this is not a picture a user chose for
// a slice; the rest are not looked at.
constexpr int maxFramesExamined = 64;

QByteArray borrowed(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<qsizetype>::max())) return {};
    return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool isVectorFormat(const QByteArray& format) {
    return format == "svg" || format == "svgz";
}

} // namespace

std::unique_ptr<QImageReader> QtImages::readerOf(QIODevice& device) const {
    if (readers_ == Readers::namedRasters) return namedRasterReader(device);
    auto reader = std::make_unique<QImageReader>(&device);
    if (!reader->canRead() || isVectorFormat(reader->format())) return nullptr;
    return reader;
}

std::optional<PixelSize> QtImages::declaredSize(std::string_view bytes) const {
    QByteArray data = borrowed(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    const auto reader = readerOf(buffer);
    if (!reader) return std::nullopt;

    PixelSize largest;
    const int frames = std::clamp(reader->imageCount(), 1, maxFramesExamined);
    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0 && !reader->jumpToImage(frame)) break;
        const QSize size = reader->size();
        if (!size.isValid()) continue;
        largest.width = std::max(largest.width, static_cast<double>(size.width()));
        largest.height = std::max(largest.height, static_cast<double>(size.height()));
    }
    // A reader that cannot tell the size without decoding is treated as no
    // picture: nothing is decoded before its size is known.
    if (largest.width <= 0 || largest.height <= 0) return std::nullopt;
    return largest;
}

std::optional<std::string> QtImages::drawnAsPNG(std::string_view bytes, int width, int height) const {
    if (width <= 0 || height <= 0) return std::nullopt;
    QByteArray data = borrowed(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    const auto reader = readerOf(buffer);
    if (!reader) return std::nullopt;
    const QImage source = reader->read();
    if (source.isNull()) return std::nullopt;

    // Smooth scaling averages every source pixel, where a painter's
    // interpolation would sample and alias a large reduction.
    const QImage bitmap = source.convertToFormat(QImage::Format_ARGB32)
                              .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (bitmap.isNull()) return std::nullopt;

    QByteArray png;
    QBuffer out(&png);
    if (!out.open(QIODevice::WriteOnly) || !bitmap.save(&out, "PNG") || png.isEmpty()) return std::nullopt;
    return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

} // namespace rondelix::platform::linux_desktop
