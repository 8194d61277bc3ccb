// A sharp backdrop for judging what a compositor does to what lies behind a
// window: the whole screen in black and white stripes 4 pixels wide, and a
// half-transparent white control window that asks for no blur.
//
// The control window covers 40, 40 to 240, 240 (top-left origin); "ready"
// is printed once both are shown.

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

class Stripes final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        for (int x = 0; x < width(); x += 8)
            painter.fillRect(x, 0, 4, height(), Qt::black);
    }
};

class Control final : public QWidget {
  public:
    Control() { setAttribute(Qt::WA_TranslucentBackground); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), QColor(255, 255, 255, 128));
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Qt::WindowFlags bare = Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
    Stripes stripes;
    stripes.setWindowFlags(Qt::Window | bare);
    stripes.setGeometry(QGuiApplication::primaryScreen()->geometry());
    stripes.show();
    Control control;
    control.setWindowFlags(Qt::Window | bare | Qt::WindowStaysOnTopHint);
    control.setGeometry(40, 40, 200, 200);
    control.show();
    QTimer::singleShot(200, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
