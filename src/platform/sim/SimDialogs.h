#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <vector>

namespace rondelix::platform::sim {

// Answers panels and alerts from scripts the test fills in, and keeps every
// panel and alert it was shown. An empty panel script cancels; an empty alert
// script chooses the default button, as Return would.
class SimDialogs final : public Dialogs {
  public:
    std::optional<std::filesystem::path> chooseSaveLocation(const SavePanel& panel) override;
    std::optional<std::filesystem::path> chooseFileToOpen(const OpenPanel& panel) override;
    // Answers with the button titled as the next scripted answer; a title the
    // alert lacks is a mistake in the test and throws.
    std::size_t runAlert(const Alert& alert) override;
    // Ticks the box when the next entry of `suppressionAnswers` says so.
    AlertAnswer runSuppressibleAlert(const Alert& alert) override;

    std::deque<std::filesystem::path> saveLocations;
    std::deque<std::filesystem::path> filesToOpen;
    std::deque<std::string> alertAnswers;
    std::deque<bool> suppressionAnswers;

    std::vector<SavePanel> savePanels;
    std::vector<OpenPanel> openPanels;
    std::vector<Alert> alerts;
};

} // namespace rondelix::platform::sim
