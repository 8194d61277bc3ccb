#include "guides/DemoBackup.h"

#include "files/FileAccess.h"
#include "files/ImportSafety.h"
#include "model/ConfigCoding.h"
#include "model/JsonWriter.h"

namespace rondelix::DemoBackup {

std::filesystem::path fileIn(const std::filesystem::path& configFolder) {
    return configFolder / "demo-wheels-backup.json";
}

Result<> write(const std::filesystem::path& file, const std::vector<Wheel>& wheels) {
    std::string bytes;
    JsonWriter writer(bytes, JsonWriter::Layout::compact);
    writer.beginArray();
    for (const Wheel& wheel : wheels)
        rondelix::write(writer, wheel);
    writer.endArray();
    (void)makePrivateFolders(file.parent_path());
    return writeFileAtomically(file, bytes);
}

Read read(const std::filesystem::path& file) {
    if (isMissing(file)) return {};
    // The wheels came out of a configuration file, so a backup larger than
    // one is not the program's.
    const ImportSafety::Read data = ImportSafety::readData(file, maxConfigFileBytes);
    if (!data.ok()) {
        const bool tooLarge = data.failure->kind == ImportSafety::Failure::Kind::tooLarge;
        return {Read::Outcome::damaged, {}, tooLarge ? "it is too large" : data.failure->description};
    }
    JsonReader reader(data.bytes);
    const bool isList = reader.kind() == JsonKind::array;
    Read result{Read::Outcome::wheels, {}, {}};
    bool allWheels = true;
    if (isList) {
        reader.enterArray();
        while (reader.nextElement()) {
            auto wheel = decodeWheel(reader);
            // The program never writes a wheel without its id.
            allWheels = allWheels && wheel && !wheel->id.empty();
            if (allWheels) result.wheels.push_back(std::move(*wheel));
        }
    } else {
        reader.skip();
    }
    if (!reader.finish()) return {Read::Outcome::damaged, {}, "it is not JSON"};
    if (!isList) return {Read::Outcome::damaged, {}, "it is not a list of wheels"};
    if (!allWheels) return {Read::Outcome::damaged, {}, "it holds something that is not a wheel"};
    return result;
}

} // namespace rondelix::DemoBackup
