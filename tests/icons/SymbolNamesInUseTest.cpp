#include "support/SymbolNamesInUse.h"

#include "icons/SymbolGlyphs.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {

// A name without a glyph of its own draws the question mark; none of the
// program's own may.
TEST(SymbolNamesInUse, EveryNameDrawsItsOwnGlyph) {
    const auto uses = testsupport::symbolNamesInUse();
    ASSERT_GT(uses.size(), 600u);
    const auto fallback = symbolGlyph("questionmark");
    for (const auto& use : uses) {
        const auto glyph = symbolGlyph(use.name);
        EXPECT_TRUE(glyph.has_value()) << use.name << " (" << use.where << ") has no glyph";
        if (use.name != "questionmark" && glyph) {
            EXPECT_NE(glyph, fallback) << use.name;
        }
    }
}

} // namespace
