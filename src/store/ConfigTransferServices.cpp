#include "store/ConfigTransferServices.h"

#include "files/ImportSafety.h"
#include "icons/IconStore.h"
#include "platform/Dialogs.h"
#include "platform/HomeFolder.h"
#include "platform/WaitedPictureWork.h"
#include "store/ImportReview.h"

namespace rondelix {

std::filesystem::path ConfigTransferServices::iconsFolder() const {
    return IconStore::directoryIn(home.configFolder());
}

void ConfigTransferServices::restorePictures(const std::string& waiting,
                                             const std::map<std::string, std::string>& icons) const {
    const std::filesystem::path folder = iconsFolder();
    if (!pictureWork) {
        IconStore::restoreExported(folder, icons, images, log);
        return;
    }
    pictureWork->run(waiting, [&](const platform::Images& drawing, const std::function<bool()>& keepGoing) {
        IconStore::restoreExported(folder, icons, drawing, log, keepGoing);
    });
}

std::optional<std::string> ConfigTransferServices::readImportFile(const std::filesystem::path& file) const {
    auto read = ImportSafety::readData(file, ImportSafety::maxImportBytes);
    if (read.ok()) return std::move(read.bytes);
    const bool tooLarge = read.failure->kind == ImportSafety::Failure::Kind::tooLarge;
    showFailure("Import Failed",
                tooLarge ? "The file is too large to import safely." : "The file could not be read.");
    return std::nullopt;
}

void ConfigTransferServices::showFailure(std::string message, std::string text) const {
    dialogs.runAlert(ImportReview::failureAlert(std::move(message), std::move(text)));
}

} // namespace rondelix
