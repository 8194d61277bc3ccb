#include "platform/sim/SimDialogs.h"

#include <algorithm>
#include <stdexcept>

namespace rondelix::platform::sim {

namespace {

std::optional<std::filesystem::path> takeFront(std::deque<std::filesystem::path>& script) {
    if (script.empty()) return std::nullopt;
    auto answer = std::move(script.front());
    script.pop_front();
    return answer;
}

} // namespace

std::optional<std::filesystem::path> SimDialogs::chooseSaveLocation(const SavePanel& panel) {
    savePanels.push_back(panel);
    return takeFront(saveLocations);
}

std::optional<std::filesystem::path> SimDialogs::chooseFileToOpen(const OpenPanel& panel) {
    openPanels.push_back(panel);
    return takeFront(filesToOpen);
}

std::size_t SimDialogs::runAlert(const Alert& alert) {
    alerts.push_back(alert);
    if (alertAnswers.empty()) return alert.defaultButton;
    const std::string title = std::move(alertAnswers.front());
    alertAnswers.pop_front();
    const auto found = std::find(alert.buttons.begin(), alert.buttons.end(), title);
    if (found == alert.buttons.end()) throw std::logic_error("the alert has no button \"" + title + "\"");
    return static_cast<std::size_t>(found - alert.buttons.begin());
}

AlertAnswer SimDialogs::runSuppressibleAlert(const Alert& alert) {
    AlertAnswer answer{runAlert(alert)};
    if (!suppressionAnswers.empty()) {
        answer.suppress = suppressionAnswers.front();
        suppressionAnswers.pop_front();
    }
    return answer;
}

} // namespace rondelix::platform::sim
