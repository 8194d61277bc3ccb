#include "icons/ui/CustomIconImage.h"

#include "icons/DrawnPng.h"
#include "icons/IconStore.h"

#include <QImage>
#include <QPixmap>

namespace rondelix {

std::optional<QIcon> decodeCustomIcon(const std::string& bytes) {
    if (!isDrawnPng(bytes, IconStore::maxEdge)) return std::nullopt;
    const QImage image =
        QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG");
    if (image.isNull()) return std::nullopt;
    return QIcon(QPixmap::fromImage(image));
}

} // namespace rondelix
