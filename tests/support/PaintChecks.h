#pragma once

// What the view tests check of painted pixels and of Qt's own warnings.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <functional>

namespace rondelix::testsupport {

// How far two images of the same size differ, on average per colour channel,
// over the pixels `inside` accepts (all of them when it is empty).
inline double meanDifference(const QImage& first, const QImage& second,
                             const std::function<bool(QPoint)>& inside = {}) {
    const QImage a = first.convertToFormat(QImage::Format_RGB32);
    const QImage b = second.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    long count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            if (inside && !inside({x, y})) continue;
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x])) +
                   std::abs(qBlue(p[x]) - qBlue(q[x]));
            count += 3;
        }
    }
    return count ? sum / static_cast<double>(count) : 0;
}

// Counts the warnings Qt reports while it lives (a painter fault shows as
// one), instead of letting them scroll past in the test's output.
class WarningCount {
  public:
    WarningCount() : previous_(qInstallMessageHandler(&WarningCount::record)) { current() = this; }
    ~WarningCount() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    WarningCount(const WarningCount&) = delete;
    WarningCount& operator=(const WarningCount&) = delete;

    int count = 0;
    QString first;

  private:
    static WarningCount*& current() {
        static WarningCount* instance = nullptr;
        return instance;
    }
    static void record(QtMsgType type, const QMessageLogContext&, const QString& message) {
        WarningCount* self = current();
        if (!self || type == QtDebugMsg || type == QtInfoMsg) return;
        if (self->count++ == 0) self->first = message;
    }

    QtMessageHandler previous_;
};

} // namespace rondelix::testsupport
