#pragma once

#include <QObject>
#include <QRect>
#include <vector>

class QGraphicsOpacityEffect;
class QVariantAnimation;
class QWidget;

namespace rondelix {

// Shows and hides a row of a settings page that depends on another setting.
// After the user's own change it takes 0.25 s, eased in and out: the row
// fades in while its height opens (the rows under it move down) and its
// content rises from its bottom edge, and the reverse to leave. Any other
// change (the file edited elsewhere, a page built anew) shows at once.
class RowReveal final : public QObject {
    Q_OBJECT
  public:
    static constexpr int durationMs = 250;

    explicit RowReveal(QWidget& row);

    void setShown(bool shown, bool animated);
    bool isMoving() const;

  private:
    void begin(bool shown);
    void step(double open);
    void settle();

    QWidget& row_;
    QVariantAnimation* motion_;
    QGraphicsOpacityEffect* fade_ = nullptr;
    // The row's children where its layout puts them at full height.
    std::vector<std::pair<QWidget*, QRect>> laidOut_;
    int fullHeight_ = 0;
    bool shown_;
};

} // namespace rondelix
