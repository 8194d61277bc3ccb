#include "platform/linux/JsonFileUserDefaults.h"

#include "platform/Log.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;

class LinesLog final : public Log {
  public:
    void write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

class JsonFileUserDefaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rondelix-defaults-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        folder = pattern;
        file = folder / "rondelix" / "defaults.json";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    static std::string read(const fs::path& path) {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    fs::path folder;
    fs::path file;
    LinesLog log;
};

TEST_F(JsonFileUserDefaultsTest, ValuesOutliveTheProcessAndABatchWritesOnce) {
    {
        JsonFileUserDefaults defaults(file, log);
        UserDefaults::Batch batch(defaults);
        defaults.set(DefaultsKey<bool>{"diag.launchInProgress"}, true);
        defaults.set(DefaultsKey<int>{"diag.incompleteLaunchCount"}, 2);
        EXPECT_FALSE(fs::exists(file)); // still inside the batch
    }
    ASSERT_TRUE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
    JsonFileUserDefaults reopened(file, log);
    EXPECT_TRUE(reopened.get(DefaultsKey<bool>{"diag.launchInProgress"}));
    EXPECT_EQ(reopened.get(DefaultsKey<int>{"diag.incompleteLaunchCount"}), 2);
    reopened.remove(DefaultsKey<int>{"diag.incompleteLaunchCount"});
    EXPECT_EQ(read(file).find("incompleteLaunchCount"), std::string::npos);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(JsonFileUserDefaultsTest, ATextThatIsNotUTF8IsSavedWithTheOtherValues) {
    {
        JsonFileUserDefaults defaults(file, log);
        defaults.set(DefaultsKey<bool>{"hasCompletedOnboarding"}, true);
        defaults.set(DefaultsKey<std::string>{"diag.currentLaunchOSVersion"}, "Distro \xff\xfe 12");
    }
    JsonFileUserDefaults reopened(file, log);
    EXPECT_TRUE(reopened.get(DefaultsKey<bool>{"hasCompletedOnboarding"}));
    EXPECT_EQ(reopened.get(DefaultsKey<std::string>{"diag.currentLaunchOSVersion"}),
              "Distro \xEF\xBF\xBD\xEF\xBF\xBD 12");
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(JsonFileUserDefaultsTest, DamagedFileIsSetAsideNotOverwritten) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "{ not json";
    JsonFileUserDefaults defaults(file, log);
    EXPECT_FALSE(defaults.hasStoredValue("anything"));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("user defaults damaged"), std::string::npos);
    int asideFiles = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().find("corrupt-") != std::string::npos) {
            ++asideFiles;
            EXPECT_EQ(read(entry.path()), "{ not json");
        }
    EXPECT_EQ(asideFiles, 1);
}

TEST_F(JsonFileUserDefaultsTest, UnwritableFolderKeepsValuesForTheRunAndLogsOnce) {
    // A folder where the temporary file must go blocks every write, even for
    // the superuser, whom a read-only folder would not stop.
    const fs::path blocker = file.string() + ".tmp";
    fs::create_directories(blocker / "inside");
    JsonFileUserDefaults defaults(file, log);
    defaults.set(DefaultsKey<bool>{"hasCompletedOnboarding"}, true);
    defaults.set(DefaultsKey<int>{"onboardingResumeStep"}, 2);
    EXPECT_TRUE(defaults.get(DefaultsKey<bool>{"hasCompletedOnboarding"}));
    EXPECT_EQ(defaults.get(DefaultsKey<int>{"onboardingResumeStep"}), 2);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("could not save user defaults"), std::string::npos);

    fs::remove_all(blocker);
    defaults.set(DefaultsKey<int>{"onboardingResumeStep"}, 1);
    EXPECT_EQ(log.lines.back(), "user defaults saved again.");
    JsonFileUserDefaults reopened(file, log);
    EXPECT_TRUE(reopened.get(DefaultsKey<bool>{"hasCompletedOnboarding"}));
}

} // namespace
} // namespace rondelix::platform::linux_desktop
