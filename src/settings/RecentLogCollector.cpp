#include "settings/RecentLogCollector.h"

namespace rondelix::RecentLogCollector {

namespace {

// How the action executor introduces a failed child's error output.
constexpr std::string_view marker = "stderr\u00BB ";

} // namespace

std::string redacted(std::string_view line) {
    const auto at = line.find(marker);
    if (at == std::string_view::npos) return std::string(line);
    return std::string(line.substr(0, at + marker.size())) + "<redacted from report>";
}

std::string collect(const std::vector<std::string>& lines) {
    const std::size_t first = lines.size() > maxLines ? lines.size() - maxLines : 0;
    std::string text;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (i > first) text += '\n';
        text += redacted(lines[i]);
    }
    return text;
}

} // namespace rondelix::RecentLogCollector
