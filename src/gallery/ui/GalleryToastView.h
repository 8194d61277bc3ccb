#pragma once

#include <QEasingCurve>
#include <QImage>
#include <QWidget>
#include <functional>

class QLabel;
class QParallelAnimationGroup;
class QPushButton;

namespace rondelix {

class GalleryBrowserModel;

// The gallery's toast, laid over the bottom centre of its page: a capsule
// holding the message and, for a wheel just added, View and Undo. It draws
// its own shadow inside its margin, so nothing of it stays on the page once
// it has gone.
class GalleryToastView : public QWidget {
    Q_OBJECT
  public:
    // Without `reduceMotion` answering true, the toast slides in from the
    // page's bottom edge and back out, fading as it goes. `accent` is the
    // colour of View.
    GalleryToastView(GalleryBrowserModel& model, std::function<bool()> reduceMotion,
                     std::function<QColor()> accent, QWidget* page);

    // Follows the toast and keeps to the bottom centre of the page.
    void refresh();

    QLabel* message() const { return message_; }
    QPushButton* viewButton() const { return view_; }
    QPushButton* undoButton() const { return undo_; }
    // The capsule, inside the shadow's margin.
    QRect capsule() const { return contentsRect(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr QMargins padding{16, 10, 16, 10};

    QPoint restingPlace() const;
    QPoint belowThePage() const;
    void slide(QPoint from, QPoint to, double fromOpacity, double toOpacity, int milliseconds,
               bool hideAfter);
    void showColours();

    GalleryBrowserModel& model_;
    std::function<bool()> reduceMotion_;
    std::function<QColor()> accent_;
    QParallelAnimationGroup* motion_ = nullptr;
    QLabel* message_;
    QPushButton* view_;
    QPushButton* undo_;
    QImage shadow_;
};

} // namespace rondelix
