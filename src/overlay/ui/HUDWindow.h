#pragma once

#include "overlay/HUDSurface.h"

#include <QWidget>

class QPropertyAnimation;

namespace rondelix {

// The HUD's bubble: a symbol and one line of text on a rounded translucent
// plate, above every window, never focused, letting clicks through. Without a
// compositor it is opaque and shaped to its rounded plate.
class HUDWindow final : public QWidget, public HUDSurface {
    Q_OBJECT
  public:
    explicit HUDWindow(bool translucent);

    platform::Size setContent(const std::string& text, const std::string& systemImage,
                              const std::optional<std::string>& tintHex) override;
    void setOrigin(platform::Point origin) override;
    void setAlpha(double alpha) override;
    void animateAlpha(double to, double seconds) override;
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override { return QWidget::isVisible(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont textFont() const;

    bool translucent_;
    QString text_;
    std::string systemImage_;
    std::optional<QColor> tint_;
    QPropertyAnimation* alphaAnimation_;
};

} // namespace rondelix
