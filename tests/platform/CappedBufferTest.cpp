#include "platform/CappedBuffer.h"

#include <gtest/gtest.h>

namespace rondelix::platform {
namespace {

TEST(CappedBuffer, KeepsTheFirstBytesUpToTheCap) {
    CappedBuffer buffer(10);
    buffer.append("12345");
    buffer.append("67890abc");
    buffer.append("more");
    EXPECT_EQ(buffer.contents(), "1234567890");

    CappedBuffer nothing(0);
    nothing.append("x");
    EXPECT_EQ(nothing.contents(), "");
}

TEST(CappedBuffer, NeverEndsInsideAUtf8Sequence) {
    // Cuts after the first one, two and three bytes of a four-byte emoji.
    for (std::size_t cap = 4; cap <= 6; ++cap) {
        CappedBuffer buffer(cap);
        buffer.append("abc\xF0\x9F\x98\x80");
        EXPECT_EQ(buffer.contents(), "abc") << cap;
    }
    CappedBuffer whole(7);
    whole.append("abc\xF0\x9F\x98\x80");
    EXPECT_EQ(whole.contents(), "abc\xF0\x9F\x98\x80");
}

TEST(CappedBuffer, LeavesOtherInvalidBytesForTheReader) {
    EXPECT_EQ(withoutCutUtf8Tail("ab\xFF"), "ab\xFF");
    EXPECT_EQ(withoutCutUtf8Tail("\x80\x80"), "\x80\x80");
    EXPECT_EQ(withoutCutUtf8Tail("\xC3\xA9\xC3"), "\xC3\xA9");
    EXPECT_EQ(withoutCutUtf8Tail(""), "");
}

} // namespace
} // namespace rondelix::platform
