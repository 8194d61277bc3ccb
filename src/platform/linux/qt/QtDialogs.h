#pragma once

#include "files/UserHome.h"
#include "platform/Dialogs.h"

class QFileDialog;
class QPlainTextEdit;
class QString;

namespace rondelix::platform::linux_desktop {

// Qt's file dialogs and message boxes, modal over the whole program. A file
// dialog opens in the folder of the file last chosen in one, at first in the
// home folder, never in the folder the program happened to start in.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(std::filesystem::path startFolder = userHomeFolder());

    std::optional<std::filesystem::path> chooseSaveLocation(const SavePanel& panel) override;
    std::optional<std::filesystem::path> chooseFileToOpen(const OpenPanel& panel) override;
    std::size_t runAlert(const Alert& alert) override;
    AlertAnswer runSuppressibleAlert(const Alert& alert) override;

    // The scrolling box an alert shows its detail text in: 440 × 280,
    // read-only but selectable, so a line can be copied and looked up.
    static QPlainTextEdit* detailBox(const QString& text);

  private:
    std::optional<std::filesystem::path> run(QFileDialog& dialog);

    std::filesystem::path folder_;
};

} // namespace rondelix::platform::linux_desktop
