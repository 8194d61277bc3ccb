#include "app/CommandLine.h"

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
        {{"-h"}, Request::usageError, false, {}, "-h"},
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

} // namespace
} // namespace rondelix
