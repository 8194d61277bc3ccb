#pragma once

#include <QImage>
#include <QObject>
#include <map>
#include <optional>
#include <string>

namespace rondelix {

class FaviconCache;

// The website icons of the favicon cache as images for drawing, decoded once
// per host. Every wheel of the program draws from the one installed with
// setShared and redraws when `arrived` tells it a new icon is there.
class FaviconImages : public QObject {
    Q_OBJECT
  public:
    explicit FaviconImages(FaviconCache& cache, QObject* parent = nullptr);
    ~FaviconImages() override;

    // The host's icon when it has arrived; `prefetch` lets the call start the
    // search for it.
    std::optional<QImage> image(const std::string& host, bool prefetch);

    static FaviconImages* shared();
    static void setShared(FaviconImages* images);

  Q_SIGNALS:
    void arrived();

  private:
    FaviconCache& cache_;
    int listener_;
    std::map<std::string, QImage> decoded_;
};

} // namespace rondelix
