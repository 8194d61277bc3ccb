// A user types into a wheel's name a letter at a time while another program
// changes config.json after every one or two of the program's own saves, as
// text editors save it: a copy with another wheel renamed is renamed over the
// file. The file is the user's alone (0600), so that each save after the
// first links the backup to the file it replaces.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

using OutsideEdits = EndToEnd;

TEST_F(OutsideEdits, EveryEditRenamedOverConfigJsonBetweenLocalSavesIsTakenInAndKept) {
    const fs::path file = home.configFolder() / "config.json";
    const auto privateToUser = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, privateToUser);
    const Config before = *decodeConfigBytes(readFile(file));
    Program program(home.path);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const auto field = restingWheelNameField(id);
    ASSERT_TRUE(field) << program.log();
    const auto onDisk = [&] { return decodeConfigBytes(readFile(file)).value_or(Config{}); };
    const auto named = [](const Config& config, const std::string& name) {
        return std::ranges::any_of(config.wheels, [&](const Wheel& wheel) { return wheel.name == name; });
    };
    const auto reloads = [&] {
        const std::string log = program.log();
        long count = 0;
        for (auto at = log.find("config reloaded from disk (external change)."); at != std::string::npos;
             at = log.find("config reloaded from disk (external change).", at + 1))
            ++count;
        return count;
    };

    std::string typed;
    std::optional<std::size_t> edited; // the wheel whose name the letters go to
    std::string outside;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        for (int save = 0; save <= round % 2; ++save) {
            const std::string letter(1, static_cast<char>('a' + (round * 2 + save) % 26));
            clickAt(*field);
            xdotool("key End");
            xdotool("type --delay 0 '" + letter + "'");
            typed += letter;
            ASSERT_TRUE(waitFor(
                [&] {
                    const Config now = onDisk();
                    for (std::size_t w = 0; w < now.wheels.size() && !edited; ++w)
                        if (now.wheels[w].name == before.wheels[w].name + typed) edited = w;
                    return edited && now.wheels[*edited].name == before.wheels[*edited].name + typed;
                },
                patience))
                << readFile(file) << program.log();
            // What came from outside before stays.
            EXPECT_TRUE(outside.empty() || named(onDisk(), outside)) << readFile(file);
        }
        Config changed = onDisk();
        outside = "Outside " + std::to_string(round);
        changed.wheels[*edited == 0 ? 1 : 0].name = outside;
        writeFile(home.configFolder() / "edited.json", writeConfigFile(changed));
        fs::permissions(home.configFolder() / "edited.json", privateToUser);
        fs::rename(home.configFolder() / "edited.json", file);
        ASSERT_TRUE(waitFor([&] { return reloads() == round + 1; }, patience)) << reloads() << program.log();
    }
    clickAt(*field);
    xdotool("key End");
    xdotool("type --delay 0 'z'");
    typed += 'z';
    ASSERT_TRUE(waitFor([&] { return onDisk().wheels[*edited].name == before.wheels[*edited].name + typed; },
                        patience))
        << readFile(file);
    EXPECT_TRUE(named(onDisk(), outside)) << readFile(file);
}

} // namespace
} // namespace rondelix::e2e
