#include "app/CommandLine.h"

#include "platform/XdgFolders.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace rondelix {

namespace {

// The toolkit's own options, written with one dash; it takes them with two as
// well, and a few also as "-style=name".
constexpr std::array toolkitOptionsWithValue{"display",       "platform",   "platformpluginpath",
                                             "platformtheme", "plugin",     "qwindowgeometry",
                                             "geometry",      "session",    "qwindowicon",
                                             "qwindowtitle",  "title",      "name",
                                             "style",         "stylesheet", "visual"};
constexpr std::array toolkitOptionsWithJoinedValue{"style", "stylesheet", "qmljsdebugger"};
constexpr std::array toolkitFlags{"reverse", "widgetcount", "nograb", "dograb", "sync"};

constexpr std::string_view usageLine = "Usage: rondelix [--verbose] [--help] [--version] [toolkit options]";

// The option's name without its dashes, or nothing for an argument that is
// not an option.
std::string_view optionName(std::string_view argument) {
    if (argument.size() < 2 || argument[0] != '-') return {};
    argument.remove_prefix(argument[1] == '-' ? 2 : 1);
    return argument;
}

template <std::size_t N> bool listed(const std::array<const char*, N>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [name](const char* known) { return name == known; });
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool help = false, version = false;
    if (!arguments.empty()) line.toolkitArguments.push_back(arguments.front());
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--verbose") {
            line.verbose = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            help = true;
            continue;
        }
        if (argument == "--version") {
            version = true;
            continue;
        }
        const std::string_view name = optionName(argument);
        const std::string_view bare = name.substr(0, name.find('='));
        if (listed(toolkitFlags, name) || (bare != name && listed(toolkitOptionsWithJoinedValue, bare))) {
            line.toolkitArguments.push_back(argument);
            continue;
        }
        if (listed(toolkitOptionsWithValue, name) && i + 1 < arguments.size()) {
            line.toolkitArguments.push_back(argument);
            line.toolkitArguments.push_back(arguments[++i]);
            continue;
        }
        if (line.unknown.empty()) line.unknown = argument;
    }
    if (!line.unknown.empty())
        line.request = Request::usageError;
    else if (help)
        line.request = Request::help;
    else if (version)
        line.request = Request::version;
    return line;
}

std::optional<int> CommandLine::answerWithoutRunning(const std::string& version) const {
    switch (request) {
    case Request::help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case Request::version:
        std::fputs(versionText(version).c_str(), stdout);
        return 0;
    case Request::usageError:
        std::fputs(usageErrorText().c_str(), stderr);
        return 2;
    case Request::run:
        break;
    }
    return std::nullopt;
}

bool CommandLine::hasDisplay() const {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return true;
    }
    for (const std::string& argument : toolkitArguments)
        for (const char* option : {"-display", "--display", "-platform", "--platform"})
            if (argument == option) return true;
    return false;
}

CommandLine::DisplayChoice CommandLine::displayChoice() const {
    DisplayChoice choice;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    choice.toolkitChosen = platform && *platform;
    if (const char* display = std::getenv("DISPLAY")) choice.xDisplay = display;
    for (std::size_t i = 0; i + 1 < toolkitArguments.size(); ++i) {
        const std::string_view name = optionName(toolkitArguments[i]);
        if (name == "platform") choice.toolkitChosen = true;
        if (name == "display") choice.xDisplay = toolkitArguments[i + 1];
    }
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY")) choice.wayland = *wayland != 0;
    return choice;
}

std::optional<std::string> CommandLine::DisplayChoice::refusal() const {
    if (toolkitChosen || !xDisplay.empty()) return std::nullopt;
    if (wayland)
        return "can't start — it needs an X11 session for global input, and under a pure Wayland session "
               "the summon keys cannot be heard (no X display is set).";
    return "can't start — it needs a graphical desktop session, and no display is set.";
}

std::string CommandLine::DisplayChoice::unreachable() const {
    return "can't start — can't reach the X display " + xDisplay + ".";
}

std::string CommandLine::helpText() {
    std::string text(usageLine);
    text += "\n"
            "A radial launcher: hold your summon keys anywhere to open a wheel of actions\n"
            "at the pointer, aim at a slice and let go to run it.\n"
            "\n"
            "  --verbose   also write the program's log lines to standard error\n"
            "  -h, --help  show this help and exit\n"
            "  --version   show the version and exit\n"
            "\n"
            "The toolkit's own options (-display, -platform, -style …) are passed on.\n"
            "Rondelix runs once per user: starting it again brings its window back.\n"
            "Its wheels and settings are kept in ";
    text += platform::shownWithTilde(platform::programConfigFolder());
    text += "/.\n";
    return text;
}

std::string CommandLine::versionText(const std::string& version) {
    std::string text = "rondelix ";
    text += version;
    text += "\n";
    return text;
}

std::string CommandLine::usageErrorText() const {
    std::string text = "rondelix: ";
    text += !unknown.empty() && unknown[0] == '-' ? "unrecognized option '" : "unexpected argument '";
    text += unknown;
    text += "'\n";
    text += usageLine;
    text += "\nTry 'rondelix --help' for more information.\n";
    return text;
}

std::string CommandLine::notRespondingText(int process) {
    std::string text = "Rondelix is already running";
    if (process > 0) text += " (process " + std::to_string(process) + ")";
    text += " but is not responding; nothing was brought forward. Start Rondelix again once it has ended.\n";
    return text;
}

std::string CommandLine::runningElsewhereText(int process) {
    std::string text = "Rondelix is already running for this user in another session";
    if (process > 0) text += " (process " + std::to_string(process) + ")";
    text += "; nothing was started.\n";
    return text;
}

std::string CommandLine::stillSavingText(int process) {
    std::string text = "The running Rondelix";
    if (process > 0) text += " (process " + std::to_string(process) + ")";
    text += " is still saving your wheels; nothing was started. Start Rondelix again once it has ended.\n";
    return text;
}

} // namespace rondelix
