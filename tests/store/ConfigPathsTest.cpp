#include "store/ConfigPaths.h"

#include "support/StoreRig.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entries(folder, error); !error && entries != fs::directory_iterator();
         entries.increment(error))
        names.push_back(entries->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The automations a former "shortcuts" folder holds are never left behind:
// they move over, and the ones the new folder already has by name stay.
TEST(ConfigPaths, TheFormerShortcutsFolderHandsItsAutomationsOver) {
    const struct {
        const char* name;
        std::vector<std::string> former, current; // files; "-" for no folder
        std::string used;
        std::vector<std::string> inUse, left; // "-" for no folder left
    } cases[] = {
        {"none yet", {"-"}, {"-"}, "automations", {}, {"-"}},
        {"former only",
         {"Toggle Bluetooth", "Morning"},
         {"-"},
         "automations",
         {"Morning", "Toggle Bluetooth"},
         {"-"}},
        {"both",
         {"Morning", "Toggle Focus"},
         {"Morning", "Evening"},
         "automations",
         {"Evening", "Morning", "Toggle Focus"},
         {"Morning"}},
        {"both, nothing clashing",
         {"Toggle Focus"},
         {"Evening"},
         "automations",
         {"Evening", "Toggle Focus"},
         {"-"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::TempHome home;
        const fs::path folder = home.path / "rondelix";
        fs::create_directories(folder);
        const auto lay = [&](const std::string& name, const std::vector<std::string>& files) {
            if (files == std::vector<std::string>{"-"}) return;
            fs::create_directories(folder / name);
            for (const auto& file : files)
                std::ofstream(folder / name / file) << "#!/bin/sh\n";
        };
        lay("shortcuts", c.former);
        lay("automations", c.current);
        const ConfigPaths paths = ConfigPaths::in(folder);
        EXPECT_EQ(paths.automations, folder / c.used);
        EXPECT_EQ(namesIn(paths.automations), c.inUse);
        const bool formerLeft = fs::exists(folder / "shortcuts");
        EXPECT_EQ(formerLeft, c.left != std::vector<std::string>{"-"});
        if (formerLeft) {
            EXPECT_EQ(namesIn(folder / "shortcuts"), c.left);
        }
    }
}

} // namespace
} // namespace rondelix
