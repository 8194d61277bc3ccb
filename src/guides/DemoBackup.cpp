#include "guides/DemoBackup.h"

#include "files/FileAccess.h"
#include "files/ImportSafety.h"
#include "model/ConfigCoding.h"
#include "model/JsonWriter.h"

namespace rondelix::DemoBackup {

std::filesystem::path fileUnder(const std::filesystem::path& home) {
    return home / ".config" / "rondelix" / "demo-wheels-backup.json";
}

Result<> write(const std::filesystem::path& file, const std::vector<Wheel>& wheels) {
    std::string bytes;
    JsonWriter writer(bytes, JsonWriter::Layout::compact);
    writer.beginArray();
    for (const Wheel& wheel : wheels)
        rondelix::write(writer, wheel);
    writer.endArray();
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
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
    const auto json = parseJson(data.bytes);
    if (!json) return {Read::Outcome::damaged, {}, "it is not JSON"};
    if (!json->is_array()) return {Read::Outcome::damaged, {}, "it is not a list of wheels"};
    Read result{Read::Outcome::wheels, {}, {}};
    for (const auto& element : *json) {
        auto wheel = decodeWheel(element);
        // The program never writes a wheel without its id.
        if (!wheel || wheel->id.empty())
            return {Read::Outcome::damaged, {}, "it holds something that is not a wheel"};
        result.wheels.push_back(std::move(*wheel));
    }
    return result;
}

} // namespace rondelix::DemoBackup
