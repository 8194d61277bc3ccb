#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace rondelix {

class GalleryBrowserModel;

// The gallery's toast, laid over the bottom centre of its page: the message
// and, for a wheel just added, View and Undo.
class GalleryToastView : public QFrame {
    Q_OBJECT
  public:
    GalleryToastView(GalleryBrowserModel& model, QWidget* page);

    // Follows the toast and keeps to the bottom centre of the page.
    void refresh();

    QLabel* message() const { return message_; }
    QPushButton* viewButton() const { return view_; }
    QPushButton* undoButton() const { return undo_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    GalleryBrowserModel& model_;
    QLabel* message_;
    QPushButton* view_;
    QPushButton* undo_;
};

} // namespace rondelix
