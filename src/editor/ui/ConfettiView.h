#pragma once

#include "editor/ConfettiPiece.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace rondelix {

// 120 coloured pieces falling through the widget once, from the moment it is
// shown, each on its own schedule. Clicks pass through it.
class ConfettiView : public QWidget {
    Q_OBJECT
  public:
    explicit ConfettiView(QWidget* parent = nullptr);

    const std::vector<ConfettiPiece>& pieces() const { return pieces_; }
    // Seconds since the view was shown; the fall is over past the pieces' settle time.
    double elapsed() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<ConfettiPiece> pieces_;
    QElapsedTimer clock_;
    QTimer frames_;
};

// The hundredth-wheel card over the confetti; where the desktop asks for
// less motion (`still`), the card alone over a clear background.
class ConfettiCelebration : public QWidget {
    Q_OBJECT
  public:
    explicit ConfettiCelebration(bool still, QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ConfettiView* confetti_; // none when still
    QWidget* card_;
};

} // namespace rondelix
