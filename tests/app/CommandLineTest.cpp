#include "app/CommandLine.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using Request = CommandLine::Request;
using Arguments = std::vector<std::string>;

TEST(CommandLine, SortsOwnOptionsToolkitOptionsAndMistakes) {
    const struct {
        Arguments arguments;
        Request request;
        bool verbose;
        Arguments toolkit; // after the program's name
        std::string unknown;
    } cases[] = {
        {{}, Request::run, false, {}, ""},
        {{"--verbose"}, Request::run, true, {}, ""},
        {{"--help"}, Request::help, false, {}, ""},
        {{"--version", "--verbose"}, Request::version, true, {}, ""},
        {{"--version", "--help"}, Request::help, false, {}, ""},
        {{"-display", ":3", "--verbose", "-platform", "xcb"},
         Request::run,
         true,
         {"-display", ":3", "-platform", "xcb"},
         ""},
        {{"--platform", "offscreen", "-style=fusion", "-reverse"},
         Request::run,
         false,
         {"--platform", "offscreen", "-style=fusion", "-reverse"},
         ""},
        // A value is never read as an option of the program's own.
        {{"-title", "--help"}, Request::run, false, {"-title", "--help"}, ""},
        {{"-display"}, Request::usageError, false, {}, "-display"},
        {{"--bogus", "--help"}, Request::usageError, false, {}, "--bogus"},
        {{"-h"}, Request::help, false, {}, ""},
        {{"--verbose=1"}, Request::usageError, false, {}, "--verbose=1"},
        {{"-display=:3"}, Request::usageError, false, {}, "-display=:3"},
        {{"notes.txt", "--also"}, Request::usageError, false, {}, "notes.txt"},
        {{"-"}, Request::usageError, false, {}, "-"},
    };
    for (const auto& c : cases) {
        Arguments argv{"/usr/bin/rondelix"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const CommandLine line = CommandLine::parse(argv);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        EXPECT_EQ(line.request, c.request);
        EXPECT_EQ(line.unknown, c.unknown);
        if (c.request == Request::usageError) continue;
        EXPECT_EQ(line.verbose, c.verbose);
        Arguments toolkit{"/usr/bin/rondelix"};
        toolkit.insert(toolkit.end(), c.toolkit.begin(), c.toolkit.end());
        EXPECT_EQ(line.toolkitArguments, toolkit);
    }
}

// The display the toolkit would open, and whether the program refuses to start
// before trying it.
TEST(CommandLine, ChoosesTheDisplayToCheckBeforeTheToolkitStarts) {
    const struct {
        const char* display;  // nullptr: unset
        const char* wayland;  // nullptr: unset
        const char* platform; // QT_QPA_PLATFORM, nullptr: unset
        Arguments arguments;
        std::string xDisplay;
        bool toolkitChosen;
        std::string refusalStart; // empty: none
    } cases[] = {
        {":0", nullptr, nullptr, {}, ":0", false, ""},
        {":0", nullptr, nullptr, {"-display", ":5"}, ":5", false, ""},
        {nullptr, nullptr, nullptr, {"--display", ":5"}, ":5", false, ""},
        {nullptr, "wayland-0", nullptr, {}, "", false, "can't start — it needs an X11 session"},
        {"", "wayland-0", nullptr, {}, "", false, "can't start — it needs an X11 session"},
        {nullptr, nullptr, nullptr, {}, "", false, "can't start — it needs a graphical desktop session"},
        {nullptr, nullptr, "offscreen", {}, "", true, ""},
        {nullptr, "wayland-0", nullptr, {"-platform", "wayland"}, "", true, ""},
    };
    const auto set = [](const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    const std::string saved[] = {std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "",
                                 std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : ""};
    for (const auto& c : cases) {
        set("DISPLAY", c.display);
        set("WAYLAND_DISPLAY", c.wayland);
        set("QT_QPA_PLATFORM", c.platform);
        Arguments argv{"rondelix"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const auto choice = CommandLine::parse(argv).displayChoice();
        SCOPED_TRACE(testing::PrintToString(c.arguments) + " DISPLAY=" + (c.display ? c.display : "-"));
        EXPECT_EQ(choice.xDisplay, c.xDisplay);
        EXPECT_EQ(choice.toolkitChosen, c.toolkitChosen);
        EXPECT_EQ(choice.refusal().value_or("").substr(0, c.refusalStart.size()), c.refusalStart);
        EXPECT_EQ(choice.refusal().has_value(), !c.refusalStart.empty());
    }
    set("DISPLAY", saved[0].empty() ? nullptr : saved[0].c_str());
    set("WAYLAND_DISPLAY", nullptr);
    set("QT_QPA_PLATFORM", saved[1].empty() ? nullptr : saved[1].c_str());
}

} // namespace
} // namespace rondelix
