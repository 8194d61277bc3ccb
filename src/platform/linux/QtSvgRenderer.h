#pragma once

#include "platform/SvgRenderer.h"

#include <QImage>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

namespace rondelix::platform::linux_desktop {

// Draws with Qt's SVG image plugin on a small pool of its own, so a caller
// never waits longer than the watchdog: the first of the drawing, its failure
// or the watchdog answers, and a drawing that finishes later is thrown away.
// Qt SVG runs no script and, with the drawing cleaned of outside references
// before it comes here, reads nothing from the network or the disk.
class QtSvgRenderer final : public SvgRenderer {
  public:
    static constexpr double watchdogSeconds = 6;
    // How long going away waits for drawings under way before leaving them
    // behind to end on their own.
    static constexpr double leftBehindAfterSeconds = 1;

    // Draws the document into a transparent square of the side; a null
    // image when it cannot. Runs on a pool thread.
    using Draw = std::function<QImage(const QByteArray& svg, int side)>;

    explicit QtSvgRenderer(double watchdog = watchdogSeconds, Draw draw = drawSvg);
    ~QtSvgRenderer() override;

    std::optional<std::string> renderPNG(const std::string& svg, int side,
                                         std::shared_ptr<const void> hold) override;

    // Every waiting and every later caller gets no picture at once. Any thread.
    void shutDown();

    // Fitted with its aspect kept and centred.
    static QImage drawSvg(const QByteArray& svg, int side);

  private:
    struct Race;

    double watchdog_;
    Draw draw_;
    // Owned, but let go of rather than destroyed while a drawing still runs:
    // destroying a pool waits for its threads.
    std::unique_ptr<QThreadPool> pool_ = std::make_unique<QThreadPool>();
    std::mutex lock_;
    std::set<std::shared_ptr<Race>> waiting_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
