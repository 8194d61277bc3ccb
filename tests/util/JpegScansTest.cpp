#include "util/JpegScans.h"

#include <gtest/gtest.h>
#include <string>
#include <time.h>

using rondelix::jpegScanCount;

namespace {

const std::string start = "\xFF\xD8";
const std::string end = "\xFF\xD9";

double threadProcessorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A marker segment: its code, then its length (counting itself) and payload.
std::string segment(char code, const std::string& payload) {
    const std::size_t length = payload.size() + 2;
    return std::string{'\xFF', code, static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} +
           payload;
}

// A scan of one component's detail, then its coded data.
std::string scan(const std::string& coded = "\x12\x34") {
    return segment('\xDA', std::string("\x01\x01\x00\x01\x3F\x00", 6)) + coded;
}

} // namespace

TEST(JpegScans, CountsTheScansADecoderMeets) {
    const struct {
        const char* what;
        std::string bytes;
        std::size_t scans;
    } cases[] = {
        {"no JPEG", "GIF89a" + scan() + end, 0},
        {"nothing", "", 0},
        {"a marker's look-alike inside a segment",
         start + segment('\xE1', "Exif\xFF\xDA\x00\x02") + scan() + end, 1},
        {"stuffed bytes, restarts and fill in the coded data",
         start + scan(std::string("\x12\xFF\x00\x34\xFF\xD3\x56\xFF\xFF", 9)) + scan() + end, 2},
        {"nothing after the end of the image", start + scan() + end + scan() + scan(), 1},
        {"damage between markers", start + "damage" + scan() + "\x00\x01" + scan() + end, 2},
        {"a scan cut short in its header", start + scan() + "\xFF\xDA", 1},
        {"a segment longer than the file", start + scan() + "\xFF\xC4\xFF\xFF" + scan(), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jpegScanCount(c.bytes), c.scans) << c.what;
}

// The time is what is tested: a hundred mebibytes, the most of a picture
// the program reads, counted in a pass that takes a fraction of a second,
// where counting that went back over the bytes would take hours. The bound
// lies far from both.
TEST(JpegScans, CountsTheLargestPictureInOnePass) {
    // The piece repeated, doubling, to as many copies as fit in 100 MiB.
    const auto filled = [](const std::string& piece) {
        std::string bytes = piece;
        while (bytes.size() * 2 <= (100u << 20))
            bytes += bytes;
        return bytes;
    };
    const std::string scans = filled(scan());
    const std::string stuffed = filled(std::string("\xFF\x00", 2));
    const struct {
        std::string bytes;
        std::size_t scans;
    } cases[] = {{start + scans, scans.size() / scan().size()}, {start + scan() + stuffed, 1}};
    for (const auto& c : cases) {
        // The thread's processor time, which other work on the machine
        // leaves as it is: one pass takes a fraction of a second of it, a
        // pass for each scan far longer.
        const double began = threadProcessorSeconds();
        EXPECT_EQ(jpegScanCount(c.bytes), c.scans);
        EXPECT_LT(threadProcessorSeconds() - began, 5);
    }
}
