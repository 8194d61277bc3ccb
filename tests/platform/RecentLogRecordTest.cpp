#include "platform/RecentLogRecord.h"

#include <gtest/gtest.h>

namespace rondelix::platform {
namespace {

TEST(RecentLogRecord, KeepsTenMinutesAtMostSoManyLinesOfBoundedLength) {
    RecentLogRecord record;
    record.add(0, "old");
    record.add(100, "middle");
    record.add(650, "new");
    EXPECT_EQ(record.since(650, 600), (std::vector<std::string>{"middle", "new"}));
    EXPECT_EQ(record.since(650, 1), (std::vector<std::string>{"new"}));

    for (std::size_t i = 0; i < RecentLogRecord::maxLines + 10; ++i)
        record.add(700, std::string(RecentLogRecord::maxLineBytes * 3, 'x'));
    const auto lines = record.since(700, 600);
    EXPECT_EQ(lines.size(), RecentLogRecord::maxLines);
    EXPECT_EQ(lines.front().size(), RecentLogRecord::maxLineBytes);

    // A cut never splits a character.
    std::string accents;
    while (accents.size() < RecentLogRecord::maxLineBytes + 1)
        accents += "\u00E9";
    record.add(701, "x" + accents);
    EXPECT_EQ(record.since(701, 0.5).back().size(), RecentLogRecord::maxLineBytes - 1);
}

} // namespace
} // namespace rondelix::platform
