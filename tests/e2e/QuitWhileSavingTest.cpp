// A quit right after typing in a large configuration, with a second start
// meanwhile: every character typed in either program reaches the file, in
// order. RONDELIX_QUIT_WHEELS sets how many small wheels join the factory
// ones and RONDELIX_QUIT_KEYS how many keys the first program takes before
// its quit (scripts/measure-quit runs it with 100,000 and 30 and reads the
// figures it prints).

#include "EndToEndRig.h"

#include <fcntl.h>
#include <sys/file.h>

namespace rondelix::e2e {
namespace {

int fromEnvironment(const char* name, int otherwise) {
    const char* asked = std::getenv(name);
    return asked ? std::atoi(asked) : otherwise;
}

Config withManyWheels(Config config, int count) {
    for (int w = 0; w < count; ++w)
        config.wheels.push_back(
            Wheel{"many-" + std::to_string(w + 1),
                  "Wheel number " + std::to_string(w + 1),
                  8,
                  {Slice{Uuid::generate(), 0, "Notes", Icon{}, MacroAction::Text{"Thanks!"}}},
                  std::nullopt});
    return config;
}

// Clicks the selected wheel's name field and types at its end, as fast as
// the keys go; answers the name the field holds once the program has taken
// every key (copied to the clipboard, which it answers only after them).
std::string typeIntoWheelName(const Program& program, const std::string& text) {
    const std::string id = readyMainWindow(program);
    EXPECT_FALSE(id.empty()) << program.log();
    const auto field = restingWheelNameField(id);
    if (!field) return {};
    clickAt(*field);
    xdotool("key End");
    xdotool("type --delay 0 '" + text + "'");
    QGuiApplication::clipboard()->clear();
    xdotool("key ctrl+a ctrl+c End");
    std::string shown;
    waitServing([&] { return !(shown = QGuiApplication::clipboard()->text().toStdString()).empty(); }, 30);
    return shown;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// When a process ended, watched from a thread of its own while the test
// drives another program meanwhile.
struct EndWatch {
    explicit EndWatch(pid_t process)
        : thread([this, stat = "/proc/" + std::to_string(process) + "/stat"] {
              // Ended once gone or a zombie: "<pid> (<name>) Z ...".
              const auto ended = [&] {
                  const std::string text = readFile(stat);
                  const auto state = text.rfind(") ");
                  return state == std::string::npos || text.compare(state + 2, 1, "Z") == 0;
              };
              while (!ended() && !stop)
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              at = Clock::now();
          }) {}
    ~EndWatch() {
        stop = true;
        if (thread.joinable()) thread.join();
    }
    Clock::time_point endedAt() {
        if (thread.joinable()) thread.join();
        return at;
    }

    std::atomic<bool> stop = false;
    Clock::time_point at;
    std::thread thread;
};

// Its exit status, also when the test's own event loop already saw it end.
std::optional<int> exitStatus(Program& program) {
    if (program.process.state() != QProcess::NotRunning && !program.process.waitForFinished(60000))
        return std::nullopt;
    return program.process.exitStatus() == QProcess::NormalExit ? program.process.exitCode() : -1;
}

class QuitWhileSaving : public EndToEnd {
  protected:
    // `wheelCount` and `keyCount` unless the environment names others (see above);
    // both programs run through `launcher` when one is given.
    void typeQuitAndStartAgain(int wheelCount, int keyCount, const QStringList& launcher = {});
};

void QuitWhileSaving::typeQuitAndStartAgain(int wheelCount, int keyCount, const QStringList& launcher) {
    const auto configFile = home.configFolder() / "config.json";
    const Config before = withManyWheels(*decodeConfigBytes(readFile(configFile)),
                                         fromEnvironment("RONDELIX_QUIT_WHEELS", wheelCount));
    writeFile(configFile, writeConfigFile(before));
    const auto fileSize = fs::file_size(configFile);
    // Typed faster than the program writes them, so saves wait when it quits.
    const std::string keys = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string firstBurst;
    for (int key = 0; key < fromEnvironment("RONDELIX_QUIT_KEYS", keyCount); ++key)
        firstBurst += keys[static_cast<std::size_t>(key) % keys.size()];
    const std::string secondBurst = "VWXYZ";

    Program first(home.path, "first", {}, {}, {}, false, {}, launcher);
    const std::string firstName = typeIntoWheelName(first, firstBurst);
    ASSERT_TRUE(firstName.ends_with(firstBurst)) << firstName;
    const auto quitAsked = Clock::now();
    ASSERT_EQ(::kill(first.pid(), SIGTERM), 0);
    EndWatch firstEnd(first.pid());
    // The second start comes as soon as the first has given up its place,
    // while it still writes.
    ASSERT_TRUE(waitFor([&] { return !fs::exists(home.path / "runtime/rondelix-instance"); }, patience));
    const auto secondStarted = Clock::now();
    Program second(home.path, "second", {}, {}, {}, false, {}, launcher);
    ASSERT_TRUE(waitFor([&] { return second.hasLine("Rondelix: ready."); }, 90)) << second.log();
    const double secondReadyAfter = secondsSince(secondStarted);
    EXPECT_EQ(typeIntoWheelName(second, secondBurst), firstName + secondBurst) << second.log();
    EXPECT_EQ(exitStatus(first), 0) << first.log();
    const double quitTook = std::chrono::duration<double>(firstEnd.endedAt() - quitAsked).count();

    const auto typedInto = [&]() -> std::optional<Wheel> {
        const auto onDisk = decodeConfigBytes(readFile(configFile));
        if (!onDisk || onDisk->wheels.size() != before.wheels.size()) return std::nullopt;
        for (std::size_t w = 0; w < before.wheels.size(); ++w)
            if (onDisk->wheels[w].name != before.wheels[w].name) return onDisk->wheels[w];
        return std::nullopt;
    };
    waitFor([&] { return typedInto() && typedInto()->name.ends_with(secondBurst); }, 30);
    EXPECT_EQ(second.stop(), 0);
    const auto written = typedInto();
    ASSERT_TRUE(written);
    const auto original = std::ranges::find(before.wheels, written->id, &Wheel::id);
    ASSERT_NE(original, before.wheels.end());
    EXPECT_EQ(written->name, original->name + firstBurst + secondBurst);
    EXPECT_FALSE(first.hasLine("config save failed")) << first.log();
    EXPECT_FALSE(second.hasLine("config save failed")) << second.log();
    const double secondWaited =
        std::max(0.0, std::chrono::duration<double>(firstEnd.endedAt() - secondStarted).count());
    std::printf("quit %.2f s after %zu keys in a %.1f MB file; the second start waited %.2f s and was ready "
                "%.2f s after it began\n",
                quitTook, firstBurst.size(), static_cast<double>(fileSize) / 1e6, secondWaited,
                secondReadyAfter);
}

TEST_F(QuitWhileSaving, AQuitWhileSavingAndASecondStartMeanwhileKeepEveryCharacterTypedInOrder) {
    typeQuitAndStartAgain(20000, 90);
}

// A lock file left without its write bits (as a restore may leave it) still
// makes the second start wait for the first one's last save. Permissions do
// not bind the superuser, so the programs run without its power over them.
// The larger file keeps the first program saving when the second starts.
TEST_F(QuitWhileSaving, WithALockFileTheUserMayOnlyReadAQuitAndAStartMeanwhileStillKeepEveryCharacter) {
    const auto lock = home.configFolder() / "config.json.lock";
    writeFile(lock, "");
    fs::permissions(lock, fs::perms::owner_read);
    ASSERT_FALSE(output("command -v setpriv").empty()) << "needs setpriv (util-linux)";
    typeQuitAndStartAgain(100000, 30, boundByPermissions);
    EXPECT_EQ(fs::status(lock).permissions(), fs::perms::owner_read);
}

// A start that finds the configuration held by another program waits for it,
// says so after a second, and starts once it is let go.
TEST_F(EndToEnd, AStartWaitsWhileAnotherProgramHoldsTheConfigurationAndSaysSo) {
    const int held =
        ::open((home.configFolder() / "config.json.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    Program program(home.path, "waiting");
    EXPECT_TRUE(program.waitForLine("Waiting for the running Rondelix to finish saving your wheels…"))
        << program.log();
    EXPECT_FALSE(program.hasLine("Rondelix: ready."));
    ::close(held);
    EXPECT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
