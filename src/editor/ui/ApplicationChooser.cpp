#include "editor/ui/ApplicationChooser.h"

#include "editor/ApplicationChoice.h"
#include "overlay/ui/SliceIconSources.h"
#include "platform/Dialogs.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

namespace {
constexpr int iconSide = 24;
} // namespace

ApplicationChooser::ApplicationChooser(const platform::Workspace& workspace, platform::Dialogs& dialogs,
                                       SliceIconSources& icons, QWidget* parent)
    : QDialog(parent), workspace_(workspace), dialogs_(dialogs), icons_(icons),
      applications_(workspace.applications()), search_(new QLineEdit), list_(new QListWidget) {
    setWindowTitle("Choose App");
    resize(420, 520);
    search_->setPlaceholderText("Search");
    search_->setClearButtonEnabled(true);
    list_->setIconSize(QSize(iconSide, iconSide));
    QPixmap blank(iconSide, iconSide);
    blank.fill(Qt::transparent);
    noIcon_ = QIcon(blank);
    list_->setUniformItemSizes(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("&Cancel"));
    QPushButton* file =
        buttons->addButton(QString::fromUtf8("Choose &File\u2026"), QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, [this] { fill(); });
    connect(list_, &QListWidget::itemActivated, this, [this] { acceptCurrent(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { acceptCurrent(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(file, &QPushButton::clicked, this, [this] { chooseFile(); });
    fill();
}

void ApplicationChooser::fill() {
    list_->clear();
    for (const auto& application : matchingApplications(applications_, search_->text().toStdString())) {
        auto* item = new QListWidgetItem(QString::fromStdString(application.name), list_);
        item->setData(Qt::UserRole, QString::fromStdString(application.identifier));
        item->setToolTip(QString::fromStdString(application.identifier));
        const QIcon* icon = icons_.appIcon(application.identifier, application.path);
        item->setIcon(icon ? *icon : noIcon_);
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
}

void ApplicationChooser::acceptCurrent() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    chosen_ = item->data(Qt::UserRole).toString().toStdString();
    accept();
}

void ApplicationChooser::chooseFile() {
    const auto file = dialogs_.chooseFileToOpen(platform::OpenPanel{{"desktop"}});
    if (!file) return;
    chosen_ = identifierForFile(file->string(), workspace_);
    // Any other file binds nothing.
    if (chosen_) accept();
}

std::optional<std::string> ApplicationChooser::choose(const platform::Workspace& workspace,
                                                      platform::Dialogs& dialogs, SliceIconSources& icons,
                                                      QWidget* parent) {
    ApplicationChooser chooser(workspace, dialogs, icons, parent);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.chosen();
}

} // namespace rondelix
