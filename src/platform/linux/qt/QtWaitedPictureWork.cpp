#include "platform/linux/qt/QtWaitedPictureWork.h"

#include "platform/linux/process/DrawerImages.h"
#include "platform/linux/process/StoppableRun.h"

#include <QApplication>
#include <QProgressDialog>

namespace rondelix::platform::linux_desktop {

void QtWaitedPictureWork::run(const std::string& waiting, const Work& work) {
    SvgDrawerClient drawer;
    const DrawerImages images{drawer, QtImages::Readers::namedRasters};
    QProgressDialog dialog(QString::fromStdString(waiting), QStringLiteral("Cancel"), 0, 0,
                           QApplication::activeWindow());
    dialog.setWindowModality(Qt::ApplicationModal);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, &QDialog::reject);
    // Ended, the work closes the modal from its own thread through the
    // modal's queue; the run outlives the modal's loop, so it is still there.
    StoppableRun running(
        [&work, &images](const std::function<bool()>& keepGoing) { work(images, keepGoing); },
        [&drawer] { drawer.shutDown(); },
        [&dialog] {
            QMetaObject::invokeMethod(
                &dialog, [&dialog] { dialog.accept(); }, Qt::QueuedConnection);
        });
    dialog.exec();
    running.stop();
}

} // namespace rondelix::platform::linux_desktop
