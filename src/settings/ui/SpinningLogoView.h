#pragma once

#include "settings/SpinningLogo.h"

#include <QWidget>

class QTimer;

namespace rondelix {

// The program's mark, 96 points square, turned by the spinning logo's
// motion; each click gives it a flick. It repaints on every frame only while
// it spins.
class SpinningLogoView final : public QWidget {
    Q_OBJECT

  public:
    SpinningLogoView(platform::MainQueue& queue, QWidget* parent = nullptr);

    SpinningLogo& motion() { return motion_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    SpinningLogo motion_;
    QTimer* frames_;
};

} // namespace rondelix
