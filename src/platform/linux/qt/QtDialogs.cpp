#include "platform/linux/qt/QtDialogs.h"

#include "qtshared/MnemonicText.h"
#include "qtshared/QtText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStringList>
#include <QTreeView>
#include <vector>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr int detailBoxWidth = 440;
constexpr int detailBoxHeight = 280;
constexpr int detailBoxInset = 8;
constexpr int detailFontPoints = 11;
constexpr int symbolPixels = 64;
constexpr int fileDialogWidth = 820;
constexpr int fileDialogHeight = 500;
constexpr int placesWidth = 200;

// The desktop icon theme's nearest picture for the system symbols alerts use.
QString themeIconName(const std::string& symbol) {
    if (symbol == "checkmark.seal.fill") return QStringLiteral("security-high");
    if (symbol == "exclamationmark.circle.fill") return QStringLiteral("dialog-warning");
    return {};
}

// The allowed kinds are the only ones offered: a panel for a wheel or a
// configuration shows nothing else to pick.
QStringList nameFilters(const std::vector<std::string>& extensions) {
    if (extensions.empty()) return {};
    QStringList patterns;
    for (const auto& extension : extensions)
        patterns << QStringLiteral("*.") + toQString(extension);
    return {patterns.join(QLatin1Char(' '))};
}

QMessageBox::Icon standardIcon(Alert::Style style) {
    switch (style) {
    case Alert::Style::informational:
        return QMessageBox::Information;
    case Alert::Style::warning:
        return QMessageBox::Warning;
    case Alert::Style::critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void addBelowText(QMessageBox& box, QWidget* widget) {
    // A message box has no place for extra content of its own; its layout is a
    // grid whose last row holds the buttons, so the box goes in a row above.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int buttonsRow = grid->rowCount() - 1;
    QLayoutItem* buttons = grid->itemAtPosition(buttonsRow, 0);
    if (buttons) grid->removeItem(buttons);
    grid->addWidget(widget, buttonsRow, 0, 1, grid->columnCount());
    if (buttons) grid->addItem(buttons, buttonsRow + 1, 0, 1, grid->columnCount());
}

// The toolkit's own dialog opens too small for its places and its list's
// four columns and cuts names and dates short: the places get room for a
// folder's name, the name column takes what the others leave, and they are
// as wide as what they show.
void sizeColumns(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!list) return;
    dialog.resize(dialog.sizeHint().expandedTo(QSize(fileDialogWidth, fileDialogHeight)));
    if (auto* split = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        split->setSizes({placesWidth, fileDialogWidth - placesWidth});
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

} // namespace

QtDialogs::QtDialogs(std::filesystem::path startFolder) : folder_(std::move(startFolder)) {}

std::optional<std::filesystem::path> QtDialogs::run(QFileDialog& dialog) {
    sizeColumns(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    std::filesystem::path file(chosen.front().toStdString());
    folder_ = file.parent_path();
    return file;
}

std::optional<std::filesystem::path> QtDialogs::chooseSaveLocation(const SavePanel& panel) {
    QFileDialog dialog(nullptr, {}, toQString(folder_.string()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(panel.allowedExtensions));
    if (!panel.allowedExtensions.empty()) dialog.setDefaultSuffix(toQString(panel.allowedExtensions.front()));
    // A name is not a path: a slash in it must not send the dialog elsewhere.
    QString name = toQString(panel.suggestedName);
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    dialog.selectFile(name);
    return run(dialog);
}

std::optional<std::filesystem::path> QtDialogs::chooseFileToOpen(const OpenPanel& panel) {
    QFileDialog dialog(nullptr, {}, toQString(folder_.string()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(panel.allowedExtensions));
    return run(dialog);
}

std::size_t QtDialogs::runAlert(const Alert& alert) {
    return runSuppressibleAlert(alert).button;
}

AlertAnswer QtDialogs::runSuppressibleAlert(const Alert& alert) {
    QMessageBox box;
    box.setIcon(standardIcon(alert.style));
    if (alert.symbol) {
        const QIcon symbol = QIcon::fromTheme(themeIconName(*alert.symbol));
        if (!symbol.isNull()) box.setIconPixmap(symbol.pixmap(symbolPixels, symbolPixels));
    }
    box.setText(toQString(alert.message));
    box.setInformativeText(toQString(alert.informativeText));
    // Names in these texts come from files of unknown origin: never markup.
    // The box guesses the format of each text, so every label is told.
    box.setTextFormat(Qt::PlainText);
    for (auto* label : box.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);

    std::vector<QPushButton*> buttons;
    QPushButton* cancel = nullptr;
    QStringList titles;
    for (const auto& title : alert.buttons)
        titles << toQString(title);
    // Alt and a letter choose a button, as in the desktop's other programs.
    const QStringList marked = withMnemonics(titles);
    for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
        const bool isCancel = alert.buttons[i] == "Cancel";
        buttons.push_back(box.addButton(marked[static_cast<qsizetype>(i)],
                                        isCancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
        if (isCancel && !cancel) cancel = buttons.back();
    }
    QPushButton* defaultButton =
        alert.defaultButton < buttons.size() ? buttons[alert.defaultButton] : nullptr;
    if (defaultButton) box.setDefaultButton(defaultButton);
    box.setEscapeButton(cancel ? cancel : defaultButton);
    if (alert.detailText) addBelowText(box, detailBox(toQString(*alert.detailText)));
    QCheckBox* suppression = nullptr;
    if (alert.suppressionTitle) {
        suppression = new QCheckBox(toQString(*alert.suppressionTitle));
        box.setCheckBox(suppression);
    }

    box.exec();
    const bool suppress = suppression && suppression->isChecked();
    const auto* clicked = box.clickedButton();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == clicked) return {i, suppress};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == cancel) return {i, suppress};
    return {alert.defaultButton, suppress};
}

QPlainTextEdit* QtDialogs::detailBox(const QString& text) {
    auto* box = new QPlainTextEdit(text);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFixedSize(detailBoxWidth, detailBoxHeight);
    box->setFrameShape(QFrame::StyledPanel);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->document()->setDocumentMargin(detailBoxInset);
    QFont font = box->font();
    font.setPointSize(detailFontPoints);
    box->setFont(font);
    return box;
}

} // namespace rondelix::platform::linux_desktop
