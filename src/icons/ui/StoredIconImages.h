#pragma once

#include <QIcon>
#include <QObject>
#include <optional>
#include <string>

namespace rondelix {

class StoredIconRedraws;

// The user's own pictures of the icons folder as icons for drawing. Only a
// file as the drawer writes it is decoded here; any other is handed to the
// redraws, when there are any, and `redrawn` tells the wheels to draw again
// once it has been drawn anew.
class StoredIconImages : public QObject {
    Q_OBJECT
  public:
    explicit StoredIconImages(StoredIconRedraws* redraws = nullptr, QObject* parent = nullptr);
    ~StoredIconImages() override;

    // The picture of the stored file; none while it cannot be shown.
    std::optional<QIcon> icon(const std::string& filename);

  Q_SIGNALS:
    void redrawn();

  private:
    StoredIconRedraws* redraws_;
};

} // namespace rondelix
