#include "ChosenPictures.h"
#include "EndToEndRig.h"
#include "icons/Base64.h"
#include "store/SharedWheel.h"
#include "support/OpenWatch.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace rondelix::e2e {
namespace {

std::string drawing(const std::string& inside) {
    return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
           R"(width="64" height="64" viewBox="0 0 100 100">)" +
           inside + "</svg>";
}

std::string pictureFrom(const fs::path& file) {
    return drawing(R"(<image width="100" height="100" href=")" + file.string() + R"(" xlink:href=")" +
                   file.string() + R"("/>)");
}

std::string finelyDashed() {
    std::string d = "M50 50";
    for (int i = 0; i < 180000; ++i)
        d += i % 2 ? "l-9 9" : "l9 -9";
    return drawing(R"(<path fill="none" stroke="#000" stroke-width="30" stroke-dasharray="0.01" d=")" + d +
                   R"("/>)");
}

// A standard input that never ends: a pipe whose writer never writes.
struct EndlessInput {
    explicit EndlessInput(const fs::path& path) : path(path) {
        if (::mkfifo(path.c_str(), 0600) == 0) writer = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    }
    ~EndlessInput() {
        if (writer >= 0) ::close(writer);
    }
    fs::path path;
    int writer = -1;
};

// What a drawing disguised as a picture could reach for: a folder of the
// user's own with a picture in it, and a standard input that never ends.
struct Bait {
    explicit Bait(const fs::path& home)
        : folder(made(home / "private")), secret(folder / "secret.png"), input(folder / "input") {
        QImage red(64, 64, QImage::Format_ARGB32);
        red.fill(Qt::red);
        ready = red.save(QString::fromStdString(secret.string())) && input.writer >= 0;
    }
    static fs::path made(const fs::path& folder) {
        fs::create_directories(folder);
        return folder;
    }

    fs::path folder;
    fs::path secret;
    EndlessInput input;
    bool ready = false;
};

// A quit ends the program, and cleanly, also while its standard input never
// ends and a picture is being read. How long the quit takes is printed; the
// program's background work that a quit leaves behind is timed by
// DetachingBackgroundTest, where no other program shares the clock.
void expectQuit(Program& program) {
    const auto quit = Clock::now();
    program.process.terminate();
    const auto status = program.exit();
    const double seconds = std::chrono::duration<double>(Clock::now() - quit).count();
    std::printf("[ measured ] quit took %.2f s\n", seconds);
    EXPECT_EQ(status, 0) << program.log();
}

bool hasWheelNamed(const TestHome& home, const std::string& name, std::size_t wheels = 0) {
    const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    return config && (wheels == 0 || config->wheels.size() == wheels) &&
           std::ranges::any_of(config->wheels, [&](const Wheel& w) { return w.name == name; });
}

// A shared wheel whose pictures are drawings carried under PNG names, added
// through the program's own import window, the program reading its standard
// input from a pipe that never ends. The wheel is added with placeholders;
// nothing reads the files the drawings name or the standard input, and the
// window answers clicks and a quit as before.
TEST_F(EndToEnd, ADrawingCarriedAsAPictureIsNeitherReadNorDrawn) {
    const Bait bait(home.path);
    ASSERT_TRUE(bait.ready);

    SharedWheel shared;
    shared.wheel.id = "disguised";
    shared.wheel.name = "Disguised";
    shared.wheel.sliceCount = 8;
    const std::string drawings[] = {pictureFrom(bait.secret), pictureFrom("/dev/stdin"), finelyDashed()};
    for (int i = 0; i < 3; ++i) {
        const std::string name = Uuid::generate().text() + ".png";
        shared.icons[name] = Base64::encode(drawings[i]);
        shared.wheel.slices.push_back(Slice{Uuid::generate(), i, "Slice " + std::to_string(i),
                                            Icon{Icon::CustomImage{name}}, MacroAction::Text{"hello"}});
    }
    const fs::path file = home.path / "disguised.rondix";
    writeFile(file, shared.fileBytes());
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));

    xdotool("mousemove 1599 999");
    Program program(home.path, "disguised-import", {}, {}, {}, false, bait.input.path);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const testsupport::OpenWatch watch(bait.folder);
    ASSERT_TRUE(watch.watching()) << watch.problem;
    stillScreen(windowGeometry(id));
    const QRect window = windowGeometry(id);
    const QPoint importButton = buttonOnMyWheels(config, window, "Import Wheel");
    const QPoint addButton = buttonOnMyWheels(config, window, "Add Wheel");

    // The file chooser takes the file's path, the review adds the wheel.
    const std::set<std::string> before = windowsOf(program);
    clickAt(importButton);
    const std::string chooser = newWindowOf(program, before);
    ASSERT_FALSE(chooser.empty()) << "no file chooser";
    xdotool("type --delay 10 '" + file.string() + "'");
    std::set<std::string> known = before;
    known.insert(chooser);
    xdotool("key Return");
    ASSERT_FALSE(newWindowOf(program, known).empty()) << "no review";
    grabScreen().save(artifact("disguised-import-review.png"));
    xdotool("key Return");
    ASSERT_TRUE(waitFor([&] { return hasWheelNamed(home, "Disguised"); }, patience)) << program.log();
    stillScreen(window).save(artifact("disguised-import-added.png"));

    // A click still answers: Add Wheel adds another.
    const std::size_t wheels =
        decodeConfigBytes(readFile(home.configFolder() / "config.json"))->wheels.size();
    clickAt(addButton);
    EXPECT_TRUE(waitFor([&] { return hasWheelNamed(home, "Disguised", wheels + 1); }, patience))
        << program.log();

    expectQuit(program);

    EXPECT_FALSE(watch.touched()) << "a file the drawings name was opened";
    const std::string log = program.log();
    std::size_t dropped = 0;
    for (auto at = log.find("isn't a PNG icon"); at != std::string::npos;
         at = log.find("isn't a PNG icon", at + 1))
        ++dropped;
    EXPECT_EQ(dropped, 3u) << log;
}

