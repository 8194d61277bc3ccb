#pragma once

#include "model/Config.h"

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The JSON form of the configuration records. Decoders are tolerant in the
// way each field's rule says and never repair values; a record that fails
// gives nothing. Writers write every field, leaving out absent optionals.

std::optional<Config> decodeConfig(const nlohmann::json& json);
std::optional<SummonBinding> decodeBinding(const nlohmann::json& json);
std::optional<Behavior> decodeBehavior(const nlohmann::json& json);
std::optional<General> decodeGeneral(const nlohmann::json& json);
std::optional<Wheel> decodeWheel(const nlohmann::json& json);
std::optional<Slice> decodeSlice(const nlohmann::json& json);
std::optional<Icon> decodeIcon(const nlohmann::json& json);
std::optional<MacroAction> decodeAction(const nlohmann::json& json);
std::optional<KeyCombo> decodeKeyCombo(const nlohmann::json& json);

class JsonWriter;

// Writes a wheel where a file holds one.
void write(JsonWriter& writer, const Wheel& wheel);

// Parses bytes as JSON without throwing; nothing for text that is not JSON or
// nests deeper than the parser allows.
std::optional<nlohmann::json> parseJson(std::string_view bytes);

// Why bytes are not JSON, with the line and column where reading stopped
// ("line 3, column 5: syntax error …"); nothing for JSON.
std::optional<std::string> jsonSyntaxError(std::string_view bytes);

// Decodes a configuration straight from the bytes of a file.
std::optional<Config> decodeConfigBytes(std::string_view bytes);

// The file form: pretty-printed with sorted keys, written straight from the
// records.
std::string writeConfigFile(const Config& config);

} // namespace rondelix
