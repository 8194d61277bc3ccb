#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <vector>

// Keeps the folders of src/ in one order: an include may only point down.
namespace rondelix {
namespace {

namespace fs = std::filesystem;

// The logic folders from the bottom up; folders on one row are siblings and
// may not include each other.
const std::vector<std::vector<std::string>>& logicLevels() {
    static const std::vector<std::vector<std::string>> levels{
        {"util"},
        {"platform"},
        {"model"},
        {"files"},
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
    enum class Kind { logic, view, desktopPlatform, simPlatform, qtShared, compositionRoot };
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
    if (!levelOf(top)) return std::nullopt;
    return Unit{under("ui") ? Unit::Kind::view : Unit::Kind::logic, top};
}

// Why an include from one file to another breaks the order; nothing when it
// does not.
std::optional<std::string> violation(const std::string& from, const std::string& to) {
    const auto source = unitOf(from);
    const auto target = unitOf(to);
    if (!source) return "the folder of " + from + " has no place in the layer order";
    if (!target) return "the folder of " + to + " has no place in the layer order";
    using Kind = Unit::Kind;
    const bool sameFolder = source->folder == target->folder;
    const auto below = [&](int ceiling) { return *levelOf(target->folder) <= ceiling; };
    const int files = *levelOf("files");
    switch (source->kind) {
    case Kind::logic:
        if (target->kind != Kind::logic)
            return std::string("logic includes a view or a platform implementation");
        if (sameFolder || *levelOf(target->folder) < *levelOf(source->folder)) return std::nullopt;
        return "points up from " + source->folder + " to " + target->folder;
    case Kind::view:
        if (target->kind == Kind::logic || target->kind == Kind::qtShared) return std::nullopt;
        if (target->kind == Kind::view && (sameFolder || *levelOf(target->folder) < *levelOf(source->folder)))
            return std::nullopt;
        return "a view reaches " + to + " (views use platform/ interfaces, qtshared/ and lower views only)";
    case Kind::desktopPlatform:
    case Kind::simPlatform:
        if (target->kind == source->kind ||
            (target->kind == Kind::qtShared && source->kind == Kind::desktopPlatform))
            return std::nullopt;
        if (target->kind == Kind::logic && below(files)) return std::nullopt;
        return "a platform implementation reaches above the files layer: " + to;
    case Kind::qtShared:
        if (target->kind == Kind::qtShared || (target->kind == Kind::logic && below(*levelOf("platform"))))
            return std::nullopt;
        return "the shared Qt helpers reach " + to;
    case Kind::compositionRoot:
        if (target->kind == Kind::simPlatform)
            return std::string("the program is built on the simulated platform");
        return std::nullopt;
    }
    return std::nullopt;
}

TEST(IncludeDirection, JudgesArrowsByTheLayerOrder) {
    struct Case {
        const char* from;
        const char* to;
        bool allowed;
    };
    const Case cases[] = {
        {"engine/HotkeyManager.cpp", "model/WheelState.h", true},
        {"engine/HotkeyManager.cpp", "overlay/OverlayController.h", false},
        {"overlay/OverlayController.h", "engine/SummonOverlay.h", true},
        {"actions/MacroExecutor.cpp", "overlay/HUD.h", false},
        {"model/Config.h", "store/ConfigStore.h", false},
        {"store/ConfigStore.cpp", "files/FileAccess.h", true},
        {"overlay/Color.h", "overlay/ui/WheelPalette.h", false},
        {"overlay/ui/OverlayPanel.cpp", "platform/linux/X11Display.h", false},
        {"overlay/ui/OverlayPanel.cpp", "qtshared/DesktopCoordinates.h", true},
        {"app/ui/MainWindow.cpp", "overlay/ui/WheelView.h", true},
        {"overlay/ui/WheelView.cpp", "app/ui/MainWindow.h", false},
        {"platform/linux/JsonFileUserDefaults.cpp", "files/FileAccess.h", true},
        {"platform/linux/QtScreens.cpp", "store/ConfigStore.h", false},
        {"platform/sim/SimScreens.h", "platform/linux/QtScreens.h", false},
        {"platform/Screens.h", "model/Config.h", false},
        {"app/main/RondelixApp.cpp", "platform/linux/QtScreens.h", true},
        {"app/main/RondelixApp.cpp", "platform/sim/SimScreens.h", false},
        {"unknown/Thing.cpp", "util/Utf8.h", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!violation(c.from, c.to).has_value(), c.allowed) << c.from << " -> " << c.to;
}

bool isSourceFile(const fs::path& path) {
    const auto extension = path.extension();
    return extension == ".h" || extension == ".cpp";
}

TEST(IncludeDirection, EveryIncludeInTheSourceTreePointsDown) {
    const fs::path src = fs::path(RONDELIX_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(src));
    const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    const std::regex toolkit(R"(^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]+/.*|X11/.*|xcb/.*)>)");
    std::vector<std::string> problems;
    size_t checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file() || !isSourceFile(entry.path())) continue;
        const std::string from = fs::relative(entry.path(), src).generic_string();
        const auto unit = unitOf(from);
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            const std::string where = from + ":" + std::to_string(number) + ": ";
            if (unit && unit->kind == Unit::Kind::logic && std::regex_search(line, match, toolkit))
                problems.push_back(where + "logic includes <" + match[1].str() + ">");
            if (!std::regex_search(line, match, quoted)) continue;
            const std::string to = match[1].str();
            if (!fs::exists(src / to)) continue;
            ++checked;
            if (const auto why = violation(from, to)) problems.push_back(where + to + ": " + *why);
        }
    }
    EXPECT_GT(checked, 100u);
    std::string report;
    for (const auto& problem : problems)
        report += "  " + problem + "\n";
    EXPECT_TRUE(problems.empty()) << "includes against the layer order:\n" << report;
}

} // namespace
} // namespace rondelix
