#include "store/SharedWheel.h"

#include "model/ConfigCoding.h"
#include "model/JsonWriter.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace rondelix {

namespace {

using json = nlohmann::json;

// Any whole number in range; a number written with a fraction part of zero
// is still a whole number.
std::optional<std::int64_t> readInteger(const json& value) {
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return value.get<std::int64_t>();
    }
    if (!value.is_number_float()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::trunc(number) != number || std::abs(number) >= 0x1p63)
        return std::nullopt;
    return static_cast<std::int64_t>(number);
}

} // namespace

std::optional<SharedWheel> SharedWheel::decode(const json& document) {
    if (!document.is_object()) return std::nullopt;
    const auto version = document.find("rondixVersion");
    const auto wheel = document.find("wheel");
    const auto icons = document.find("icons");
    if (version == document.end() || wheel == document.end() || icons == document.end()) return std::nullopt;

    SharedWheel shared;
    const auto number = readInteger(*version);
    if (!number) return std::nullopt;
    shared.rondixVersion = *number;

    auto decoded = decodeWheel(*wheel);
    if (!decoded) return std::nullopt;
    shared.wheel = std::move(*decoded);

    if (!icons->is_object()) return std::nullopt;
    for (const auto& [name, text] : icons->items()) {
        if (!text.is_string()) return std::nullopt;
        shared.icons.emplace(name, text.get<std::string>());
    }
    return shared;
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
