#pragma once

#include "model/Config.h"
#include "model/JsonReader.h"

#include <map>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The JSON form of the configuration records. Each decoder reads its record
// straight from the text at the reader's cursor, tolerant in the way each
// field's rule says and never repairing values; a record that fails gives
// nothing. Either way the reader is left after the value. Writers write every
// field, leaving out absent optionals.

std::optional<Config> decodeConfig(JsonReader& reader);
std::optional<SummonBinding> decodeBinding(JsonReader& reader);
std::optional<Behavior> decodeBehavior(JsonReader& reader);
std::optional<General> decodeGeneral(JsonReader& reader);
std::optional<Wheel> decodeWheel(JsonReader& reader);
std::optional<Slice> decodeSlice(JsonReader& reader);
std::optional<Icon> decodeIcon(JsonReader& reader);
std::optional<MacroAction> decodeAction(JsonReader& reader);
std::optional<KeyCombo> decodeKeyCombo(JsonReader& reader);
// An object whose members all hold text, such as the embedded pictures.
std::optional<std::map<std::string, std::string>> decodeTextMap(JsonReader& reader);

// Decodes a whole text with one of the decoders: nothing when the text is not
// JSON or its value does not decode.
template <typename Decode>
auto decodeDocument(std::string_view bytes, Decode&& decode)
    -> decltype(decode(std::declval<JsonReader&>())) {
    JsonReader reader(bytes);
    auto value = decode(reader);
    if (!value || !reader.finish()) return std::nullopt;
    return value;
}

class JsonWriter;

// Writes a wheel where a file holds one.
void write(JsonWriter& writer, const Wheel& wheel);

// Parses bytes as JSON without throwing; nothing for text that is not JSON or
// nests deeper than the reader allows.
std::optional<nlohmann::json> parseJson(std::string_view bytes);

// Why bytes are not JSON, with the line and column where reading stopped
// ("line 3, column 5: syntax error …"); nothing for JSON.
std::optional<std::string> jsonSyntaxError(std::string_view bytes);

// Decodes a configuration straight from the bytes of a file.
std::optional<Config> decodeConfigBytes(std::string_view bytes);

// The file form: pretty-printed with sorted keys, written straight from the
// records.
std::string writeConfigFile(const Config& config);
// As writeConfigFile for the configuration with these wheels in place of its own.
std::string writeConfigFile(const Config& config, const std::vector<std::shared_ptr<const Wheel>>& wheels);

} // namespace rondelix
