#pragma once

#include "platform/SvgRenderer.h"

#include <QImage>
#include <QThreadPool>
#include <functional>

namespace rondelix::platform::linux_desktop {

// Draws with Qt SVG on a small pool of its own, so a caller never waits
// longer than the watchdog: the first of the drawing, its failure or the
// watchdog answers, and a drawing that finishes later is thrown away. Qt SVG
// runs no script and, with the drawing cleaned of outside references before
// it comes here, reads nothing from the network or the disk.
class QtSvgRenderer final : public SvgRenderer {
  public:
    static constexpr double watchdogSeconds = 6;

    // Draws the document into a transparent square of the side; a null
    // image when it cannot. Runs on a pool thread.
    using Draw = std::function<QImage(const QByteArray& svg, int side)>;

    explicit QtSvgRenderer(double watchdog = watchdogSeconds, Draw draw = drawSvg);
    ~QtSvgRenderer() override;

    std::optional<std::string> renderPNG(const std::string& svg, int side) override;

    // Fitted with its aspect kept and centred.
    static QImage drawSvg(const QByteArray& svg, int side);

  private:
    double watchdog_;
    Draw draw_;
    QThreadPool pool_;
};

} // namespace rondelix::platform::linux_desktop
