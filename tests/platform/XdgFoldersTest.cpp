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

// $XDG_CONFIG_HOME places the configuration when it is absolute; one that
// already lives in ~/.config/rondelix stays in use until the new place has one.
TEST(XdgFolders, PlacesTheConfigurationFolderWithoutLeavingAnOldOneBehind) {
    const struct {
        const char* name;
        std::string variable; // "<home>" stands for the home folder
        bool oldFolder, newFolder;
        std::string expected; // relative to the home folder
    } cases[] = {
        {"unset", "<unset>", false, false, ".config/rondelix"},
        {"empty", "", true, false, ".config/rondelix"},
        {"relative", "elsewhere", false, false, ".config/rondelix"},
        {"absolute", "<home>/xdg", false, false, "xdg/rondelix"},
        {"absolute, old one kept", "<home>/xdg", true, false, ".config/rondelix"},
        {"absolute, both there", "<home>/xdg", true, true, "xdg/rondelix"},
        {"the usual place named", "<home>/.config", true, false, ".config/rondelix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::TempHome home;
        std::string variable = c.variable;
        if (variable.rfind("<home>", 0) == 0) variable = home.path.string() + variable.substr(6);
        const ScopedVariable xdg("XDG_CONFIG_HOME", variable);
        const ScopedVariable homeVariable("HOME", home.path.string());
        if (c.oldFolder) fs::create_directories(home.path / ".config/rondelix");
        if (c.newFolder) fs::create_directories(home.path / "xdg/rondelix");
        EXPECT_EQ(platform::programConfigFolder(home.path), home.path / c.expected);
        // The pictures a wheel shows are looked for in the same folder.
        EXPECT_EQ(IconStore::directory(), home.path / c.expected / "icons");
        EXPECT_EQ(platform::shownWithTilde(home.path / c.expected, home.path), "~/" + c.expected);
    }
}

} // namespace
} // namespace rondelix
