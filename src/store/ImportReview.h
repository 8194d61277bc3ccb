#pragma once

#include "catalog/SystemAction.h"
#include "model/Config.h"
#include "platform/Dialogs.h"

#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

// The alerts that say what an incoming configuration or wheel will do and
// ask before anything that runs code is added.
namespace rondelix::ImportReview {

// A configuration review lists this many warnings and counts the rest.
inline constexpr std::size_t listedWarningLimit = 8;
// The longest wheel name a review repeats in its message.
inline constexpr std::size_t displayNameLimit = 60;

// "•  " and the item.
std::string reviewLine(std::string_view item);

// A warning with the single OK button, for failures of the transfers.
platform::Alert failureAlert(std::string message, std::string text);

platform::Alert codeImportAlert(const std::vector<std::string>& warnings);
// A wheel's review: what each slice does, a system action that does nothing
// on this desktop saying so.
platform::Alert wheelImportAlert(const Wheel& wheel, const platform::Workspace& workspace,
                                 const SystemActionUnavailable& unavailable = {});

// True when the user chose "Add Anyway". Called only with warnings.
bool confirmCodeImport(platform::Dialogs& dialogs, const std::vector<std::string>& warnings);
// True when the user chose to add the wheel.
bool confirmWheelImport(platform::Dialogs& dialogs, const Wheel& wheel, const platform::Workspace& workspace,
                        const SystemActionUnavailable& unavailable = {});

} // namespace rondelix::ImportReview
