#pragma once

#include <QImage>
#include <QObject>
#include <map>
#include <optional>
#include <string>

namespace rondelix {

class FaviconCache;

// The website icons of the favicon cache as images for drawing, decoded once
// per host. The wheels draw from it through their icon sources and redraw
// when `arrived` tells them a new icon is there.
class FaviconImages : public QObject {
    Q_OBJECT
  public:
    explicit FaviconImages(FaviconCache& cache, QObject* parent = nullptr);
    ~FaviconImages() override;

    // The host's icon when it has arrived; `prefetch` lets the call start the
    // search for it.
    std::optional<QImage> image(const std::string& host, bool prefetch);

  Q_SIGNALS:
    void arrived();

  private:
    FaviconCache& cache_;
    int listener_;
    std::map<std::string, QImage> decoded_;
};

} // namespace rondelix
