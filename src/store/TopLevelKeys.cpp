#include "store/TopLevelKeys.h"

#include "model/ConfigCoding.h"

namespace rondelix {

std::optional<TopLevelKeys> TopLevelKeys::read(std::string_view bytes) {
    return decodeDocument(bytes, [](JsonReader& reader) -> std::optional<TopLevelKeys> {
        if (reader.kind() != JsonKind::object) return std::nullopt;
        TopLevelKeys probe;
        reader.enterObject();
        while (const auto key = reader.nextMember()) {
            probe.keys.emplace(*key);
            reader.skip();
        }
        return probe;
    });
}

} // namespace rondelix
