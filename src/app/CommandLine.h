#pragma once

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

    // Texts for standard output (help, version) and standard error (usage).
    static std::string helpText();
    static std::string versionText(const std::string& version);
    std::string usageErrorText() const;
};

} // namespace rondelix
