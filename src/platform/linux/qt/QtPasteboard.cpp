#include "platform/linux/qt/QtPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace rondelix::platform::linux_desktop {

QtPasteboard::QtPasteboard() : clipboard_(QGuiApplication::clipboard()) {
    connect(clipboard_, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard) clipboardChanged();
    });
}

void QtPasteboard::clipboardChanged() {
    // Qt reports our own writes from inside setMimeData and clear; those
    // were counted when they were made.
    if (!writing_) ++changeCount_;
}

std::optional<std::vector<PasteboardItem>> QtPasteboard::items() const {
    const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
    if (!data) return std::nullopt;
    std::vector<PasteboardItem> items;
    PasteboardItem item;
    for (const QString& format : data->formats()) {
        const QByteArray bytes = data->data(format);
        // A type whose data cannot be read (the owner did not answer) is
        // left out of the snapshot.
        if (bytes.isEmpty()) continue;
        item.representations.emplace_back(format.toStdString(), bytes.toStdString());
    }
    // The desktop clipboard holds one item at most.
    if (!item.representations.empty()) items.push_back(std::move(item));
    return items;
}

void QtPasteboard::writeText(const std::string& text) {
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    writing_ = true;
    clipboard_->setMimeData(data, QClipboard::Clipboard);
    writing_ = false;
    ++changeCount_;
}

std::optional<std::string> QtPasteboard::primaryText() const {
    if (!clipboard_->supportsSelection()) return std::nullopt;
    const QMimeData* data = clipboard_->mimeData(QClipboard::Selection);
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

void QtPasteboard::writePrimaryText(const std::string& text) {
    if (clipboard_->supportsSelection())
        clipboard_->setText(QString::fromStdString(text), QClipboard::Selection);
}

void QtPasteboard::writeItems(const std::vector<PasteboardItem>& items) {
    writing_ = true;
    if (items.empty()) {
        clipboard_->clear(QClipboard::Clipboard);
    } else {
        auto* data = new QMimeData;
        for (const auto& [type, bytes] : items.front().representations)
            data->setData(QString::fromStdString(type), QByteArray::fromStdString(bytes));
        clipboard_->setMimeData(data, QClipboard::Clipboard);
    }
    writing_ = false;
    ++changeCount_;
}

} // namespace rondelix::platform::linux_desktop
