#include "editor/ApplicationChoice.h"

#include "util/Ascii.h"

#include <algorithm>
#include <filesystem>

namespace rondelix {

namespace {

constexpr std::string_view entrySuffix = ".desktop";

} // namespace

std::vector<platform::ApplicationEntry>
matchingApplications(std::vector<platform::ApplicationEntry> applications, std::string_view search) {
    const std::string wanted = asciiLowercased(search);
    if (!wanted.empty()) {
        std::erase_if(applications, [&](const platform::ApplicationEntry& a) {
            return asciiLowercased(a.name).find(wanted) == std::string::npos &&
                   asciiLowercased(a.identifier).find(wanted) == std::string::npos;
        });
    }
    std::stable_sort(applications.begin(), applications.end(), [](const auto& a, const auto& b) {
        const auto left = asciiLowercased(a.name), right = asciiLowercased(b.name);
        return left != right ? left < right : a.identifier < b.identifier;
    });
    return applications;
}

std::optional<std::string> identifierForFile(const std::string& path, const platform::Workspace& workspace) {
    const std::string name = std::filesystem::path(path).filename().string();
    if (name.size() <= entrySuffix.size() || !name.ends_with(entrySuffix)) return std::nullopt;
    if (!workspace.applicationAt(path)) return std::nullopt;
    return name.substr(0, name.size() - entrySuffix.size());
}

std::optional<std::string> installedAppName(const std::string& identifier,
                                            const platform::Workspace& workspace) {
    const auto location = workspace.applicationPath(identifier);
    if (!location) return std::nullopt;
    if (auto name = workspace.applicationName(*location); name && !name->empty()) return name;
    std::string name = std::filesystem::path(*location).stem().string();
    if (name.empty()) return std::nullopt;
    return name;
}

std::string boundAppName(const std::optional<std::string>& identifier, const platform::Workspace& workspace) {
    if (!identifier) return "Any App (Manual)";
    for (const auto& application : workspace.applications())
        if (application.identifier == *identifier && !application.name.empty()) return application.name;
    return installedAppName(*identifier, workspace).value_or(*identifier);
}

} // namespace rondelix
