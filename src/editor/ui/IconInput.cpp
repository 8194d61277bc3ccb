#include "editor/ui/IconInput.h"

#include "editor/ui/ChooserRowLayout.h"
#include "editor/ui/SliceFormWidgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

IconInput::IconInput(SliceForm& form, QWidget* parent) : QWidget(parent), form_(form) {}

QLabel* IconInput::layOutChooserRow(QWidget* preview, const QString& buttonTitle,
                                    std::function<void()> choose) {
    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(0, 0, 0, 0);
    auto* layout = new ChooserRowLayout;
    lines->addLayout(layout);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("chooserPreview"));
    frame->setFixedSize(32, 32);
    frame->setStyleSheet(
        QStringLiteral("#chooserPreview { %1 }").arg(QLatin1String(SliceFormWidgets::fieldFrameStyle)));
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    preview->setParent(frame);
    frameLayout->addWidget(preview);
    auto* name = SliceFormWidgets::quietLabel(this);
    name->setObjectName(QStringLiteral("chooserName"));
    auto* button = new QPushButton(buttonTitle, this);
    connect(button, &QPushButton::clicked, this, std::move(choose));
    layout->addWidget(frame);
    layout->addWidget(name);
    layout->addWidget(button);
    return name;
}

void IconInput::addLineBelow(QWidget* line) {
    line->setParent(this);
    static_cast<QVBoxLayout*>(layout())->addWidget(line);
}

} // namespace rondelix
