#pragma once

#include <QEasingCurve>
#include <QFrame>
#include <functional>

class QPropertyAnimation;

class QLabel;
class QPushButton;

namespace rondelix {

class GalleryBrowserModel;

// The gallery's toast, laid over the bottom centre of its page: the message
// and, for a wheel just added, View and Undo.
class GalleryToastView : public QFrame {
    Q_OBJECT
  public:
    // Without `reduceMotion` answering true, the toast slides in from the
    // page's bottom edge and back out.
    GalleryToastView(GalleryBrowserModel& model, std::function<bool()> reduceMotion, QWidget* page);

    // Follows the toast and keeps to the bottom centre of the page.
    void refresh();

    QLabel* message() const { return message_; }
    QPushButton* viewButton() const { return view_; }
    QPushButton* undoButton() const { return undo_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPoint restingPlace() const;
    QPoint belowThePage() const;
    void slide(QPoint from, QPoint to, int milliseconds, QEasingCurve curve, bool hideAfter);

    GalleryBrowserModel& model_;
    std::function<bool()> reduceMotion_;
    QPropertyAnimation* motion_;
    QLabel* message_;
    QPushButton* view_;
    QPushButton* undo_;
};

} // namespace rondelix
