#include "settings/ui/ChangelogSheet.h"

#include "settings/Changelog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace rondelix {

namespace {

QFrame* divider(QWidget* parent, int leadingInset) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QString("margin-left: %1px; color: palette(mid);").arg(leadingInset));
    return line;
}

QWidget* entryBlock(const ChangelogEntry& entry, QWidget* parent) {
    auto* block = new QWidget(parent);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(16, 12, 16, 12);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(8);
    auto* version = new QLabel(QString::fromStdString(entry.version), block);
    QFont semibold = version->font();
    semibold.setWeight(QFont::DemiBold);
    version->setFont(semibold);
    auto* date = new QLabel(QString::fromStdString(entry.date), block);
    QFont small = date->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    date->setFont(small);
    date->setForegroundRole(QPalette::PlaceholderText);
    heading->addWidget(version);
    heading->addStretch(1);
    heading->addWidget(date);
    auto* summary = new QLabel(QString::fromStdString(entry.summary), block);
    summary->setWordWrap(true);
    layout->addLayout(heading);
    layout->addWidget(summary);
    return block;
}

} // namespace

ChangelogSheet::ChangelogSheet(QWidget* parent) : QDialog(parent) {
    setObjectName("changelogSheet");
    setWindowTitle("Changelog");
    setWindowModality(Qt::WindowModal);
    setFixedSize(460, 560);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(16, 12, 16, 12);
    auto* title = new QLabel("Changelog", this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* done = new QPushButton("&Done", this);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(done);

    auto* list = new QWidget;
    auto* entries = new QVBoxLayout(list);
    entries->setContentsMargins(0, 0, 0, 0);
    entries->setSpacing(0);
    const auto& all = changelogEntries();
    for (std::size_t i = 0; i < all.size(); ++i) {
        entries->addWidget(entryBlock(all[i], list));
        if (i + 1 < all.size()) entries->addWidget(divider(list, 16));
    }
    entries->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("changelogEntries");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(list);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(divider(this, 0));
    layout->addWidget(scroll, 1);
}

} // namespace rondelix
