#pragma once

#include "catalog/SystemAction.h"
#include "model/Config.h"
#include "util/Uuid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

// What each slice of a wheel does, in plain words, for the user to review
// before a wheel from the gallery or from a file is added. Reads only.
namespace rondelix::WheelManifest {

struct Entry {
    // Fresh for every entry made; not the slice's id.
    Uuid id;
    // A system symbol standing for the kind of action.
    std::string icon;
    std::string label;
    std::string detail;
};

struct Description {
    std::string detail;
    std::string icon;

    friend bool operator==(const Description&, const Description&) = default;
};

// One entry per slice, in slot order; slices sharing a slot keep their order.
// A system action that does nothing on this desktop says so.
std::vector<Entry> entries(const Wheel& wheel, const platform::Workspace& workspace,
                           const SystemActionUnavailable& unavailable = {});

// The slice's label on one line, or "Slice <slot number>" when it is empty.
std::string label(const Slice& slice);

Description describe(const MacroAction& action, const platform::Workspace& workspace,
                     const SystemActionUnavailable& unavailable = {});

// The name an application action is shown by: the installed application's
// file name, else the path's, else the identifier, else "an app".
std::string appName(const std::optional<std::string>& bundleID, const std::optional<std::string>& path,
                    const platform::Workspace& workspace);

// The slices in slot order, stable for slices sharing a slot.
std::vector<Slice> slicesInSlotOrder(const Wheel& wheel);

} // namespace rondelix::WheelManifest
