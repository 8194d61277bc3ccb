#include "store/SaveRefusal.h"

#include "files/FileAccess.h"

#include <gtest/gtest.h>

using namespace rondelix;

// A size past the most never reads as the most itself: the sentence shows as
// many places as it takes to tell them apart.
TEST(SaveRefusal, TheSizeAndTheMostReadApart) {
    const struct {
        std::uint64_t bytes;
        std::string shown;
    } rows[] = {
        {300'000'000, "(300.0 MB; the most is 268.4 MB)"},
        {268'500'000, "(268.5 MB; the most is 268.4 MB)"},
        {268'440'000, "(268.440 MB; the most is 268.435 MB)"},
        {maxConfigFileBytes + 3, "(268.435459 MB; the most is 268.435456 MB)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SaveRefusal::tooLargeToSave(row.bytes).sentence,
                  "Your wheels have grown too large to save " + row.shown +
                      "; changes are no longer being saved.")
            << row.bytes;
        EXPECT_TRUE(SaveRefusal::tooLargeToLoad(row.bytes, false)
                        .sentence.starts_with("config.json is too large to load " + row.shown))
            << row.bytes;
    }
}
