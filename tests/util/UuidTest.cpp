#include "util/Uuid.h"

#include <gtest/gtest.h>
#include <set>

using rondelix::Uuid;

TEST(Uuid, WritesUpperCaseAndReadsEitherCase) {
    const auto lower = Uuid::parse("6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->text(), "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B");
    EXPECT_EQ(Uuid::parse(lower->text()), lower);
}

TEST(Uuid, RejectsAnythingButTheTextForm) {
    for (const char* bad : {"", "6F1C2A3B4D5E4F608A7B9C0D1E2F3A4B", "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4",
                            "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4BB", "6F1C2A3B-4D5E-4F60-8A7B_9C0D1E2F3A4B",
                            "6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4G", "6F1C2A3-B4D5E-4F60-8A7B-9C0D1E2F3A4B",
                            "{6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A}"}) {
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
    }
}

TEST(Uuid, GeneratesDistinctVersionFourIds) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const Uuid id = Uuid::generate();
        const std::string text = id.text();
        EXPECT_EQ(text[14], '4');
        EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_TRUE(Uuid().isNil());
    EXPECT_EQ(Uuid().text(), "00000000-0000-0000-0000-000000000000");
}
