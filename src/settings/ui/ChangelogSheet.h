#pragma once

#include <QDialog>

namespace rondelix {

// The release history, newest first, as a sheet over the window that opened
// it; "Done" or Return closes it.
class ChangelogSheet final : public QDialog {
    Q_OBJECT

  public:
    explicit ChangelogSheet(QWidget* parent);
};

} // namespace rondelix
