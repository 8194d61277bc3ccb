#pragma once

#include "platform/Dialogs.h"

class QPlainTextEdit;
class QString;

namespace rondelix::platform::linux_desktop {

// Qt's file dialogs and message boxes, modal over the whole program.
class QtDialogs final : public Dialogs {
  public:
    std::optional<std::filesystem::path> chooseSaveLocation(const SavePanel& panel) override;
    std::optional<std::filesystem::path> chooseFileToOpen(const OpenPanel& panel) override;
    std::size_t runAlert(const Alert& alert) override;
    AlertAnswer runSuppressibleAlert(const Alert& alert) override;

    // The scrolling box an alert shows its detail text in: 440 × 280,
    // read-only but selectable, so a line can be copied and looked up.
    static QPlainTextEdit* detailBox(const QString& text);
};

} // namespace rondelix::platform::linux_desktop
