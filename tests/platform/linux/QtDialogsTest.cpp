#include "platform/linux/qt/QtDialogs.h"

#include "platform/linux/DesktopApplication.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

class QtDialogsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { rondelix::testing::desktopApplication(); }

    // Runs the alert and, once it shows, looks at it and answers it.
    std::size_t answer(const Alert& alert, const std::function<void(QMessageBox&)>& respond) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            respond(*box);
        });
        return QtDialogs().runAlert(alert);
    }
};

Alert codeReview() {
    Alert alert{Alert::Style::critical, "<b>“Name”</b> can run custom actions", "<i>Only</i> if trusted."};
    alert.buttons = {"Cancel", "Add Anyway"};
    alert.detailText = "•  “Run” runs a script: echo hi";
    return alert;
}

TEST_F(QtDialogsTest, ShowsPlainTextADetailBoxAndAnswersWithTheChosenButton) {
    const auto chosen = answer(codeReview(), [](QMessageBox& box) {
        for (auto* label : box.findChildren<QLabel*>())
            EXPECT_TRUE(label->text().isEmpty() || label->textFormat() == Qt::PlainText);
        EXPECT_EQ(box.defaultButton()->text(), "&Cancel");
        auto* detail = box.findChild<QPlainTextEdit*>();
        ASSERT_NE(detail, nullptr);
        EXPECT_TRUE(detail->isReadOnly() && (detail->textInteractionFlags() & Qt::TextSelectableByMouse));
        EXPECT_EQ(detail->size(), QSize(440, 280));
        for (auto* button : box.findChildren<QPushButton*>())
            if (button->text() == "&Add Anyway") button->click();
    });
    EXPECT_EQ(chosen, 1u);
    // Escape means Cancel wherever it stands; Return means the default.
    EXPECT_EQ(answer(codeReview(), [](QMessageBox& box) { box.reject(); }), 0u);
    Alert plain = codeReview();
    plain.buttons = {"Add Wheel", "Cancel"};
    EXPECT_EQ(answer(plain, [](QMessageBox& box) { box.reject(); }), 1u);
    EXPECT_EQ(answer(plain, [](QMessageBox& box) { box.defaultButton()->click(); }), 0u);
}

TEST_F(QtDialogsTest, FilePanelsOfferOnlyTheAllowedKinds) {
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->nameFilters();
        dialog->reject();
    });
    EXPECT_EQ(QtDialogs().chooseFileToOpen({{"rondix", "json"}}), std::nullopt);
    EXPECT_EQ(offered, QStringList{"*.rondix *.json"});
}

// Never the folder the program was started in: the home folder first, then
// the folder of the file last chosen, for opening and saving alike.
TEST_F(QtDialogsTest, FilePanelsOpenInTheHomeFolderThenWhereTheLastFileWasChosen) {
    const auto home =
        std::filesystem::temp_directory_path() / ("rondelix-dialogs-" + std::to_string(getpid()));
    std::filesystem::create_directories(home / "exports");
    std::ofstream(home / "exports" / "wheels.json") << "{}";
    QtDialogs dialogs(home);
    QStringList shown;
    const auto answerWith = [&](const QString& file) {
        QTimer::singleShot(0, [&shown, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown << dialog->directory().absolutePath();
            if (file.isEmpty()) return dialog->reject();
            dialog->selectFile(file);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    answerWith(QString::fromStdString((home / "exports" / "wheels.json").string()));
    EXPECT_EQ(dialogs.chooseFileToOpen({{"json"}}), home / "exports" / "wheels.json");
    answerWith({});
    EXPECT_EQ(dialogs.chooseSaveLocation({"My Wheels", {"json"}}), std::nullopt);
    answerWith({});
    EXPECT_EQ(dialogs.chooseFileToOpen({}), std::nullopt);
    const QString exports = QString::fromStdString((home / "exports").string());
    EXPECT_EQ(shown, (QStringList{QString::fromStdString(home.string()), exports, exports}));
    std::filesystem::remove_all(home);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