// Pictures picked through Choose Image…, the program reading its standard
// input from a pipe that never ends: a drawing under a picture's name, which
// names a picture of the user's own and the standard input, is refused with
// the form's sentence, opening neither; the window answers, a real picture
// is then stored, also while a second start brings the window forward, and
// a quit while a large picture is read ends the program at once.
TEST_F(EndToEnd, APictureChosenIsReadAsAPictureOnlyAwayFromTheWindow) {
    const Bait bait(home.path);
    ASSERT_TRUE(bait.ready);
    const fs::path disguised = home.path / "icon.png";
    writeFile(disguised, drawing(R"(<image width="50" height="100" xlink:href=")" + bait.secret.string() +
                                 R"("/><image x="50" width="50" height="100" xlink:href="/dev/stdin"/>)"));
    const fs::path blue = home.path / "blue.png";
    QImage picture(300, 200, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(blue.string())));
    // Large enough to take a moment to read and shrink.
    const fs::path large = home.path / "large.png";
    QImage noise(4000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, static_cast<QRgb>((x * 2654435761u) ^ (y * 40503u)));
    ASSERT_TRUE(noise.save(QString::fromStdString(large.string())));

    withTopSliceAwaitingAPicture(home);

    xdotool("mousemove 1599 999");
    Program program(home.path, "chosen-picture", {}, {}, {}, false, bait.input.path);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const testsupport::OpenWatch watch(bait.folder);
    ASSERT_TRUE(watch.watching()) << watch.problem;
    const QRect window = windowGeometry(id);
    stillScreen(window);
    const QPoint chooseButton = chooseImageButton(home, window);
    const auto choose = [&](const fs::path& file) {
        choosePicture(program, chooseImageButton(home, window), file);
    };

    // The form tells why under the button, in orange.
    choose(disguised);
    EXPECT_TRUE(waitFor([&] { return refusalShownUnder(window, chooseButton); }, patience))
        << "the refusal was not told";
    stillScreen(window).save(artifact("chosen-picture-refused.png"));
    EXPECT_EQ(topImage(home), "") << program.log();

    // The window still answers: the next choice is stored.
    choose(blue);
    EXPECT_TRUE(waitFor([&] { return !topImage(home).value_or("").empty(); }, patience)) << program.log();
    stillScreen(window).save(artifact("chosen-picture-stored.png"));
    const std::string first = topImage(home).value_or("");
    const QImage stored(QString::fromStdString((home.configFolder() / "icons" / first).string()), "PNG");
    EXPECT_EQ(stored.size(), QSize(256, 171));

    // A second start while a large picture is read hands over and ends.
    choose(large);
    Program second(home.path, "chosen-picture-second");
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(waitFor([&] { return topImage(home).value_or(first) != first; }, patience)) << program.log();

    // A quit while one is read ends the program at once.
    choose(large);
    expectQuit(program);
    EXPECT_TRUE(decodeConfigBytes(readFile(home.configFolder() / "config.json")).has_value());
    EXPECT_FALSE(watch.touched()) << "a file the drawing names was opened";
}

} // namespace
} // namespace rondelix::e2e
