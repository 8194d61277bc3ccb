#include "guides/ui/HowItWorksIllustration.h"

#include "model/DefaultConfig.h"
#include "overlay/ui/WheelPalette.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <cmath>
#include <numbers>

namespace rondelix {

namespace {

using WheelPainters = std::map<std::string, std::unique_ptr<WheelGraphic>>;

// The size the wheels are drawn at before they are scaled into a picture.
constexpr int drawnSide = 320;

// One wheel in a picture; `aimed` lights a slot, `wheels` shows the switcher.
struct WheelShot {
    Wheel wheel;
    QPointF centre;
    double diameter = 0;
    std::optional<int> aimed;
    std::vector<Wheel> wheels;
    double opacity = 1;
};

// What every scene draws with: the canvas, the colours and the wheels.
class Painting {
  public:
    Painting(QPainter& painter, const QWidget& canvas, const std::vector<std::string>& keys,
             const Behavior& behavior, WheelPainters& wheels, SliceIconSources& icons)
        : painter(painter), w(canvas.width()), h(canvas.height()),
          accent(toQColor(Color::fromHex(behavior.accentHex))),
          text(canvas.palette().color(QPalette::WindowText)), base(canvas.palette().color(QPalette::Base)),
          canvas_(canvas), keys_(keys), behavior_(behavior), wheels_(wheels), icons_(icons) {}

    // One wheel at a place and size, drawn by the wheel's own painter at the
    // size it is made for and scaled down whole, so its labels keep their
    // places as in a summoned wheel.
    void wheel(const WheelShot& shot) {
        auto& graphic = wheels_[shot.wheel.id];
        if (!graphic) {
            graphic = std::make_unique<WheelGraphic>();
            graphic->setReduceMotion(true);
            graphic->resize(drawnSide, drawnSide);
        }
        graphic->setPalette(canvas_.palette());
        WheelGraphic::Inputs inputs = WheelGraphic::Inputs::of(shot.wheel, behavior_);
        inputs.diameter = drawnSide;
        inputs.aimedPosition = shot.aimed;
        inputs.wheelIds = sharedWheelIds(shot.wheels);
        inputs.isVisible = true;
        inputs.icons = &icons_;
        graphic->setInputs(std::move(inputs));
        painter.save();
        painter.setOpacity(shot.opacity);
        painter.translate(shot.centre);
        painter.scale(shot.diameter / drawnSide, shot.diameter / drawnSide);
        painter.translate(-drawnSide / 2.0, -drawnSide / 2.0);
        graphic->paint(painter);
        painter.restore();
    }

    // The summon keys of the first binding, one cap per key.
    QStringList summonKeys() const {
        const std::string first = keys_.empty() ? std::string("Left Alt") : keys_.front();
        return QString::fromStdString(first).split(" + ");
    }

    double capWidth(const QString& label) const {
        return std::max(44.0, QFontMetricsF(capFont()).horizontalAdvance(label) + 26);
    }

    // A keyboard key, pressed down and lit while held.
    void cap(const QRectF& at, const QString& label, bool held) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF face = held ? at.translated(0, 3) : at;
        if (!held) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(withOpacity(text, 0.18));
            painter.drawRoundedRect(at.translated(0, 3), 8, 8);
        }
        painter.setBrush(held ? accent.lighter(185) : base);
        painter.setPen(QPen(held ? accent : withOpacity(text, 0.25), held ? 1.5 : 1));
        painter.drawRoundedRect(face, 8, 8);
        painter.setFont(capFont());
        painter.setPen(held ? accent.darker(130) : text);
        painter.drawText(face, Qt::AlignCenter, label);
        painter.restore();
    }

    // The summon key caps centred on a point: side by side, or one above the
    // other when a row would be wider than the room there is.
    void summonCaps(QPointF centre, double room, bool held) {
        const QStringList keys = summonKeys();
        constexpr double gap = 12;
        constexpr double capHeight = 44;
        double row = -gap;
        for (const QString& key : keys)
            row += capWidth(key) + gap;
        if (row <= room) {
            double x = centre.x() - row / 2;
            for (const QString& key : keys) {
                cap(QRectF(x, centre.y() - capHeight / 2, capWidth(key), capHeight), key, held);
                x += capWidth(key) + gap;
            }
            return;
        }
        constexpr double stackedHeight = 34;
        double y = centre.y() - (keys.size() * (stackedHeight + 8) - 8) / 2;
        for (const QString& key : keys) {
            const double width = std::min(capWidth(key), room);
            cap(QRectF(centre.x() - width / 2, y, width, stackedHeight), key, held);
            y += stackedHeight + 8;
        }
    }

    // The mouse pointer with its tip at a point.
    void pointer(QPointF tip) {
        QPainterPath arrow;
        arrow.moveTo(0, 0);
        arrow.lineTo(0, 22);
        arrow.lineTo(5.5, 17);
        arrow.lineTo(9.5, 26);
        arrow.lineTo(13, 24.5);
        arrow.lineTo(9, 15.5);
        arrow.lineTo(16, 15.5);
        arrow.closeSubpath();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(tip);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(Qt::black);
        painter.drawPath(arrow);
        painter.restore();
    }

