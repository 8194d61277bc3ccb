// Any bytes at all given to the configuration decoder: it must never crash,
// and what it decodes must survive a save and a read unchanged.
#include "model/ConfigCoding.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto config = rondelix::decodeConfigBytes(bytes);
    if (!config) return 0;
    const auto reread = rondelix::decodeConfigBytes(rondelix::writeConfigFile(*config));
    if (!reread || !(*reread == *config)) std::abort();
    return 0;
}
