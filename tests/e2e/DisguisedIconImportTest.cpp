#include "EndToEndRig.h"
#include "icons/Base64.h"
#include "store/SharedWheel.h"

#include <fcntl.h>
#include <sys/inotify.h>
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
    const fs::path hidden = home.path / "private";
    fs::create_directories(hidden);
    const fs::path secret = hidden / "secret.png";
    QImage red(64, 64, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(secret.string())));
    const fs::path input = hidden / "input";
    ASSERT_EQ(::mkfifo(input.c_str(), 0600), 0);
    // A writer that never writes: whoever reads the pipe waits for ever.
    const int writer = ::open(input.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);

    SharedWheel shared;
    shared.wheel.id = "disguised";
    shared.wheel.name = "Disguised";
    shared.wheel.sliceCount = 8;
    const std::string drawings[] = {pictureFrom(secret), pictureFrom("/dev/stdin"), finelyDashed()};
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
    Program program(home.path, "disguised-import", {}, {}, {}, false, input);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, hidden.c_str(), IN_OPEN | IN_ACCESS), 0);
    pause(0.6);
    const QRect window = windowGeometry(id);
    const auto button = [&](const char* text) {
        return window.topLeft() +
               measuredOnTwin(config, MainTab::wheels, window.size(), [text](MainWindow& twin) {
                   for (QPushButton* b : twin.findChildren<QPushButton*>())
                       if (b->isVisible() && b->text() == text) return b->mapTo(&twin, b->rect().center());
                   ADD_FAILURE() << "the twin shows no " << text;
                   return QPoint();
               });
    };
    const QPoint importButton = button("Import Wheel");
    const QPoint addButton = button("Add Wheel");

    // The file chooser takes the file's path, the review adds the wheel.
    clickAt(importButton);
    pause(1.5);
    xdotool("type --delay 10 '" + file.string() + "'");
    xdotool("key Return");
    pause(1.5);
    grabScreen().save(artifact("disguised-import-review.png"));
    xdotool("key Return");
    ASSERT_TRUE(waitFor([&] { return hasWheelNamed(home, "Disguised"); }, 5)) << program.log();
    pause(1.5);
    grabScreen().save(artifact("disguised-import-added.png"));

    // A click still answers: Add Wheel adds another.
    const std::size_t wheels =
        decodeConfigBytes(readFile(home.configFolder() / "config.json"))->wheels.size();
    clickAt(addButton);
    EXPECT_TRUE(waitFor([&] { return hasWheelNamed(home, "Disguised", wheels + 1); }, 5)) << program.log();

    const auto quit = Clock::now();
    const auto status = program.stop();
    const double seconds = std::chrono::duration<double>(Clock::now() - quit).count();
    std::printf("quit took %.2f s\n", seconds);
    EXPECT_EQ(status, 0) << program.log();
    EXPECT_LT(seconds, 3);

    char events[4096];
    EXPECT_LE(::read(watch, events, sizeof events), 0) << "a file the drawings name was opened";
    ::close(watch);
    ::close(writer);
    const std::string log = program.log();
    std::size_t dropped = 0;
    for (auto at = log.find("isn't a PNG icon"); at != std::string::npos;
         at = log.find("isn't a PNG icon", at + 1))
        ++dropped;
    EXPECT_EQ(dropped, 3u) << log;
}

} // namespace
} // namespace rondelix::e2e
