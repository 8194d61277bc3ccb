#pragma once

#include <QIcon>
#include <QWidget>
#include <string>

namespace rondelix {

// The preview of a custom icon file of the icons folder: the picture fitted
// into the frame with 3 pixels to spare, or the "photo" symbol while there is
// no name or the file cannot be read or decoded. The caller sizes it.
class CustomIconThumbnail : public QWidget {
    Q_OBJECT

  public:
    explicit CustomIconThumbnail(QWidget* parent = nullptr);

    // Loads the file again whenever the name changes.
    void setFilename(const std::string& filename);
    bool showsPicture() const { return !image_.isNull(); }

    QSize sizeHint() const override { return {40, 40}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string filename_;
    QIcon image_;
};

} // namespace rondelix
