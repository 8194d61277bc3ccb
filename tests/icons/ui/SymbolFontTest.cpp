#include "icons/ui/SymbolFont.h"

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

using namespace rondelix;

namespace {

constexpr const char* trueTypeFile =
    "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

std::string mappedFiles() {
    std::ifstream maps("/proc/self/maps");
    return {std::istreambuf_iterator<char>(maps), {}};
}

// The desktop also lists the family's compressed web fonts; a face taken from
// one of those is unpacked into memory, while the TrueType file is mapped.
TEST(SymbolFont, DrawsFromTheTrueTypeFileReadInPlace) {
    if (!std::filesystem::exists(trueTypeFile)) GTEST_SKIP() << "no Material Icons TrueType file";
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        SymbolFont::paint(painter, "bolt", QRectF(0, 0, 48, 48), 30, Qt::black);
    }
    ASSERT_TRUE(SymbolFont::isAvailable());
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qAlpha(image.pixel(x, y)) > 128;
    EXPECT_GT(inked, 50);
    const std::string maps = mappedFiles();
    EXPECT_NE(maps.find(trueTypeFile), std::string::npos);
}

} // namespace
