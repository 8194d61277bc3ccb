// Unlocking the Development page from the About page's spinning mark, on the
// running program.

#include "EndToEndRig.h"

namespace rondelix {
namespace {

using namespace e2e;

// The page says so and the mark coasts on while the sidebar gains its row.
TEST_F(EndToEnd, SpinningTheAboutMarkUnlocksDevelopmentWithAToastWhileItCoasts) {
    Program program(home.path, "about-unlock");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    movePointer({800, 500});
    ASSERT_TRUE(downTheSidebar(id, 7)) << windowSize(id).width(); // to About

    // The mark is 96 points across at the top of the page column (x 220 on,
    // below the 20-point menu bar); the toast, a pill about 170 wide, lies
    // over its top. Beside the mark only the toast changes the page; below
    // the toast only the mark turns.
    const QPoint origin = windowOrigin(id);
    const QPoint mark(550, 88);
    const QRect besideMark(mark.x() - 82, 40, 30, 26), belowToast(mark.x() - 48, 76, 96, 56);
    const QImage before = grabWindow(id);
    movePointer(origin + mark);
    xdotool("click --repeat 5 --delay 30 1");
    QImage unlocked;
    EXPECT_TRUE(waitFor(
        [&] { return (unlocked = grabWindow(id)).copy(besideMark) != before.copy(besideMark); }, patience))
        << "no toast";
    unlocked.save(artifact("about-unlock-toast.png"));
    EXPECT_TRUE(
        waitFor([&] { return grabWindow(id).copy(belowToast) != unlocked.copy(belowToast); }, patience))
        << "the mark stopped turning";
    // Five clicks have the mark turning for seconds yet; the toast goes before.
    EXPECT_TRUE(
        waitFor([&] { return grabWindow(id).copy(besideMark) == before.copy(besideMark); }, patience));
}

} // namespace
} // namespace rondelix
