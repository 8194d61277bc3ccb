#include "icons/ui/CustomIconImage.h"

#include "support/CostlyPictures.h"
#include "util/JpegScans.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

// An icon file left by an older restore may be a JPEG: one with more scans
// than any camera or program writes would hold the window for minutes, and
// is shown as no picture instead.
TEST(CustomIconImage, DecodesNoJpegBeyondTheScanLimit) {
    EXPECT_TRUE(decodeCustomIcon(testing::jpegOfScans(maxJpegScans)));
    EXPECT_EQ(decodeCustomIcon(testing::jpegOfScans(maxJpegScans + 1)), std::nullopt);
}

} // namespace
} // namespace rondelix
