#pragma once

#include "settings/BehaviorSettings.h"
#include "settings/SettingRow.h"
#include "util/Signal.h"

#include <QScrollArea>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QVBoxLayout;

namespace rondelix {

class ConfigStore;

// The frame of every settings page: grouped sections of rows, at most 760
// wide, centred and aligned to the top, over the window's own backdrop. The
// page holds no setting of its own; at every change of the configuration it
// shows the stored values again, so edits made elsewhere (another page, the
// file changed on disk) show at once.
class SettingsPage : public QScrollArea {
  public:
    SettingsPage(ConfigStore& store, QWidget* parent);
    ~SettingsPage() override;

  protected:
    // A new section; rows go into the returned layout.
    QVBoxLayout* addSection(const std::string& header, const std::optional<std::string>& footer = {});
    // A row with a setting label on the left and the control it names on the
    // right, and what goes `beside` the control after it.
    QWidget* addLabeledRow(QVBoxLayout* section, const SettingText& text, QWidget* control,
                           QWidget* beside = nullptr);
    // The rows of a table; each follows the stored value by itself.
    void addRows(QVBoxLayout* section, const std::vector<SettingRow>& rows);
    void addSections(const std::vector<SettingSection>& sections);
    // Runs at every change of the configuration, and once now.
    void onRefresh(std::function<void()> refresh);
    // Shows or hides a row that depends on another setting: moving, when the
    // user's own change on this page is what shows or hides it.
    void showRow(QWidget& row, bool shown);
    // Makes a change of the user's on this page: the rows it shows or hides move.
    void ownChange(const std::function<void()>& change);

    ConfigStore& store_;
    BehaviorSettings behaviorSettings_;

  private:
    QWidget* makeRow(const SettingRow& row);
    void refreshAll();

    QVBoxLayout* sections_;
    bool ownChange_ = false;
    std::vector<std::function<void()>> refreshers_;
    ScopedConnection connection_;
};

} // namespace rondelix
