#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// What the program was asked to do on its command line. The program has three
// options of its own; the toolkit's options (-display, -platform, -style …)
// are passed on to it untouched; anything else is a mistake the usage names.
struct CommandLine {
    enum class Request { run, help, version, usageError };

    Request request = Request::run;
    bool verbose = false;
    // The first argument neither the program nor the toolkit knows.
    std::string unknown;
    // The program's name followed by the toolkit's options, in their order.
    std::vector<std::string> toolkitArguments;

    // `arguments` starts with the program's name, as argv does.
    static CommandLine parse(const std::vector<std::string>& arguments);

    // Help, version and usage need no display and no running instance: writes
    // the answer and gives the exit status; nothing for a start that runs.
    std::optional<int> answerWithoutRunning(const std::string& version) const;
    // A display in the environment, or a display or platform given to the toolkit.
    bool hasDisplay() const;

    // Which display the toolkit will open. The program's windows and its
    // global input go through X: unless the toolkit's platform was chosen by
    // hand, an X display must be set and reachable before the toolkit starts,
    // or the toolkit ends the process with a message of its own.
    struct DisplayChoice {
        bool toolkitChosen = false; // QT_QPA_PLATFORM or -platform
        std::string xDisplay;       // -display, else $DISPLAY
        bool wayland = false;       // $WAYLAND_DISPLAY is set
        // Why the program cannot start before trying the display, if it cannot.
        std::optional<std::string> refusal() const;
        // Why it cannot start when the X display did not answer.
        std::string unreachable() const;
    };
    DisplayChoice displayChoice() const;

    // Texts for standard output (help, version) and standard error (usage,
    // a start that only brought the running instance forward).
    static std::string helpText();
    static std::string versionText(const std::string& version);
    std::string usageErrorText() const;
    static constexpr const char* handedOverText =
        "Rondelix is already running; its window was brought forward.\n";
    // A running instance that holds the place but takes no request (stopped,
    // or hung); `process` is its id, 0 when unknown.
    static std::string notRespondingText(int process);
    // A start that finds a quitting instance still writing the configuration
    // waits for it before reading the file.
    static constexpr const char* waitingForSaveText =
        "Waiting for the running Rondelix to finish saving your wheels…\n";
    // It did not finish within the wait; `process` is its id, 0 when unknown.
    static std::string stillSavingText(int process);
    // A start that finds the configuration held by an instance that runs
    // on, in another session of the same user, starts nothing.
    static std::string runningElsewhereText(int process);
};

} // namespace rondelix
