#include "store/SharedWheel.h"

#include "model/ConfigCoding.h"
#include "model/JsonWriter.h"

#include <cmath>
#include <limits>

namespace rondelix {

namespace {

// Any whole number in range; a number written with a fraction part of zero
// is still a whole number.
std::optional<std::int64_t> readInteger(JsonReader& reader) {
    if (reader.kind() != JsonKind::number) {
        reader.skip();
        return std::nullopt;
    }
    const JsonNumber number = reader.readNumber();
    switch (number.type) {
    case JsonNumber::Type::integer:
        return number.integer;
    case JsonNumber::Type::unsignedInteger:
        if (number.unsignedInteger > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return static_cast<std::int64_t>(number.unsignedInteger);
    case JsonNumber::Type::real:
        break;
    }
    if (!std::isfinite(number.real) || std::trunc(number.real) != number.real ||
        std::abs(number.real) >= 0x1p63)
        return std::nullopt;
    return static_cast<std::int64_t>(number.real);
}

std::optional<SharedWheel> decodeShared(JsonReader& reader) {
    if (reader.kind() != JsonKind::object) {
        reader.skip();
        return std::nullopt;
    }
    // A member that appears more than once counts with its last value.
    std::optional<std::optional<std::int64_t>> version;
    std::optional<std::optional<Wheel>> wheel;
    std::optional<std::optional<ExportedIcons>> icons;
    reader.enterObject();
    while (const auto key = reader.nextMember()) {
        if (*key == "rondixVersion") {
            version = readInteger(reader);
        } else if (*key == "wheel") {
            wheel = decodeWheel(reader);
        } else if (*key == "icons") {
            icons = decodeTextMap(reader);
        } else {
            reader.skip();
        }
    }
    if (!version || !*version || !wheel || !*wheel || !icons || !*icons) return std::nullopt;
    SharedWheel shared;
    shared.rondixVersion = **version;
    shared.wheel = std::move(**wheel);
    shared.icons = std::move(**icons);
    return shared;
}

} // namespace

std::optional<SharedWheel> SharedWheel::decode(std::string_view bytes) {
    return decodeDocument(bytes, decodeShared);
}

std::string SharedWheel::fileBytes() const {
    std::string bytes;
    JsonWriter writer(bytes);
    writer.beginObject();
    writer.key("icons");
    writer.beginObject();
    for (const auto& [name, data] : icons) {
        writer.key(name);
        writer.value(data);
    }
    writer.endObject();
    writer.key("rondixVersion");
    writer.value(rondixVersion);
    writer.key("wheel");
    write(writer, wheel);
    writer.endObject();
    bytes += '\n';
    return bytes;
}

} // namespace rondelix
