#include "platform/XdgFolders.h"

#include "icons/IconStore.h"
#include "support/StoreRig.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

// The environment of one case, put back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value == "<unset>")
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

enum Folder { none, empty, holding };

void lay(const fs::path& folder, Folder what) {
    if (what == none) return;
    fs::create_directories(folder);
    if (what == holding) testing::writeText(folder / "config.json", "{}");
}

// $XDG_CONFIG_HOME places the configuration when it is absolute; one that
// already lives in ~/.config/rondelix stays in use until the new place has
// one. A folder without a configuration file in it does not count.
TEST(XdgFolders, PlacesTheConfigurationFolderWithoutLeavingAnOldOneBehind) {
    const struct {
        const char* name;
        std::string variable; // "<home>" stands for the home folder
        Folder oldFolder, newFolder;
        std::string expected; // relative to the home folder
    } cases[] = {
        {"unset", "<unset>", none, none, ".config/rondelix"},
        {"empty", "", holding, none, ".config/rondelix"},
        {"relative", "elsewhere", none, none, ".config/rondelix"},
        {"absolute", "<home>/xdg", none, none, "xdg/rondelix"},
        {"absolute, old one kept", "<home>/xdg", holding, none, ".config/rondelix"},
        {"absolute, old one kept, new one empty", "<home>/xdg", holding, empty, ".config/rondelix"},
        {"absolute, old one empty", "<home>/xdg", empty, none, "xdg/rondelix"},
        {"absolute, both there", "<home>/xdg", holding, holding, "xdg/rondelix"},
        {"the usual place named", "<home>/.config", holding, none, ".config/rondelix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::TempHome home;
        std::string variable = c.variable;
        if (variable.rfind("<home>", 0) == 0) variable = home.path.string() + variable.substr(6);
        const ScopedVariable xdg("XDG_CONFIG_HOME", variable);
        const ScopedVariable homeVariable("HOME", home.path.string());
        lay(home.path / ".config/rondelix", c.oldFolder);
        lay(home.path / "xdg/rondelix", c.newFolder);
        EXPECT_EQ(platform::programConfigFolder(home.path), home.path / c.expected);
        // The pictures a wheel shows are looked for in the same folder.
        EXPECT_EQ(IconStore::directory(), home.path / c.expected / "icons");
        EXPECT_EQ(platform::shownWithTilde(home.path / c.expected, home.path), "~/" + c.expected);
    }
}

} // namespace
} // namespace rondelix
