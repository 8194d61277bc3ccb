#include "platform/linux/CanberraSounds.h"

#include "platform/sim/SimLog.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

TEST_F(CanberraSoundsTest, PlaysOrStaysSilentWithoutFailing) {
    CanberraSounds sounds(log);
    auto tink = sounds.named("Tink");
    ASSERT_NE(tink, nullptr);
    auto copy = tink->copy();
    ASSERT_NE(copy, nullptr);
    copy->setVolume(0.5);
    copy->play();
    copy->stop();
    tink->setVolume(0); // silent: not even handed to the player
    tink->play();
    EXPECT_FALSE(tink->isPlaying());
    // Whatever the machine has, at most one line says why it is quiet.
    EXPECT_LE(log.lines().size(), 1u);
}

} // namespace
