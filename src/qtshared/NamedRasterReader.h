#pragma once

#include <QIODevice>
#include <QImageReader>
#include <memory>

namespace rondelix {

// The raster formats a picture from a file may be in. Each reader is named
// and asked in turn, never chosen by guessing from the bytes: the reader a
// guess could pick for a vector drawing would read the files the drawing
// names, standard input among them, on the thread that reads.
inline constexpr const char* namedRasterFormats[] = {"png", "jpeg", "gif", "bmp", "webp", "tiff"};

// A reader of the device's bytes in the first named format whose reader
// takes them; none when no named reader does (or none is installed).
inline std::unique_ptr<QImageReader> namedRasterReader(QIODevice& device) {
    const qint64 start = device.pos();
    for (const char* format : namedRasterFormats) {
        // A reader that refuses the bytes may have read past what it looked at.
        if (!device.seek(start)) return nullptr;
        auto reader = std::make_unique<QImageReader>(&device, format);
        reader->setAutoDetectImageFormat(false);
        if (reader->canRead()) return reader;
    }
    return nullptr;
}

} // namespace rondelix
