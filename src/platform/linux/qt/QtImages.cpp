#include "platform/linux/qt/QtImages.h"

#include "qtshared/NamedRasterReader.h"
#include "util/JpegScans.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>
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

// The most a reader may allocate for a picture of this size, in MiB: the
// widest pixels a reader makes (four floating-point channels, 16 bytes) for
// every pixel the picture declares. The caller has already held the size to
// the program's own limit, so no other limit refuses it; a reader that would
// need more than its picture declared is still refused.
int allocationLimitFor(QSize declared) {
    constexpr double widestPixelBytes = 16;
    const double mebibytes =
        static_cast<double>(declared.width()) * declared.height() * widestPixelBytes / (1 << 20);
    return static_cast<int>(std::min(std::ceil(mebibytes) + 1, double{std::numeric_limits<int>::max()}));
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

std::optional<std::string> QtImages::drawnAsPNG(std::string_view bytes, int width, int height,
                                                const Admission& admission) const {
    if (width <= 0 || height <= 0) return std::nullopt;
    QByteArray data = borrowed(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    const auto reader = readerOf(buffer);
    if (!reader) return std::nullopt;
    if (reader->format() == "jpeg" && jpegScanCount(bytes) > maxJpegScans) return std::nullopt;
    if (const QSize declared = reader->size(); declared.isValid())
        reader->setAllocationLimit(allocationLimitFor(declared));
    const auto admitted = admission.ask();
    if (!admitted) return std::nullopt;
    const QImage source = reader->read();
    if (source.isNull()) return std::nullopt;

    // Smooth scaling averages every source pixel, where a painter's
    // interpolation would sample and alias a large reduction. Shrunk first,
    // so that only the small picture is converted.
    const QImage scaled = source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    if (scaled.isNull()) return std::nullopt;
    // Only the pixels are written out: the texts and colour profile a picture
    // carries are outside bytes the PNG writer would otherwise pass on.
    const QImage bitmap =
        QImage(scaled.constBits(), width, height, scaled.bytesPerLine(), QImage::Format_ARGB32).copy();

    QByteArray png;
    QBuffer out(&png);
    if (!out.open(QIODevice::WriteOnly) || !bitmap.save(&out, "PNG") || png.isEmpty()) return std::nullopt;
    return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

} // namespace rondelix::platform::linux_desktop