    // Short strokes radiating from a point, as a burst.
    void burst(QPointF centre, double from, double to, double width, const QColor& colour) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 12; ++i) {
            const double angle = i * std::numbers::pi / 6;
            const QPointF direction(std::cos(angle), std::sin(angle));
            painter.drawLine(centre + direction * from, centre + direction * to);
        }
        painter.restore();
    }

    // The middle of a slot, as the wheel draws it: slot 0 at the top, clockwise.
    static QPointF slotMiddle(QPointF centre, double diameter, int position, int slotCount) {
        const double angle = 2 * std::numbers::pi * position / slotCount;
        return centre + QPointF(std::sin(angle), -std::cos(angle)) * diameter * 0.36;
    }

    QFont capFont() const {
        QFont font = canvas_.font();
        font.setPixelSize(13);
        font.setBold(true);
        return font;
    }

    QFont smallFont(bool bold = false) const {
        QFont font = canvas_.font();
        font.setPixelSize(10);
        font.setBold(bold);
        return font;
    }

    QPainter& painter;
    const double w;
    const double h;
    const QColor accent;
    const QColor text;
    const QColor base;

  private:
    const QWidget& canvas_;
    const std::vector<std::string>& keys_;
    const Behavior& behavior_;
    WheelPainters& wheels_;
    SliceIconSources& icons_;
};

// The aimed slot in every picture that aims: up and to the right.
constexpr int aimedSlot = 1;

// Held summon keys on the left; the wheel opening on the right, its rim
// still spreading.
void paintSummon(Painting& p) {
    p.summonCaps({p.w * 0.25, p.h / 2}, p.w * 0.46, true);
    p.painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        p.painter.setPen(QPen(withOpacity(p.accent, 0.55 - i * 0.15), 2, Qt::SolidLine, Qt::RoundCap));
        const double x = p.w * 0.5 + i * 9;
        p.painter.drawArc(QRectF(x - 12, p.h / 2 - 14, 24, 28), -50 * 16, 100 * 16);
    }
    const QPointF centre(p.w * 0.76, p.h / 2);
    const double diameter = p.h - 44;
    for (int i = 1; i <= 2; ++i) {
        p.painter.setPen(QPen(withOpacity(p.accent, 0.45 / i), 2));
        p.painter.setBrush(Qt::NoBrush);
        const double r = diameter / 2 + 8 * i;
        p.painter.drawEllipse(centre, r, r);
    }
    p.wheel({DefaultConfig::mainWheel(), centre, diameter, std::nullopt, {}, 0.9});
}

// The arrow keys on the left; the wheel with a slot lit under the pointer.
void paintAim(Painting& p) {
    const double size = 40;
    const QPointF keys(p.w * 0.2, p.h / 2);
    p.cap(QRectF(keys.x() - size / 2, keys.y() - size - 4, size, size), "\u2191", true);
    p.cap(QRectF(keys.x() - size * 1.5 - 6, keys.y() + 4, size, size), "\u2190", false);
    p.cap(QRectF(keys.x() - size / 2, keys.y() + 4, size, size), "\u2193", false);
    p.cap(QRectF(keys.x() + size / 2 + 6, keys.y() + 4, size, size), "\u2192", true);
    const QPointF centre(p.w * 0.66, p.h / 2);
    const double diameter = p.h - 12;
    const Wheel wheel = DefaultConfig::mainWheel();
    p.wheel({wheel, centre, diameter, aimedSlot, {}, 1});
    p.pointer(Painting::slotMiddle(centre, diameter, aimedSlot, wheel.sliceCount) + QPointF(6, 8));
}

