#include "platform/linux/desktop/JsonFileUserDefaults.h"

#include "files/FileAccess.h"
#include "platform/Log.h"
#include "support/PermissionsBind.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(JsonFileUserDefaultsTest, FileThatCannotBeUsedIsSetAsideNeverOverwritten) {
    const std::string deep = std::string(1000, '[') + std::string(1000, ']');
    const std::string oversized =
        "{\"hasCompletedOnboarding\": true}" + std::string(JsonFileUserDefaults::maxFileBytes, ' ');
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> lay;
        const char* logged;
    };
    const Case cases[] = {
        {"not JSON", [](const fs::path& f) { std::ofstream(f) << "{ not json"; }, "user defaults damaged"},
        {"nested too deep", [&](const fs::path& f) { std::ofstream(f) << "{\"a\":" << deep << "}"; },
         "user defaults damaged"},
        {"larger than 1 MiB", [&](const fs::path& f) { std::ofstream(f) << oversized; },
         "user defaults unreadable"},
        {"a FIFO", [](const fs::path& f) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); },
         "user defaults unreadable"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
        // Earlier set-aside files under the names this run would pick stay whole.
        const auto now = static_cast<std::int64_t>(std::time(nullptr));
        for (std::int64_t second = now; second < now + 3; ++second)
            std::ofstream(setAsideName(file, second)) << "earlier";
        c.lay(file);
        const auto size = fs::is_regular_file(file) ? fs::file_size(file) : 0;
        log.lines.clear();
        {
            JsonFileUserDefaults defaults(file, log);
            EXPECT_FALSE(defaults.hasStoredValue("hasCompletedOnboarding"));
            defaults.set(DefaultsKey<int>{"onboardingResumeStep"}, 2);
        }
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_TRUE(log.lines[0].starts_with(c.logged)) << log.lines[0];
        EXPECT_NE(log.lines[0].find("set aside as defaults.corrupt-"), std::string::npos) << log.lines[0];
        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator(file.parent_path()))
            if (entry.path().filename().string().find("corrupt-") != std::string::npos &&
                (!entry.is_regular_file() || read(entry.path()) != "earlier"))
                aside.push_back(entry);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(fs::is_fifo(aside[0]) || fs::file_size(aside[0]) == size);
        EXPECT_EQ(JsonFileUserDefaults(file, log).get(DefaultsKey<int>{"onboardingResumeStep"}), 2);
    }
}

TEST_F(JsonFileUserDefaultsTest, UnreadableFileIsSetAsideOrElseLeftAloneForTheRun) {
    fs::create_directories(file.parent_path());
    for (const bool folderWritable : {true, false}) {
        SCOPED_TRACE(folderWritable ? "movable" : "in a read-only folder");
        std::ofstream(file) << R"({"hasCompletedOnboarding": true})";
        fs::permissions(file, fs::perms::none);
        fs::permissions(file.parent_path(), folderWritable ? fs::perms::owner_all
                                                           : fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_TRUE(testing::passesWhilePermissionsBind([&] {
            JsonFileUserDefaults defaults(file, log);
            defaults.set(DefaultsKey<int>{"onboardingResumeStep"}, 2);
            EXPECT_EQ(defaults.get(DefaultsKey<int>{"onboardingResumeStep"}), 2);
            ASSERT_EQ(log.lines.size(), 1u);
            EXPECT_TRUE(log.lines[0].starts_with("user defaults unreadable")) << log.lines[0];
            EXPECT_NE(log.lines[0].find(folderWritable ? "set aside as" : "leaving the file as it is"),
                      std::string::npos)
                << log.lines[0];
        }));
        fs::permissions(file.parent_path(), fs::perms::owner_all);
        if (!folderWritable) {
            fs::permissions(file, fs::perms::owner_read);
            EXPECT_EQ(read(file), R"({"hasCompletedOnboarding": true})");
        }
        fs::remove(file);
    }
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
