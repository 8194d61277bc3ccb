#pragma once

#include "util/Signal.h"

#include <QLabel>

namespace rondelix {

class ConfigStore;

// One line above a page that edits, while changes do not reach the
// configuration file, saying why: while it is read-only, edits made there
// last until the program quits.
class ReadOnlyNotice final : public QLabel {
  public:
    ReadOnlyNotice(ConfigStore& store, QWidget* parent);

    // Whether the page now shown edits the configuration.
    void setPageEdits(bool edits);

  private:
    void refresh();

    ConfigStore& store_;
    bool pageEdits_ = false;
    ScopedConnection connection_;
};

} // namespace rondelix
