#include "overlay/ui/ProgramMark.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <thread>

namespace rondelix {
namespace {

QImage markAt(int side) {
    QImage image(side + 4, side + 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintProgramMark(painter, QRectF(2, 2, side, side), QColor(20, 40, 200));
    return image;
}

// Drawn where no mark was drawn before, so with shapes cut for this side alone.
QImage freshMarkAt(int side) {
    QImage image;
    std::thread([&] { image = markAt(side); }).join();
    return image;
}

TEST(ProgramMark, LooksTheSameAtEachSideWhateverSidesWereDrawnBefore) {
    const std::vector<int> sides{16, 64, 22, 16, 48, 64};
    std::vector<QImage> fresh;
    for (const int side : sides)
        fresh.push_back(freshMarkAt(side));
    // More sides than are kept, so the first are cut again.
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < sides.size(); ++i)
            EXPECT_EQ(markAt(sides[i]), fresh[i]) << "side " << sides[i] << ", round " << round;
        for (int side = 100; side < 120; ++side)
            markAt(side);
    }
}

} // namespace
} // namespace rondelix
