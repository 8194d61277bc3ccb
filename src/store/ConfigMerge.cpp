#include "store/ConfigMerge.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace rondelix {

namespace {

template <typename Field> void takeChangedOnlyInFile(Field& merged, const Field& file, const Field& base) {
    if (file != base && merged == base) merged = file;
}

} // namespace

Config mergeOutsideChange(const Config& program, const Config& file, const Config& base,
                          const std::vector<std::shared_ptr<const Wheel>>& baseWheels) {
    Config merged = program;
    takeChangedOnlyInFile(merged.version, file.version, base.version);
    takeChangedOnlyInFile(merged.bindings, file.bindings, base.bindings);
    takeChangedOnlyInFile(merged.behavior, file.behavior, base.behavior);
    takeChangedOnlyInFile(merged.general, file.general, base.general);
    takeChangedOnlyInFile(merged.exportedIcons, file.exportedIcons, base.exportedIcons);

    std::unordered_map<std::string_view, const Wheel*> before, inFile;
    for (const auto& wheel : baseWheels)
        before.emplace(wheel->id, wheel.get());
    for (const Wheel& wheel : file.wheels)
        inFile.emplace(wheel.id, &wheel);

    std::vector<Wheel> kept;
    kept.reserve(std::max(program.wheels.size(), file.wheels.size()));
    std::unordered_set<std::string_view> keptIds;
    for (const Wheel& wheel : program.wheels) {
        const auto was = before.find(wheel.id);
        const auto now = inFile.find(wheel.id);
        // Left alone in the program: the file's, or gone with it.
        if (was != before.end() && *was->second == wheel) {
            if (now == inFile.end()) continue;
            kept.push_back(*now->second);
        } else {
            kept.push_back(wheel);
        }
        keptIds.insert(wheel.id);
    }

    // Each wheel new in the file follows the nearest wheel before it there that is kept.
    std::unordered_map<std::string_view, std::vector<const Wheel*>> addedAfter;
    std::string_view anchor;
    for (const Wheel& wheel : file.wheels) {
        if (keptIds.contains(wheel.id)) {
            anchor = wheel.id;
        } else if (!before.contains(wheel.id)) {
            addedAfter[anchor].push_back(&wheel);
        }
    }
    merged.wheels.clear();
    merged.wheels.reserve(kept.size() + file.wheels.size());
    const auto placeAddedAfter = [&](std::string_view id) {
        if (const auto added = addedAfter.find(id); added != addedAfter.end())
            for (const Wheel* wheel : added->second)
                merged.wheels.push_back(*wheel);
    };
    placeAddedAfter({});
    for (Wheel& wheel : kept) {
        const std::string id = wheel.id;
        merged.wheels.push_back(std::move(wheel));
        placeAddedAfter(id);
    }

    const bool chosenHere = program.lastUsedWheelId != base.lastUsedWheelId;
    const bool stillThere = std::ranges::any_of(
        merged.wheels, [&](const Wheel& wheel) { return wheel.id == program.lastUsedWheelId; });
    if (!chosenHere || !stillThere) merged.lastUsedWheelId = file.lastUsedWheelId;
    return merged;
}

} // namespace rondelix
