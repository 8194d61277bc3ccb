#pragma once

#include "platform/Workspace.h"

#include <QDialog>
#include <QIcon>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace rondelix {

namespace platform {
class Dialogs;
}

class SliceIconSources;

// Picks an installed application: the desktop's applications by name and
// icon, narrowed by a search; "Choose File…" accepts a desktop entry in
// their place. The answer is the application's identifier.
class ApplicationChooser : public QDialog {
    Q_OBJECT
  public:
    ApplicationChooser(const platform::Workspace& workspace, platform::Dialogs& dialogs,
                       SliceIconSources& icons, QWidget* parent = nullptr);

    // Runs the chooser modally; none when the user cancelled or picked a
    // file that names no application.
    static std::optional<std::string> choose(const platform::Workspace& workspace, platform::Dialogs& dialogs,
                                             SliceIconSources& icons, QWidget* parent);

    const std::optional<std::string>& chosen() const { return chosen_; }
    QLineEdit* search() const { return search_; }
    QListWidget* list() const { return list_; }

  private:
    void fill();
    void acceptCurrent();
    void chooseFile();

    const platform::Workspace& workspace_;
    platform::Dialogs& dialogs_;
    SliceIconSources& icons_;
    std::vector<platform::ApplicationEntry> applications_;
    std::optional<std::string> chosen_;
    // Stands in for a missing icon, so that every name starts at the same place.
    QIcon noIcon_;
    QLineEdit* search_;
    QListWidget* list_;
};

} // namespace rondelix
