#include "gallery/ui/GalleryToastView.h"

#include "gallery/GalleryBrowserModel.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace rondelix {

namespace {

constexpr int bottomPadding = 20;

} // namespace

GalleryToastView::GalleryToastView(GalleryBrowserModel& model, QWidget* page)
    : QFrame(page), model_(model), message_(new QLabel(this)), view_(new QPushButton(tr("View"), this)),
      undo_(new QPushButton(tr("Undo"), this)) {
    setObjectName("galleryToast");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#galleryToast { background: palette(window); border: 1px solid palette(mid);"
                  " border-radius: 19px; }"
                  "QPushButton { border: none; background: transparent; font-weight: 500; }");
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(16);
    shadow->setOffset(0, 2);
    shadow->setColor(QColor(0, 0, 0, 84));
    setGraphicsEffect(shadow);

    QFont font = message_->font();
    font.setWeight(QFont::Medium);
    message_->setFont(font);
    undo_->setForegroundRole(QPalette::PlaceholderText);
    for (QPushButton* button : {view_, undo_})
        button->setCursor(Qt::PointingHandCursor);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 10, 16, 10);
    row->setSpacing(12);
    row->addWidget(message_);
    row->addWidget(view_);
    row->addWidget(undo_);

    connect(view_, &QPushButton::clicked, this, [this] { model_.viewAdded(); });
    connect(undo_, &QPushButton::clicked, this, [this] { model_.undoAdded(); });
    page->installEventFilter(this);
    refresh();
}

void GalleryToastView::refresh() {
    const auto& toast = model_.toast().current();
    if (!toast) {
        hide();
        return;
    }
    message_->setText(QString::fromStdString(toast->message));
    view_->setVisible(toast->viewWheelId.has_value());
    undo_->setVisible(toast->viewWheelId.has_value());
    adjustSize();
    place();
    show();
    raise();
}

bool GalleryToastView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QFrame::eventFilter(watched, event);
}

void GalleryToastView::place() {
    const QWidget* page = parentWidget();
    move((page->width() - width()) / 2, page->height() - height() - bottomPadding);
}

} // namespace rondelix
