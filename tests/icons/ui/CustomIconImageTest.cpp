#include "icons/ui/CustomIconImage.h"

#include "support/CostlyPictures.h"
#include "util/JpegScans.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

// What the drawer writes: the pixels alone, through Qt's PNG writer.
std::string drawnPng(int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return testing::encodedPicture(image, "png");
}

// Only a PNG as the drawer writes it is decoded: one carrying compressed
// texts that inflate to gigabytes, or a JPEG that costs minutes, was left by
// an older restore and would hold the window; it is shown as no picture
// until it has been drawn anew.
TEST(CustomIconImage, DecodesOnlyWhatTheDrawerWrites) {
    EXPECT_TRUE(decodeCustomIcon(drawnPng(256)));
    EXPECT_EQ(decodeCustomIcon(drawnPng(257)), std::nullopt);
    EXPECT_EQ(decodeCustomIcon(testing::commentedPng(60, 64, 3'000'000)), std::nullopt);
    EXPECT_EQ(decodeCustomIcon(testing::jpegOfScans(maxJpegScans + 1)), std::nullopt);
    EXPECT_EQ(decodeCustomIcon(testing::filledPicture(16, 16, Qt::red, "jpeg")), std::nullopt);
}

} // namespace
} // namespace rondelix
