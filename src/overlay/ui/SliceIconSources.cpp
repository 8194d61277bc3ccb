#include "overlay/ui/SliceIconSources.h"

#include "overlay/AppIconLocator.h"
#include "platform/XdgFolders.h"

namespace rondelix {

namespace {

QIcon themedIcon(const AppIconName& name) {
    if (name.isFile) return QIcon(QString::fromStdString(name.name));
    QIcon icon = QIcon::fromTheme(QString::fromStdString(name.name));
    if (icon.isNull()) icon = QIcon::fromTheme(QString::fromLatin1(genericAppIconName));
    return icon;
}

} // namespace

SliceIconSources::SliceIconSources(ApplicationResolver resolver, FaviconImages* favicons,
                                   StoredIconRedraws* redraws)
    : resolver_(std::move(resolver)), favicons_(favicons), stored_(redraws) {}

void SliceIconSources::forgetMissingApplications() {
    missingApplications_.clear();
}

const QIcon* SliceIconSources::appIcon(const std::optional<std::string>& desktopId,
                                       const std::optional<std::string>& path) {
    const std::string key = appIconKey(desktopId, path);
    if (const QIcon* cached = cache_.find(key)) return cached;
    if (missingApplications_.contains(key)) return nullptr;
    std::optional<std::string> resolved;
    if (desktopId && resolver_) resolved = resolver_(*desktopId);
    const auto name = resolved ? locateAppIcon(std::nullopt, resolved, platform::applicationFolders())
                               : locateAppIcon(desktopId, path, platform::applicationFolders());
    QIcon icon = name ? themedIcon(*name) : QIcon();
    if (icon.isNull() || icon.pixmap(QSize(32, 32)).isNull()) {
        missingApplications_.insert(key);
        return nullptr;
    }
    return &cache_.store(key, std::move(icon));
}

const QIcon* SliceIconSources::customImage(const std::string& filename) {
    const std::string key = customImageKey(filename);
    if (const QIcon* cached = cache_.find(key)) return cached;
    auto icon = stored_.icon(filename);
    if (!icon) return nullptr;
    return &cache_.store(key, std::move(*icon));
}

} // namespace rondelix
