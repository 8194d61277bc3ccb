#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Keeps the folders of src/ in one order: an include may only point down, and
// the logic reaches nothing outside the project but the standard library and
// nlohmann-json.
namespace rondelix {
namespace {

namespace fs = std::filesystem;

// The logic folders from the bottom up; folders on one row are siblings and
// may not include each other. This is the one place the order is written.
const std::vector<std::vector<std::string>>& logicLevels() {
    static const std::vector<std::vector<std::string>> levels{
        {"util"},
        {"files"},
        {"platform"},
        {"model"},
        {"catalog"},
        {"icons"},
        {"gallery"},
        {"store"},
        {"engine"},
        {"actions", "overlay"},
        {"editor", "settings", "guides"},
        {"app"},
    };
    return levels;
}

std::optional<int> levelOf(const std::string& folder) {
    const auto& levels = logicLevels();
    for (size_t i = 0; i < levels.size(); ++i)
        if (std::find(levels[i].begin(), levels[i].end(), folder) != levels[i].end())
            return static_cast<int>(i);
    return std::nullopt;
}

// Where a path under src/ sits.
struct Unit {
    enum class Kind { logic, view, desktopPlatform, simPlatform, qtShared, compositionRoot, drawer };
    Kind kind;
    std::string folder; // the subsystem for logic and views
};

std::optional<Unit> unitOf(const std::string& path) {
    const auto slash = path.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::string top = path.substr(0, slash);
    const std::string rest = path.substr(slash + 1);
    const auto under = [&](const std::string& sub) { return rest.rfind(sub + "/", 0) == 0; };
    if (top == "qtshared") return Unit{Unit::Kind::qtShared, top};
    if (top == "platform" && under("linux")) return Unit{Unit::Kind::desktopPlatform, top};
    if (top == "platform" && under("sim")) return Unit{Unit::Kind::simPlatform, top};
    if (top == "app" && (under("main") || under("front"))) return Unit{Unit::Kind::compositionRoot, top};
    if (top == "app" && under("drawer")) return Unit{Unit::Kind::drawer, top};
    if (!levelOf(top)) return std::nullopt;
    return Unit{under("ui") ? Unit::Kind::view : Unit::Kind::logic, top};
}

std::set<std::string> words(const std::string& text) {
    std::istringstream list(text);
    return {std::istream_iterator<std::string>(list), {}};
}

// The headers of the C++20 standard library, the C ones in their <c…> form.
const std::set<std::string>& standardHeaders() {
    static const std::set<std::string> names = words(
        "algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono "
        "cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine "
        "csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque "
        "exception execution filesystem format forward_list fstream functional future initializer_list "
        "iomanip ios iosfwd iostream istream iterator latch limits list locale map memory memory_resource "
        "mutex new numbers numeric optional ostream queue random ranges ratio regex scoped_allocator "
        "semaphore set shared_mutex source_location span sstream stack stdexcept stop_token streambuf "
        "string string_view syncstream system_error thread tuple type_traits typeindex typeinfo "
        "unordered_map unordered_set utility valarray variant vector version");
    return names;
}

// What the logic may include from outside the project besides the standard
// library: the JSON library, and the compiler's own SSE2 intrinsics (code
// generation, not a system interface).
const std::set<std::string>& logicLibraryHeaders() {
    static const std::set<std::string> names{"nlohmann/json.hpp", "nlohmann/json_fwd.hpp", "emmintrin.h"};
    return names;
}

// The one logic folder that meets the file system below what std::filesystem
// offers: flushing to the disk, opening without following links or blocking on
// a FIFO, creation times, the password database's home folder, the file
// system a file lives on.
const std::string posixFolder = "files";
const std::set<std::string>& posixFileHeaders() {
    static const std::set<std::string> names{"fcntl.h",    "linux/magic.h", "pwd.h",
                                             "sys/stat.h", "sys/statfs.h",  "unistd.h"};
    return names;
}

bool isQtHeader(const std::string& name) {
    static const std::regex qt(R"(Q[A-Za-z0-9]*|Qt[A-Za-z]+/[A-Za-z0-9_]+(\.h)?)");
    return std::regex_match(name, qt);
}

// Why a file of this unit may not include a header from outside the project;
// nothing when it may.
std::optional<std::string> externalViolation(const Unit& unit, const std::string& name) {
    using Kind = Unit::Kind;
    const bool standard = standardHeaders().contains(name) || logicLibraryHeaders().contains(name);
    switch (unit.kind) {
    case Kind::logic:
        if (standard || (unit.folder == posixFolder && posixFileHeaders().contains(name)))
            return std::nullopt;
        return "logic includes <" + name + "> (logic uses the standard library and nlohmann-json only)";
    case Kind::view:
        if (standard || isQtHeader(name)) return std::nullopt;
        return "a view includes <" + name + "> (views use the standard library and Qt only)";
    case Kind::qtShared:
        // Qt hands native X events over as the protocol's own structs.
        if (standard || isQtHeader(name) || name == "xcb/xproto.h") return std::nullopt;
        return "the shared Qt helpers include <" + name + ">";
    case Kind::simPlatform:
        if (standard) return std::nullopt;
        return "the simulated platform includes <" + name + ">";
    case Kind::desktopPlatform:
    case Kind::compositionRoot:
    case Kind::drawer:
        return std::nullopt;
    }
    return std::nullopt;
}

// Why an include from one file under src/ to another breaks the order;
// nothing when it does not.
std::optional<std::string> arrowViolation(const Unit& source, const std::string& to) {
    const auto target = unitOf(to);
    if (!target) return "the folder of " + to + " has no place in the layer order";
    using Kind = Unit::Kind;
    const bool sameFolder = source.folder == target->folder;
    const auto atOrBelow = [&](const char* ceiling) { return *levelOf(target->folder) <= *levelOf(ceiling); };
    const bool lower = *levelOf(target->folder) < *levelOf(source.folder);
    switch (source.kind) {
    case Kind::logic:
        if (target->kind != Kind::logic)
            return std::string("logic includes a view or a platform implementation");
        if (sameFolder || lower) return std::nullopt;
        return "points up or sideways from " + source.folder + " to " + target->folder;
    case Kind::view:
        if (target->kind == Kind::qtShared) return std::nullopt;
        if ((target->kind == Kind::logic || target->kind == Kind::view) && (sameFolder || lower))
            return std::nullopt;
        if (target->kind == Kind::logic)
            return "a view in " + source.folder + "/ui reaches the logic of " + target->folder +
                   ", which is not below it";
        return "a view reaches " + to + " (views use lower logic and views, and qtshared/)";
    case Kind::desktopPlatform:
    case Kind::simPlatform:
        if (target->kind == source.kind ||
            (target->kind == Kind::qtShared && source.kind == Kind::desktopPlatform))
            return std::nullopt;
        if (target->kind == Kind::logic && atOrBelow("model")) return std::nullopt;
        return "a platform implementation reaches above the model: " + to;
    case Kind::qtShared:
        if (target->kind == Kind::qtShared || (target->kind == Kind::logic && atOrBelow("model")))
            return std::nullopt;
        return "the shared Qt helpers reach " + to;
    case Kind::compositionRoot:
        if (target->kind == Kind::simPlatform)
            return std::string("the program is built on the simulated platform");
        return std::nullopt;
    case Kind::drawer:
        // A program of its own, linked with Qt and the desktop platform's
        // image readers, which it runs for the program.
        if (target->kind == Kind::desktopPlatform && to.starts_with("platform/linux/qt/QtImages."))
            return std::nullopt;
        return "the drawer reaches " + to + " (it is built from Qt, the system and the image readers only)";
    }
    return std::nullopt;
}

// An include directive as written: its form and the name between the marks.
struct Include {
    bool angled;
    std::string name;
};

// The text as the preprocessor reads its directives: lines joined where they
// end in a backslash and comments turned into a space, string and character
// literals left whole. Each logical line comes with the number of the line it
// starts on. A comment that spans lines joins them, as it does for the compiler.
struct LogicalLine {
    int number;
    std::string text;
};
std::vector<LogicalLine> logicalLines(const std::string& source) {
    std::vector<LogicalLine> lines{{1, ""}};
    int physical = 1;
    const auto newline = [&] {
        ++physical;
        lines.push_back({physical, ""});
    };
    // Skips a backslash-newline at `i`, counting the line it ends.
    const auto spliced = [&](size_t& i) {
        const size_t after = source.compare(i, 3, "\\\r\n") == 0 ? 3
                             : source.compare(i, 2, "\\\n") == 0 ? 2
                                                                 : 0;
        if (after) ++physical, i += after;
        return after != 0;
    };
    for (size_t i = 0; i < source.size();) {
        if (spliced(i)) continue;
        const char c = source[i];
        if (c == '\n') {
            newline();
            ++i;
        } else if (source.compare(i, 2, "//") == 0) {
            while (i < source.size() && source[i] != '\n')
                if (!spliced(i)) ++i;
            lines.back().text += ' ';
        } else if (source.compare(i, 2, "/*") == 0) {
            const size_t end = source.find("*/", i + 2);
            const size_t stop = end == std::string::npos ? source.size() : end + 2;
            physical += static_cast<int>(std::count(source.begin() + static_cast<long>(i),
                                                    source.begin() + static_cast<long>(stop), '\n'));
            lines.back().text += ' ';
            i = stop;
        } else if (c == '"' || c == '\'') {
            // A raw string runs to its own delimiter, whatever it holds.
            const bool raw = c == '"' && i > 0 && source[i - 1] == 'R';
            const size_t open = raw ? source.find('(', i) : std::string::npos;
            size_t end;
            if (raw && open != std::string::npos) {
                const std::string close = ")" + source.substr(i + 1, open - i - 1) + "\"";
                end = source.find(close, open);
                end = end == std::string::npos ? source.size() : end + close.size();
            } else {
                end = i + 1;
                while (end < source.size() && source[end] != c && source[end] != '\n')
                    end += source[end] == '\\' ? 2 : 1;
                end = std::min(end, source.size());
                if (end < source.size() && source[end] == c) ++end; // a digit separator has no mate
            }
            const std::string literal = source.substr(i, end - i);
            physical += static_cast<int>(std::count(literal.begin(), literal.end(), '\n'));
            lines.back().text += literal;
            i = end;
        } else {
            lines.back().text += c;
            ++i;
        }
    }
    return lines;
}

// Nothing for a line that is no include; an include the checker cannot read
// (a macro) comes back with an empty name. An include_next is read as an
// include: it reaches the same headers, and so does the `%:` spelling of `#`.
std::optional<Include> includeOn(const std::string& line) {
    static const std::regex directive(R"(^\s*(?:#|%:)\s*include(?:_next)?\b\s*(.*))");
    static const std::regex written(R"re(^(?:"([^"]+)"|<([^>]+)>))re");
    std::smatch match;
    if (!std::regex_search(line, match, directive)) return std::nullopt;
    const std::string rest = match[1].str();
    if (!std::regex_search(rest, match, written)) return Include{false, ""};
    if (match[1].matched) return Include{false, match[1].str()};
    return Include{true, match[2].str()};
}

using Exists = std::function<bool(const std::string& pathUnderSrc)>;

// Resolves an include as the compiler does: a quoted name first beside the
// including file, then both forms under src/ (the one project include folder);
// what neither finds is a header from outside the project. Nothing when the
// name climbs out of src/.
std::optional<std::optional<std::string>> resolve(const std::string& from, const Include& include,
                                                  const Exists& exists) {
    std::vector<fs::path> candidates;
    if (!include.angled) candidates.push_back(fs::path(from).parent_path() / include.name);
    candidates.push_back(fs::path(include.name));
    for (const auto& candidate : candidates) {
        const std::string path = candidate.lexically_normal().generic_string();
        const bool outside = path == ".." || path.rfind("../", 0) == 0;
        if (!outside && exists(path)) return std::optional<std::string>(path);
        if (outside && !include.angled) return std::nullopt;
    }
    return std::optional<std::string>();
}

// Why this include in this file breaks the order; nothing when it does not.
std::optional<std::string> violation(const std::string& from, const Include& include, const Exists& exists) {
    const auto source = unitOf(from);
    if (!source) return "the folder of " + from + " has no place in the layer order";
    if (include.name.empty()) return std::string("an include that names no file as written");
    const auto resolved = resolve(from, include, exists);
    if (!resolved) return include.name + " leaves src/";
    if (*resolved) return arrowViolation(*source, **resolved);
    return externalViolation(*source, include.name);
}

TEST(IncludeDirection, CatchesIncludesAgainstTheOrder) {
    const std::set<std::string> tree = words(
        "app/AppCoordinator.h app/ui/MainWindow.h editor/WheelEditor.h engine/SummonOverlay.h "
        "engine/HotkeyManager.h files/FileAccess.h guides/DemoControl.h model/Config.h model/WheelState.h "
        "model/Color.h overlay/OverlayController.h overlay/ui/WheelPalette.h overlay/ui/WheelView.h "
        "platform/Screens.h platform/linux/qt/QtScreens.h platform/linux/x11/X11Display.h "
        "platform/sim/SimScreens.h "
        "qtshared/DesktopCoordinates.h settings/ui/AboutPage.h store/ConfigStore.h util/Utf8.h");
    const Exists exists = [&](const std::string& path) { return tree.contains(path); };
    struct Case {
        const char* from;
        const char* line;
        bool allowed;
    };
    const Case cases[] = {
        // Logic pointing up, however the include is spelled.
        {"engine/HotkeyManager.cpp", R"(#include "../app/AppCoordinator.h")", false},
        {"engine/HotkeyManager.cpp", R"(#include "app/AppCoordinator.h")", false},
        {"engine/HotkeyManager.cpp", R"(#include <app/AppCoordinator.h>)", false},
        {"engine/HotkeyManager.cpp", R"(  #  include "../engine/../app/AppCoordinator.h" // why)", false},
        {"store/ConfigStore.cpp", R"(#include <editor/WheelEditor.h>)", false},
        {"store/ConfigStore.cpp", R"(#include "../editor/WheelEditor.h")", false},
        {"model/Config.h", R"(#include "store/ConfigStore.h")", false},
        {"overlay/OverlayController.h", R"(#include "guides/DemoControl.h")", false},
        {"overlay/OverlayController.h", R"(#include "ui/WheelPalette.h")", false},
        {"engine/HotkeyManager.cpp", R"(#include "../../tests/support/Rig.h")", false},
        {"engine/HotkeyManager.cpp", R"(#include RONDELIX_HEADER)", false},
        {"engine/HotkeyManager.cpp", R"(#include_next <X11/Xlib.h>)", false},
        {"model/Config.h", R"(# include_next "store/ConfigStore.h")", false},
        {"model/Config.h", R"(%:include "store/ConfigStore.h")", false},
        {"model/Config.h", R"( %: include_next <QString>)", false},
        {"model/Config.h", R"(#/**/include <QString>)", false},
        {"model/Config.h", "#/* a comment\n   over two lines */ include <QString>", false},
        {"model/Config.h", "#\\\ninclude <QString>", false},
        {"model/Config.h", "#inc\\\nlude <QString>", false},
        {"model/Config.h", "#include /* why */ <QString>", false},
        {"model/Config.h", "// a note\n#include <QString>", false},
        {"unknown/Thing.cpp", R"(#include "util/Utf8.h")", false},
        // Logic reaching outside the standard library and nlohmann-json.
        {"model/Config.h", R"(#include <xkbcommon/xkbcommon.h>)", false},
        {"model/Config.h", R"(#include <unistd.h>)", false},
        {"model/Config.h", R"(#include "unistd.h")", false},
        {"model/Config.h", R"(#include <QString>)", false},
        {"engine/HotkeyManager.cpp", R"(#include <X11/Xlib.h>)", false},
        {"store/ConfigStore.cpp", R"(#include <sys/stat.h>)", false},
        // Views reaching up, sideways or into the desktop.
        {"overlay/ui/WheelView.cpp", R"(#include "app/AppCoordinator.h")", false},
        {"overlay/ui/WheelView.cpp", R"(#include "../../app/AppCoordinator.h")", false},
        {"overlay/ui/WheelView.cpp", R"(#include "app/ui/MainWindow.h")", false},
        {"settings/ui/AboutPage.cpp", R"(#include "guides/DemoControl.h")", false},
        {"overlay/ui/WheelView.cpp", R"(#include "platform/linux/x11/X11Display.h")", false},
        {"overlay/ui/WheelView.cpp", R"(#include <X11/Xlib.h>)", false},
        // Platform implementations and the program.
        {"platform/linux/qt/QtScreens.cpp", R"(#include "store/ConfigStore.h")", false},
        {"platform/sim/SimScreens.h", R"(#include "platform/linux/qt/QtScreens.h")", false},
        {"platform/sim/SimScreens.h", R"(#include <unistd.h>)", false},
        {"platform/Screens.h", R"(#include "model/Config.h")", false},
        {"app/main/RondelixApp.cpp", R"(#include "platform/sim/SimScreens.h")", false},
        {"app/drawer/main.cpp", R"(#include "util/Utf8.h")", false},
        {"app/drawer/main.cpp", R"(#include "platform/linux/qt/QtScreens.h")", false},
        // What the order allows.
        {"engine/HotkeyManager.cpp", R"(#include "model/WheelState.h")", true},
        {"engine/HotkeyManager.cpp", R"(#include "HotkeyManager.h")", true},
        {"overlay/OverlayController.h", R"(#include <engine/SummonOverlay.h>)", true},
        {"store/ConfigStore.cpp", R"(#include "../files/FileAccess.h")", true},
        {"model/Config.h", R"(#include <nlohmann/json.hpp>)", true},
        {"model/Config.h", R"(#include <string_view>)", true},
        {"files/FileAccess.cpp", R"(#include <unistd.h>)", true},
        {"overlay/ui/WheelView.cpp", R"(#include "WheelPalette.h")", true},
        {"overlay/ui/WheelView.cpp", R"(#include "model/Color.h")", true},
        {"overlay/ui/WheelView.cpp", R"(#include <QWidget>)", true},
        {"overlay/ui/WheelView.cpp", R"(#include "qtshared/DesktopCoordinates.h")", true},
        {"app/ui/MainWindow.h", R"(#include "overlay/ui/WheelView.h")", true},
        {"app/ui/MainWindow.h", R"(#include "app/AppCoordinator.h")", true},
        {"platform/linux/qt/QtScreens.cpp", R"(#include "model/Config.h")", true},
        {"platform/linux/x11/X11Display.cpp", R"(#include <X11/Xlib.h>)", true},
        {"app/main/RondelixApp.cpp", R"(#include "platform/linux/qt/QtScreens.h")", true},
        {"app/drawer/main.cpp", R"(#include <sys/prctl.h>)", true},
        {"app/drawer/main.cpp", R"(#include "platform/linux/qt/QtImages.h")", true},
    };
    for (const auto& c : cases) {
        std::optional<Include> include;
        for (const auto& line : logicalLines(c.line))
            if (!include) include = includeOn(line.text);
        ASSERT_TRUE(include) << c.line;
        const auto why = violation(c.from, *include, exists);
        EXPECT_EQ(!why.has_value(), c.allowed) << c.from << ": " << c.line << (why ? " -> " + *why : "");
    }
}

TEST(IncludeDirection, AnIncludeInACommentOrALiteralIsNone) {
    for (const char* text :
         {"// #include <QString>", "/*\n#include <QString>\n*/",
          "const char* s = R\"x(\n#include <QString>\n)x\";", "auto s = \"#include <QString>\";"})
        for (const auto& line : logicalLines(text))
            EXPECT_FALSE(includeOn(line.text)) << text;
    const auto lines = logicalLines("/* one\n two */\n#include <QString>\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].number, 3) << "a problem names the line the include stands on";
}

bool isSourceFile(const fs::path& path) {
    const auto extension = path.extension();
    return extension == ".h" || extension == ".cpp";
}

// Every problem of the files under one source folder, each with its place.
// Every file is read: one of another kind (an .inl, a .ipp) could carry
// includes the build compiles, so it is a problem of its own as well.
std::vector<std::string> problemsIn(const fs::path& src, size_t& checked) {
    const Exists exists = [&](const std::string& path) { return fs::is_regular_file(src / path); };
    std::vector<std::string> problems;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const std::string from = fs::relative(entry.path(), src).generic_string();
        if (!isSourceFile(entry.path()))
            problems.push_back(from + ": a file of a kind the check does not know (sources are .h and .cpp)");
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (const auto& [number, line] : logicalLines(text)) {
            const auto include = includeOn(line);
            if (!include) continue;
            ++checked;
            if (const auto why = violation(from, *include, exists))
                problems.push_back(from + ":" + std::to_string(number) + ": " + *why);
        }
    }
    return problems;
}

// A header of another kind would carry its includes past the check.
TEST(IncludeDirection, AFileOfAnotherKindIsNoWayAround) {
    const fs::path src = fs::path(testing::TempDir()) / "include-direction-src";
    fs::remove_all(src);
    fs::create_directories(src / "model");
    std::ofstream(src / "model/Config.h") << "#include \"model/Detail.inl\"\n";
    std::ofstream(src / "model/Detail.inl") << "#include <QString>\n";
    size_t checked = 0;
    const auto problems = problemsIn(src, checked);
    EXPECT_FALSE(problems.empty());
    EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [](const std::string& problem) {
        return problem.starts_with("model/Detail.inl");
    })) << ::testing::PrintToString(problems);
    fs::remove_all(src);
}

TEST(IncludeDirection, EveryIncludeInTheSourceTreeKeepsTheOrder) {
    const fs::path src = fs::path(RONDELIX_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(src));
    size_t checked = 0;
    const auto problems = problemsIn(src, checked);
    EXPECT_GT(checked, 1000u);
    std::string report;
    for (const auto& problem : problems)
        report += "  " + problem + "\n";
    EXPECT_TRUE(problems.empty()) << "includes against the layer order:\n" << report;
}

} // namespace
} // namespace rondelix
