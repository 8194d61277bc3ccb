#pragma once

// Pictures that cost a decoder far more than their size suggests, made in
// the test: none is kept as a file.

#include "util/JpegScans.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <string>

namespace rondelix::testing {

inline std::string encodedPicture(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes.toStdString();
}

inline std::string filledPicture(int width, int height, QColor colour, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return encodedPicture(image, format);
}

// A progressive JPEG of a plain square whose first scan of fine detail comes
// again `repeats` times: each repeat walks every block of the picture once
// more, yet adds only a few dozen bytes.
inline std::string repeatedScanJpeg(int side, int repeats) {
    QImage plain(side, side, QImage::Format_RGB32);
    plain.fill(QColor(200, 120, 40));
    const std::string jpeg = encodedPicture(plain, "jpeg", true);
    const auto byteAt = [&jpeg](std::size_t at) { return static_cast<unsigned char>(jpeg[at]); };
    for (std::size_t scan = jpeg.find("\xFF\xDA"); scan != std::string::npos;
         scan = jpeg.find("\xFF\xDA", scan + 2)) {
        const std::size_t components = byteAt(scan + 4);
        if (byteAt(scan + 5 + 2 * components) == 0) continue; // the coarse scan of each block's mean
        // The scan's coded data ends at the next marker: 0xFF that is neither
        // a stuffed byte nor a restart.
        std::size_t end = scan + 2 + (byteAt(scan + 2) << 8 | byteAt(scan + 3));
        while (!(byteAt(end) == 0xFF && byteAt(end + 1) != 0 && (byteAt(end + 1) & 0xF8) != 0xD0))
            ++end;
        std::string repeated = jpeg.substr(0, jpeg.size() - 2);
        for (int i = 0; i < repeats; ++i)
            repeated += jpeg.substr(scan, end - scan);
        return repeated + "\xFF\xD9";
    }
    return {};
}

// A small progressive JPEG of exactly this many scans, more than its writer makes.
inline std::string jpegOfScans(std::size_t scans) {
    const std::size_t written = jpegScanCount(repeatedScanJpeg(64, 0));
    return repeatedScanJpeg(64, static_cast<int>(scans - written));
}

// A small PNG carrying `chunks` compressed comments, each of which inflates
// to megabytes: a reader that reads comments spends a tenth of a second or
// more on each.
inline std::string commentedPng(int chunks, int side = 16, int inflated = 8'000'000) {
    const std::string plain = filledPicture(side, side, Qt::darkGreen, "png");
    // qCompress puts the length before the zlib stream.
    const QByteArray packed = qCompress(QByteArray(inflated, 'a'), 9).mid(4);
    const std::string body = "zTXtComment" + std::string(2, '\0') + packed.toStdString();
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : body) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    const auto bigEndian = [](std::uint32_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    };
    const std::string chunk = bigEndian(static_cast<std::uint32_t>(body.size() - 4)) + body + bigEndian(~crc);
    // After the header chunk, before the pixels.
    std::string png = plain.substr(0, 33);
    for (int i = 0; i < chunks; ++i)
        png += chunk;
    return png + plain.substr(33);
}

} // namespace rondelix::testing