// The summon keys let go; the aimed slot bursts as its action runs.
void paintFire(Painting& p) {
    const QPointF centre(p.w * 0.74, p.h / 2);
    const double diameter = p.h - 12;
    const double room = centre.x() - diameter / 2 - 16;
    const QPointF keys(room / 2 + 4, p.h / 2 + 14);
    p.summonCaps(keys, room, false);
    p.painter.setRenderHint(QPainter::Antialiasing);
    p.painter.setPen(QPen(p.accent, 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF arrowBase = keys - QPointF(0, 34);
    p.painter.drawLine(arrowBase, arrowBase - QPointF(0, 30));
    p.painter.drawLine(arrowBase - QPointF(0, 30), arrowBase - QPointF(9, 21));
    p.painter.drawLine(arrowBase - QPointF(0, 30), arrowBase - QPointF(-9, 21));
    const Wheel wheel = DefaultConfig::mainWheel();
    p.wheel({wheel, centre, diameter, aimedSlot, {}, 1});
    const QPointF fired = Painting::slotMiddle(centre, diameter, aimedSlot, wheel.sliceCount);
    p.burst(fired, diameter * 0.16, diameter * 0.24, 3, p.accent);
}

// The open wheel between the wheels it switches to, with the keys that switch.
void paintSwitch(Painting& p) {
    const std::vector<Wheel> wheels = DefaultConfig::factoryWheels();
    const double side = p.h * 0.5;
    p.wheel({wheels[1], {p.w * 0.14, p.h * 0.4}, side, std::nullopt, {}, 0.4});
    p.wheel({wheels[2], {p.w * 0.86, p.h * 0.4}, side, std::nullopt, {}, 0.4});
    p.wheel({wheels[0], {p.w / 2, p.h / 2}, p.h - 12, std::nullopt, wheels, 1});
    p.cap(QRectF(p.w * 0.14 - 30, p.h - 52, 60, 36), "Tab", true);
    const double key = 30;
    for (int i = 0; i < 3; ++i)
        p.cap(QRectF(p.w * 0.86 + (i - 1) * (key + 6) - key / 2, p.h - 52, key, 36), QString::number(i + 1),
              i == 1);
}

// The main window on My Wheels: the sidebar, the wheels' pills, the wheel
// being built and the slot's card.
void paintCustomize(Painting& p) {
    QPainter& painter = p.painter;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF window(6, 4, p.w - 12, p.h - 8);
    painter.setPen(QPen(withOpacity(p.text, 0.15), 1));
    painter.setBrush(p.base);
    painter.drawRoundedRect(window, 10, 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(p.text, 0.05));
    const QRectF sidebar(window.left() + 1, window.top() + 1, window.width() * 0.22, window.height() - 2);
    painter.drawRoundedRect(sidebar, 9, 9);

    const QStringList pages{"My Wheels", "Wheel Gallery", "General", "Bindings", "Appearance"};
    for (int i = 0; i < pages.size(); ++i) {
        const QRectF row(sidebar.left() + 6, sidebar.top() + 12 + i * 24, sidebar.width() - 12, 20);
        if (i == 0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(p.accent);
            painter.drawRoundedRect(row, 5, 5);
        }
        painter.setFont(p.smallFont(i == 0));
        painter.setPen(i == 0 ? QColor(Qt::white) : p.text);
        painter.drawText(row.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, pages[i]);
    }

    const std::vector<Wheel> wheels = DefaultConfig::factoryWheels();
    for (std::size_t i = 0; i < 3; ++i) {
        const QRectF pill(sidebar.right() + 12, window.top() + 14 + i * 24.0, 58, 18);
        painter.setPen(Qt::NoPen);
        painter.setBrush(i == 0 ? p.accent : withOpacity(p.text, 0.1));
        painter.drawRoundedRect(pill, 9, 9);
        painter.setFont(p.smallFont(i == 0));
        painter.setPen(i == 0 ? QColor(Qt::white) : p.text);
        painter.drawText(pill, Qt::AlignCenter, QString::fromStdString(wheels[i].name).section(' ', 0, 0));
    }

    const QRectF inspector(window.right() - window.width() * 0.27, window.top() + 12,
                           window.width() * 0.27 - 10, window.height() - 24);
    painter.setPen(QPen(withOpacity(p.text, 0.12), 1));
    painter.setBrush(withOpacity(p.text, 0.03));
    painter.drawRoundedRect(inspector, 8, 8);
    painter.setPen(Qt::NoPen);
    const double bars[] = {0.5, 0.85, 0.7, 0.85, 0.6};
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(i == 0 ? withOpacity(p.accent, 0.6) : withOpacity(p.text, 0.12));
        painter.drawRoundedRect(QRectF(inspector.left() + 10, inspector.top() + 14 + i * 22,
                                       (inspector.width() - 20) * bars[i], 9),
                                4.5, 4.5);
    }

    const double pillsEnd = sidebar.right() + 70;
    const double middle = (pillsEnd + inspector.left()) / 2;
    const double diameter = std::min(inspector.left() - pillsEnd - 10, window.height() - 36);
    p.wheel({wheels[0], {middle, window.center().y() + 6}, diameter, 0, {}, 1});
}

const std::map<std::string, void (*)(Painting&)>& scenes() {
    static const std::map<std::string, void (*)(Painting&)> table{
        {"howto-summon", paintSummon},       {"howto-aim", paintAim},
        {"howto-fire", paintFire},           {"howto-switch", paintSwitch},
        {"howto-customize", paintCustomize},
    };
    return table;
}

} // namespace

HowItWorksIllustration::HowItWorksIllustration(SliceIconSources& icons, QWidget* parent)
    : QWidget(parent), icons_(icons) {
    setAttribute(Qt::WA_TranslucentBackground);
}

HowItWorksIllustration::~HowItWorksIllustration() = default;

bool HowItWorksIllustration::draws(const std::string& name) {
    return scenes().count(name) > 0;
}

void HowItWorksIllustration::setScene(const std::string& name, const std::vector<std::string>& summonKeyNames,
                                      const Behavior& behavior) {
    scene_ = name;
    keys_ = summonKeyNames;
    behavior_ = behavior;
    update();
}

void HowItWorksIllustration::paintEvent(QPaintEvent*) {
    const auto scene = scenes().find(scene_);
    if (scene == scenes().end()) return;
    QPainter painter(this);
    Painting painting(painter, *this, keys_, behavior_, graphics_, icons_);
    scene->second(painting);
}

} // namespace rondelix
