#include "app/CommandLine.h"
#include "files/UserHome.h"
#include "platform/linux/process/InstanceSocket.h"
#include "platform/linux/process/ProgramExecutables.h"
#include "platform/linux/process/SystemLog.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

using namespace rondelix;
namespace desktop = platform::linux_desktop;

namespace {

// What the running instance, if any, said to the request to come forward.
// Only a start the program proper would not refuse asks: without a display
// or a home folder it says why it cannot start, whatever else runs.
desktop::InstanceSocket::Reply askTheRunningInstance(const CommandLine& line) {
    std::error_code error;
    if (!line.hasDisplay() || !std::filesystem::is_directory(userHomeFolder(), error)) return {};
    const auto socket = desktop::InstanceSocket::inRuntimeFolder();
    if (!socket.path) return {};
    return desktop::InstanceSocket::askToReopen(*socket.path);
}

} // namespace

// The command people start. It answers what needs no program running, brings
// a running instance forward, and otherwise becomes the program proper with
// the same arguments. It maps no toolkit library, so a start that ends here
// costs a few milliseconds.
int main(int argc, char** argv) {
    const CommandLine line = CommandLine::parse(std::vector<std::string>(argv, argv + argc));
    if (const auto status = line.answerWithoutRunning(RONDELIX_VERSION)) return *status;
    // Any failure to ask is the program proper's to report: it asks again,
    // under the lock that decides which start is the one instance.
    const auto reply = askTheRunningInstance(line);
    if (reply.answer == desktop::InstanceSocket::Answer::reopened) {
        std::fputs(CommandLine::handedOverText, stderr);
        return 0;
    }
    if (reply.answer == desktop::InstanceSocket::Answer::notResponding) {
        std::fputs(CommandLine::notRespondingText(reply.process).c_str(), stderr);
        return 1;
    }

    const auto program = desktop::ProgramExecutables::beside(desktop::ProgramExecutables::program);
    if (program) ::execv(program->c_str(), argv);
    const std::string why = program ? "its program file " + program->string() +
                                          " can't be run: " + std::generic_category().message(errno)
                                    : std::string("the folder of its program files can't be found");
    desktop::SystemLog log(line.verbose);
    log.tell("can't start — " + why + ".");
    return 1;
}
