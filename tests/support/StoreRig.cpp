#include "support/StoreRig.h"

#include "model/ConfigCoding.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace rondelix::testing {

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<unreadable>";
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::optional<Config> StoreRig::onDisk() const {
    return decodeConfigBytes(readText(paths.config));
}

std::vector<std::string> StoreRig::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(paths.folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> StoreRig::setAsideTexts() const {
    std::vector<std::string> texts;
    for (const auto& name : listing())
        if (name.starts_with("config.corrupt-")) texts.push_back(readText(paths.folder / name));
    return texts;
}

void setWheelSize(ConfigStore& store, double size) {
    store.mutate([size](Config& c) { c.behavior.wheelSize = size; });
}

} // namespace rondelix::testing
