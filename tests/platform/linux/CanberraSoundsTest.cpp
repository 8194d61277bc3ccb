#include "platform/linux/desktop/CanberraSounds.h"

#include "platform/sim/SimLog.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

using rondelix::platform::linux_desktop::CanberraSounds;

namespace {

namespace fs = std::filesystem;

class CanberraSoundsTest : public ::testing::Test {
  protected:
    CanberraSoundsTest() {
        fs::create_directories(mine);
        fs::create_directories(theme);
    }
    ~CanberraSoundsTest() override { fs::remove_all(root); }

    static void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path root = fs::temp_directory_path() / ("rondelix-canberra-" + std::to_string(::getpid()));
    fs::path mine = root / "mine";
    fs::path theme = root / "theme";
    rondelix::platform::sim::SimLog log;
};

TEST_F(CanberraSoundsTest, ShipsTheFallbackSounds) {
    CanberraSounds sounds(log);
    ASSERT_FALSE(sounds.soundFolders().empty());
    for (const char* name : {"Tink", "Pop"}) {
        const auto file = fs::path(sounds.soundFolders().front()) / (std::string(name) + ".wav");
        EXPECT_TRUE(CanberraSounds::isPlayable(file.string())) << file;
        EXPECT_NE(sounds.named(name), nullptr) << name;
    }
}

TEST_F(CanberraSoundsTest, PassesOverFilesThatDoNotDecode) {
    write(mine / "Broken.wav", "not a sound at all");
    write(mine / "Empty.wav", "");
    write(mine / "Short.wav", "RIFF");
    write(mine / "Garbled.oga", "OggS and then bytes that are no Vorbis stream");
    // A header that claims a format, then no sound data.
    write(mine / "Hollow.wav",
          std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0", 24) + std::string(12, '\0'));
    // The theme's file decodes, so the name still has a sound.
    fs::copy_file(fs::path(CanberraSounds(log).soundFolders().front()) / "Pop.wav", theme / "Broken.wav");
    CanberraSounds sounds(log, {mine.string(), theme.string()});
    EXPECT_NE(sounds.named("Broken"), nullptr);
    EXPECT_EQ(sounds.named("Garbled"), nullptr);
    EXPECT_EQ(sounds.named("Hollow"), nullptr);
    EXPECT_EQ(sounds.named("Empty"), nullptr);
    EXPECT_EQ(sounds.named("Short"), nullptr);
    EXPECT_EQ(sounds.named("Missing"), nullptr);
    EXPECT_EQ(sounds.named("../theme/Broken"), nullptr);
}

TEST_F(CanberraSoundsTest, PlaysOrStaysSilentWithoutFailingOrWritingToTheTerminal) {
    // Standard error goes to a file while the sounds play.
    const fs::path errors = root / "stderr";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, STDERR_FILENO);
    ::close(file);
    {
        CanberraSounds sounds(log);
        auto tink = sounds.named("Tink");
        ASSERT_NE(tink, nullptr);
        auto copy = tink->copy();
        ASSERT_NE(copy, nullptr);
        copy->setVolume(0.5);
        for (int aim = 0; aim < 3; ++aim)
            copy->play();
        copy->stop();
        tink->setVolume(0); // silent: not even handed to the player
        tink->play();
        EXPECT_FALSE(tink->isPlaying());
    }
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::ifstream written(errors);
    const std::string output((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(output, "");
    // Whatever the machine has, at most one line says why it is quiet.
    EXPECT_LE(log.lines().size(), 1u);
    if (!fs::exists("/proc/asound/cards") && !log.lines().empty()) {
        EXPECT_EQ(log.lines().front().rfind("Rondelix: no sound device", 0), 0u) << log.lines().front();
        EXPECT_TRUE(log.lines().front().ends_with("sounds are off.")) << log.lines().front();
    }
}

// The Sound page asks before any sound has played; on a machine without
// sound cards the answer is already no, with the one line that says why.
TEST_F(CanberraSoundsTest, AMissingDeviceIsKnownBeforeAnySoundPlays) {
    if (fs::exists("/proc/asound/cards")) GTEST_SKIP() << "this machine has sound cards";
    CanberraSounds sounds(log);
    EXPECT_FALSE(sounds.deviceFound());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines().front().rfind("Rondelix: no sound device", 0), 0u) << log.lines().front();
    EXPECT_FALSE(sounds.deviceFound()); // asked once a run
    EXPECT_EQ(log.lines().size(), 1u);
}

} // namespace
