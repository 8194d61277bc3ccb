// How the program starts where it cannot run: each refusal is a sentence of
// its own and exit status 1, never the toolkit's abort.

#include "e2e/EndToEndRig.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AStartWithoutAReachableXDisplaySaysWhyAndEndsWithStatusOne) {
    const struct {
        const char* name;
        QProcessEnvironment environment;
        std::string sentence;
    } cases[] = {
        {"wayland",
         [] {
             QProcessEnvironment e;
             e.insert("DISPLAY", "");
             e.insert("WAYLAND_DISPLAY", "wayland-0");
             return e;
         }(),
         "Rondelix: can't start — it needs an X11 session for global input, and under a pure Wayland "
         "session the summon keys cannot be heard (no X display is set)."},
        {"unreachable",
         [] {
             QProcessEnvironment e;
             e.insert("DISPLAY", ":917");
             return e;
         }(),
         "Rondelix: can't start — can't reach the X display :917."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program program(home.path, c.name, {}, c.environment);
        EXPECT_EQ(program.exit(), 1) << program.log();
        EXPECT_TRUE(program.hasLine(c.sentence)) << program.log();
        EXPECT_FALSE(program.hasLine("Reinstalling")) << program.log();
    }
}

} // namespace
} // namespace rondelix::e2e
