// A quit in order: a start that comes with the termination signal is never
// answered by the program that is going, so one program runs afterwards; and
// keys typed before the signal reach the file.

#include "EndToEndRig.h"

#include <csignal>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace rondelix::e2e {
namespace {

// The server's ends of connections to the socket at `path` in `state`, as
// the kernel lists them with the socket's path: "02" while queued on the
// listener, "03" once the program has taken them.
int connectionsTo(const fs::path& path, const std::string& state) {
    std::istringstream table(readFile("/proc/net/unix"));
    int count = 0;
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, listed, inode, name;
        if (fields >> num >> refs >> protocol >> flags >> type >> listed >> inode >> name && name == path &&
            listed == state)
            ++count;
    }
    return count;
}

// A connection to the socket at `path`, made as a start makes it; -1 when
// none could be made.
int connectTo(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// What the program said to a request on `fd`: "hang-up" when it hung up
// without a word, which tells a start that its window came forward.
std::string answerOn(int fd) {
    pollfd answer{fd, POLLIN, 0};
    if (::poll(&answer, 1, static_cast<int>(patience * 1000)) != 1) return "nothing";
    char said[64];
    const ssize_t got = ::recv(fd, said, sizeof said, 0);
    if (got < 0) return std::strerror(errno);
    return got == 0 ? "hang-up" : std::string(said, static_cast<std::size_t>(got));
}

class QuitOrder : public EndToEnd {
  protected:
    fs::path instanceSocket() const { return home.path / "runtime/rondelix-instance"; }

    // Quits the running program and starts the next one as `quit` orders
    // the two (it is given the process and what starts the next); answers
    // whether the next one then runs alone.
    template <typename Quit> bool nextRunsAlone(int round, Quit quit) {
        std::unique_ptr<Program> next;
        quit(running->pid(),
             [&] { next = std::make_unique<Program>(home.path, "round-" + std::to_string(round)); });
        if (!next) return false;
        EXPECT_EQ(running->exit(), 0) << running->log();
        waitFor([&] { return next->hasLine("Rondelix: ready.") || next->hasLine("already running"); },
                patience);
        const bool alone = next->hasLine("Rondelix: ready.") && !next->exit(0);
        EXPECT_TRUE(alone) << "round " << round << ":\n" << next->log();
        if (!alone) {
            next = std::make_unique<Program>(home.path, "again-" + std::to_string(round));
            EXPECT_TRUE(next->waitForLine("Rondelix: ready.")) << next->log();
        }
        running = std::move(next);
        return alone;
    }
    void startFirst() {
        running = std::make_unique<Program>(home.path, "round-0");
        ASSERT_TRUE(running->waitForLine("Rondelix: ready.")) << running->log();
    }

    std::unique_ptr<Program> running;
};

// Two starts ask as the termination signal comes: one whose connection the
// program took before and whose request arrives with the signal, and one
// still queued. The program is stopped meanwhile, so that all three reach it
// at the same moment when it goes on.
TEST_F(QuitOrder, StartsThatAskAsTheProgramIsToldToQuitAreRefusedAndOneRunsAfterIt) {
    startFirst();
    int alone = 0, refused = 0;
    for (int round = 1; round <= 20; ++round)
        alone += nextRunsAlone(round, [&](pid_t going, const auto& startNext) {
            const int taken = connectTo(instanceSocket());
            EXPECT_TRUE(waitFor([this] { return connectionsTo(instanceSocket(), "03") > 0; }, patience));
            ASSERT_EQ(::kill(going, SIGSTOP), 0);
            const std::string request = "reopen\n";
            EXPECT_EQ(::send(taken, request.data(), request.size(), MSG_NOSIGNAL), 7);
            startNext();
            const bool queued =
                waitFor([this] { return connectionsTo(instanceSocket(), "02") > 0; }, patience);
            ::kill(going, SIGTERM);
            ::kill(going, SIGCONT);
            EXPECT_TRUE(queued) << "the start never asked";
            const std::string answer = answerOn(taken);
            ::close(taken);
            EXPECT_NE(answer, "hang-up") << "round " << round << ": a quitting program took a request";
            refused += answer != "hang-up";
        });
    EXPECT_EQ(alone, 20);
    EXPECT_EQ(refused, 20);
    std::printf("%d of 20 requests taken at the quit were refused; after %d of 20 quits one program ran\n",
                refused, alone);
    EXPECT_EQ(running->stop(), 0);
}

TEST_F(QuitOrder, AStartSoonAfterAQuitRunsAloneEveryTime) {
    startFirst();
    int alone = 0;
    for (int round = 1; round <= 100; ++round) {
        alone += nextRunsAlone(round, [round](pid_t going, const auto& startNext) {
            ASSERT_EQ(::kill(going, SIGTERM), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(round * 17 % 51));
            startNext();
        });
    }
    EXPECT_EQ(alone, 100);
    std::printf("%d of 100 starts 0 to 50 ms after a quit ran alone\n", alone);
    EXPECT_EQ(running->stop(), 0);
}

// The keys are typed while the program is stopped, and the signal comes
// before it reads them.
TEST_F(QuitOrder, KeysTypedJustBeforeAQuitAreSaved) {
    const auto configFile = home.configFolder() / "config.json";
    int kept = 0;
    for (int round = 1; round <= 5; ++round) {
        const Config before = *decodeConfigBytes(readFile(configFile));
        Program program(home.path, "round-" + std::to_string(round));
        const std::string id = readyMainWindow(program);
        ASSERT_FALSE(id.empty()) << program.log();
        const auto field = restingWheelNameField(id);
        ASSERT_TRUE(field) << "no wheel card";
        clickAt(*field);
        // The field has the keys once it hands its text over.
        xdotool("key End minus");
        QGuiApplication::clipboard()->clear();
        xdotool("key ctrl+a ctrl+c End");
        ASSERT_TRUE(waitServing([] { return QGuiApplication::clipboard()->text().endsWith('-'); }, patience));
        const std::string typed = "quit" + std::to_string(round) + "keys";
        ASSERT_EQ(::kill(program.pid(), SIGSTOP), 0);
        xdotool("type --delay 0 " + typed);
        ::kill(program.pid(), SIGTERM);
        ::kill(program.pid(), SIGCONT);
        EXPECT_EQ(program.exit(), 0) << program.log();
        const auto after = decodeConfigBytes(readFile(configFile));
        ASSERT_TRUE(after && after->wheels.size() == before.wheels.size());
        bool saved = false;
        for (std::size_t w = 0; w < before.wheels.size(); ++w)
            saved = saved || after->wheels[w].name == before.wheels[w].name + "-" + typed;
        EXPECT_TRUE(saved) << "round " << round << " lost keys of \"" << typed << "\"";
        kept += saved;
    }
    std::printf("%d of 5 quits kept every key typed before them\n", kept);
}

} // namespace
} // namespace rondelix::e2e
