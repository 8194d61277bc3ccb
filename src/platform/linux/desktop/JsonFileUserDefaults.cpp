#include "platform/linux/desktop/JsonFileUserDefaults.h"

#include "files/FileAccess.h"
#include "model/ConfigCoding.h"
#include "platform/Log.h"

#include <ctime>
#include <system_error>

namespace rondelix::platform::linux_desktop {

JsonFileUserDefaults::JsonFileUserDefaults(std::filesystem::path file, Log& log)
    : file_(std::move(file)), log_(log) {
    load();
}

void JsonFileUserDefaults::load() {
    if (isMissing(file_)) return;
    const Result<std::string> read = readWholeFile(file_, maxFileBytes);
    if (read.ok()) {
        // The same parser limits as the configuration: a nesting bomb is
        // damage, not something to pretty-print at every save.
        if (auto parsed = parseJson(read.value()); parsed && parsed->is_object()) {
            values_ = std::move(*parsed);
            return;
        }
    }
    // A file that cannot be read or understood is kept for a look later: moved
    // aside, or, when even that fails, left alone for the whole run.
    const std::string problem = read.ok() ? "user defaults damaged (" + file_.string() + ")"
                                          : "user defaults unreadable (" + read.error() + ")";
    if (const auto aside = setAside(file_, static_cast<std::int64_t>(std::time(nullptr)))) {
        log_.write(problem + " — set aside as " + aside->filename().string() +
                   "; starting from built-in values.");
        return;
    }
    leaveFileAlone_ = true;
    log_.write(
        problem +
        " — could not set it aside; using built-in values for this run and leaving the file as it is.");
}

std::optional<nlohmann::json> JsonFileUserDefaults::stored(std::string_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return *it;
}

void JsonFileUserDefaults::store(std::string_view key, nlohmann::json value) {
    auto& slot = values_[std::string(key)];
    if (slot == value) return;
    slot = std::move(value);
    changed();
}

void JsonFileUserDefaults::erase(std::string_view key) {
    if (values_.erase(std::string(key)) == 0) return;
    changed();
}

void JsonFileUserDefaults::endChanges() {
    if (openBatches_ > 0) --openBatches_;
    if (openBatches_ == 0 && dirty_) save();
}

void JsonFileUserDefaults::changed() {
    dirty_ = true;
    if (openBatches_ == 0) save();
}

void JsonFileUserDefaults::save() {
    dirty_ = false;
    if (leaveFileAlone_) return;
    (void)makePrivateFolders(file_.parent_path());
    // A text that is not UTF-8 is written with replacement characters rather
    // than losing every other value.
    const std::string text = values_.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (const auto written = writeFileAtomically(file_, text); !written.ok()) {
        if (!reportedSaveFailure_)
            log_.write("could not save user defaults (" + written.error() +
                       ") — changes are kept for this run only.");
        reportedSaveFailure_ = true;
        return;
    }
    if (reportedSaveFailure_) log_.write("user defaults saved again.");
    reportedSaveFailure_ = false;
}

} // namespace rondelix::platform::linux_desktop
