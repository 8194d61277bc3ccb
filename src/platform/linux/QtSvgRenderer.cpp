#include "platform/linux/QtSvgRenderer.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <condition_variable>

namespace rondelix::platform::linux_desktop {

// What the caller and the drawing share; whichever comes first settles it.
struct QtSvgRenderer::Race {
    std::mutex lock;
    std::condition_variable settled;
    bool done = false;
    QImage image;
};

namespace {

std::optional<std::string> encodedPNG(const QImage& image) {
    QByteArray png;
    QBuffer out(&png);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || png.isEmpty()) return std::nullopt;
    return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}

} // namespace

QtSvgRenderer::QtSvgRenderer(double watchdog, Draw draw) : watchdog_(watchdog), draw_(std::move(draw)) {
    pool_->setMaxThreadCount(2);
}

QtSvgRenderer::~QtSvgRenderer() {
    shutDown();
    pool_->clear();
    // A drawing still running after that may never end; the program does
    // not wait for it, and its thread ends with the process.
    if (!pool_->waitForDone(static_cast<int>(std::lround(leftBehindAfterSeconds * 1000)))) {
        [[maybe_unused]] auto* const leftBehind = pool_.release();
    }
}

void QtSvgRenderer::shutDown() {
    std::lock_guard guard(lock_);
    closed_ = true;
    for (const auto& race : waiting_) {
        std::lock_guard settling(race->lock);
        race->done = true;
        race->settled.notify_all();
    }
}

// Read through Qt's own SVG image plugin, loaded with the first drawing, so
// the program does not map the SVG library before a drawing needs it.
QImage QtSvgRenderer::drawSvg(const QByteArray& svg, int side) {
    if (side <= 0) return {};
    QBuffer document;
    document.setData(svg);
    if (!document.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&document, "svg");
    QSizeF natural = reader.size();
    if (natural.isEmpty()) natural = QSizeF(side, side);
    const QSize fitted = natural.scaled(side, side, Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
    reader.setScaledSize(fitted);
    const QImage drawing = reader.read();
    if (drawing.isNull()) return {};

    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(QPointF((side - fitted.width()) / 2.0, (side - fitted.height()) / 2.0), drawing);
    return image;
}

std::optional<std::string> QtSvgRenderer::renderPNG(const std::string& svg, int side,
                                                    std::shared_ptr<const void> hold) {
    auto race = std::make_shared<Race>();
    {
        std::lock_guard guard(lock_);
        if (closed_) return std::nullopt;
        waiting_.insert(race);
    }
    pool_->start(
        [race, draw = draw_, document = QByteArray::fromStdString(svg), side, hold = std::move(hold)] {
            QImage image = draw(document, side);
            std::lock_guard guard(race->lock);
            if (race->done) return;
            race->done = true;
            race->image = std::move(image);
            race->settled.notify_one();
        });
    QImage image;
    {
        std::unique_lock wait(race->lock);
        race->settled.wait_for(wait, std::chrono::duration<double>(watchdog_), [&] { return race->done; });
        // The watchdog settles it when the drawing has not; a later drawing finds it settled.
        race->done = true;
        image = std::move(race->image);
    }
    {
        std::lock_guard guard(lock_);
        waiting_.erase(race);
    }
    if (image.isNull() || image.width() <= 0) return std::nullopt;
    return encodedPNG(image);
}

} // namespace rondelix::platform::linux_desktop
