#include "app/ui/MainWindow.h"
#include "app/ui/ReadablePalette.h"
#include "app/ui/ReadableStyle.h"
#include "app/ui/SidePages.h"
#include "app/ui/SideWindow.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/WheelPillColumn.h"
#include "icons/ui/IconViewArtifacts.h"
#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/ui/HubPainter.h"
#include "overlay/ui/SliceIconPainter.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelView.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

// How far the mark in the box stands out: its most common colour is what the
// mark stands on, unless the ground is given, and the mark is the pixel
// furthest from it. The part of the window around it is kept for people to
// look at.
double markContrast(QWidget& window, const QRect& box, std::vector<QImage>& seen,
                    std::optional<QColor> on = std::nullopt) {
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal scale = shot.devicePixelRatio();
    seen.push_back(shot.copy(QRect((box.topLeft() - QPoint(0, 40)) * scale, QSize(360, 120) * scale)));
    const QImage crop = shot.copy(QRect(box.topLeft() * scale, box.size() * scale));
    const QColor ground = on.value_or(testsupport::commonestColour(crop));
    double furthest = 1;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            furthest = std::max(furthest, testsupport::contrastRatio(crop.pixelColor(x, y), ground));
    return furthest;
}

struct Look {
    const char* name;
    bool dark;
    const char* accent;
};

// A yellow or white vanishes on the light look and a deep indigo, navy or
// black on the dark one, unless they are deepened (or lightened) where they
// are drawn; white reads on the default blue at under 4.5:1 and on green at
// under 2:1, and a mark of it on a tint of it under 3:1.
const Look looks[] = {
    {"light look, default accent", false, "#0A84FF"}, {"light look, light accent", false, "#FFEB3B"},
    {"light look, dark accent", false, "#1A237E"},    {"light look, white accent", false, "#FFFFFF"},
    {"light look, green accent", false, "#34C759"},   {"dark look, light accent", true, "#FFEB3B"},
    {"dark look, dark accent", true, "#1A237E"},      {"dark look, navy accent", true, "#000080"},
    {"dark look, black accent", true, "#000000"},
};

QRect boxIn(const QWidget& window, const QWidget& widget, const QRect& box) {
    return QRect(widget.mapTo(&window, box.topLeft()), box.size());
}

QRect boxOf(const QWidget& window, const QWidget& widget) {
    return boxIn(window, widget, widget.rect());
}

QColor pixelAt(QWidget& window, QPoint point) {
    const QImage shot = window.grab().toImage();
    return shot.pixelColor(point * shot.devicePixelRatio());
}

// How far a control's edge stands out from what lies just outside it: its
// left edge, half way down, over the colour three pixels to its left.
double edgeContrast(QWidget& window, const QRect& control, std::vector<QImage>& seen) {
    const QPoint middle(control.left(), control.center().y());
    return markContrast(window, QRect(middle - QPoint(0, 2), QSize(3, 5)), seen,
                        pixelAt(window, middle - QPoint(3, 0)));
}

// The hub's dot for the wheel shown, in the wheel's square.
QRect currentWheelDot(const WheelGraphic& graphic) {
    const WheelGeometry geometry{static_cast<double>(graphic.width())};
    const WheelGraphic::Inputs& in = graphic.inputs();
    const HubContent hub{in.wheel.name, wheelSwitcher(*in.wheelIds, in.activeWheelId, geometry.side), {}};
    const HubLayout layout = hubLayout(geometry, hub);
    const auto& dots = hub.switcher.dots;
    const auto index = std::find(dots.begin(), dots.end(), true) - dots.begin();
    const SwitcherLook& look = layout.switcher;
    return QRectF(layout.switcherCapsule.left + look.paddingX + index * (look.dotSize + look.dotSpacing),
                  layout.switcherCapsule.top + look.paddingY, look.dotSize, look.dotSize)
        .toAlignedRect();
}

// The boxes of a slice's label lines as the wheel draws it highlighted.
std::vector<QRect> highlightedLabel(const Wheel& wheel, const Slice& slice, double side) {
    const WheelGeometry geometry{side};
    std::vector<QRect> boxes;
    for (const QRectF& line : SliceIconPainter().labelBoxes(
             slice, geometry.iconSize(), {geometry, slice.position, wheel.sliceCount}, 1.12))
        boxes.push_back(line.toAlignedRect());
    return boxes;
}

void finishAnimations(QWidget& widget) {
    for (auto* animation : widget.findChildren<QAbstractAnimation*>())
        animation->setCurrentTime(animation->totalDuration());
    QApplication::processEvents();
}

// The summoned wheel aimed at the slice, over a black desktop: how far the
// slice's label stands out from the aimed slot around it.
double aimedLabelContrast(const Config& config, const Slice& slice, std::vector<QImage>& seen) {
    WheelState state;
    state.setActiveWheelId(config.wheels.front().id);
    state.setAimedPosition(slice.position);
    SliceIconSources icons;
    constexpr double side = 320;
    WheelView view(
        state, [&config] { return config; }, icons, side);
    view.resize(static_cast<int>(side), static_cast<int>(side));
    view.show();
    finishAnimations(view);
    double worst = 21;
    for (const QRect& line : highlightedLabel(config.wheels.front(), slice, side))
        worst = std::min(worst, markContrast(view, line, seen));
    return worst;
}

// Every text drawn on the accent reads at 4.5:1 and every mark drawn in it,
// and every control's edge, stands out at 3:1 at least from what it is drawn
// on, whatever the accent and the look: the sidebar's symbols and its
// selected row, the selected wheel pill's name and number, the slice card's
// position, the preview's outline of the selected slot, its hovered slot's
// label and its dot for the wheel shown, the summoned wheel's aimed label, a
// slider's filled groove, the wheel card's Name field, a check box, the
// onboarding's heads and the setup window's card symbols.
TEST(AccentMarks, TextsAndMarksInTheAccentStandOutOnTheLightAndTheDarkLook) {
    const auto restore =
        qScopeGuard([before = QApplication::palette(), style = QApplication::style()->name()] {
            QApplication::setStyle(style);
            QApplication::setPalette(before);
        });
    ReadableStyle::install();
    std::vector<QImage> seen;
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        QApplication::setPalette(look.dark ? darkSchemePalette() : QApplication::style()->standardPalette());
        ReadablePalette palette;
        palette.setAccent(QColor(look.accent));
        CoordinatorRig rig;
        Config config = DefaultConfig::factoryConfig();
        config.behavior.accentHex = look.accent;
        rig.writeConfig(config);
        rig.open();
        rig.c().setMainTab(MainTab::wheels);
        SliceIconSources icons;
        {
            MainWindow window({rig.c(), icons}, {});
            window.resize(1100, 760);
            window.show();
            QApplication::processEvents();
            auto* sidebar = window.findChild<QListWidget*>("sidebar");
            const auto rows = sidebar->findItems("Wheel Gallery", Qt::MatchExactly);
            ASSERT_EQ(rows.size(), 1);
            const QRect row = sidebar->visualItemRect(rows.front());
            const QRect icon(sidebar->viewport()->mapTo(&window, row.topLeft()),
                             QSize(sidebar->iconSize().width() + 8, row.height()));
            EXPECT_GE(markContrast(window, icon, seen), 3.0) << "the sidebar's Wheel Gallery symbol";
            const QRect current = sidebar->visualItemRect(sidebar->currentItem());
            const QRect title(
                sidebar->viewport()->mapTo(&window,
                                           current.topLeft() + QPoint(sidebar->iconSize().width() + 12, 3)),
                QSize(current.width() - sidebar->iconSize().width() - 24, current.height() - 6));
            EXPECT_GE(markContrast(window, title, seen), 4.5) << "the sidebar's selected row";

            const auto* pills = window.findChild<WheelPillColumn*>();
            ASSERT_TRUE(pills);
            const platform::Rect frame = pills->framesInSight().at("default");
            const QRect pill = QRectF(frame.x, frame.y, frame.width, frame.height).toAlignedRect();
            // The number's badge leads the pill, the name follows it.
            const int badgeEnd = 7 + 15;
            EXPECT_GE(
                markContrast(window, boxIn(window, *pills, pill.adjusted(badgeEnd + 5, 3, -13, -3)), seen),
                4.5)
                << "the selected pill's name";
            EXPECT_GE(markContrast(
                          window,
                          boxIn(window, *pills,
                                QRect(pill.left() + 7, pill.center().y() - 7, 15, 15).adjusted(3, 3, -3, -3)),
                          seen),
                      4.5)
                << "the selected pill's number";
            const auto* place = window.findChild<QLabel*>("sectionAccent");
            ASSERT_TRUE(place);
            EXPECT_GE(markContrast(window, boxOf(window, *place), seen), 4.5) << "the slice card's position";
            auto* preview = window.findChild<PreviewWheel*>();
            ASSERT_TRUE(preview && preview->showsOutline());
            // The selected slot's outer edge, at the top, over the slot's own fill.
            const QRect slot = preview->accessibleItemRect(preview->accessibleSelectedItem());
            EXPECT_GE(markContrast(window,
                                   boxIn(window, *preview, QRect(slot.center().x() - 6, slot.top(), 12, 10)),
                                   seen),
                      3.0)
                << "the preview's selected slot";
            WheelGraphic& graphic = preview->graphic();
            EXPECT_GE(markContrast(window,
                                   boxIn(window, graphic, currentWheelDot(graphic).adjusted(-3, -3, 3, 3)),
                                   seen),
                      3.0)
                << "the preview's dot for the wheel shown";
            const Wheel& wheel = graphic.inputs().wheel;
            const auto hovered =
                std::find_if(wheel.slices.begin(), wheel.slices.end(), [&](const Slice& slice) {
                    return slice.position != preview->accessibleSelectedItem() && !slice.label.empty();
                });
            ASSERT_NE(hovered, wheel.slices.end());
            const WheelGeometry geometry{static_cast<double>(graphic.width())};
            const Point at = geometry.slotPoint(hovered->position, wheel.sliceCount);
            QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y), graphic.mapToGlobal(QPointF(at.x, at.y)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&graphic, &move);
            finishAnimations(graphic);
            for (const QRect& line : highlightedLabel(wheel, *hovered, geometry.side))
                EXPECT_GE(markContrast(window, boxIn(window, graphic, line), seen), 4.5)
                    << "the preview's hovered label";
            const auto* name = window.findChild<QLineEdit*>("wheelName");
            ASSERT_TRUE(name);
            EXPECT_GE(edgeContrast(window, boxOf(window, *name), seen), 3.0) << "the wheel card's Name field";
            // The hovered slice, clicked, shows its card.
            for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent click(type, move.position(), move.globalPosition(), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(&graphic, &click);
            }
            QApplication::processEvents();
            const auto* label = window.findChild<QFrame*>("labelFrame");
            ASSERT_TRUE(label);
            EXPECT_GE(edgeContrast(window, boxOf(window, *label), seen), 3.0)
                << "the slice card's Label field";

            rig.c().setMainTab(MainTab::appearance);
            QApplication::processEvents();
            const auto sliders = window.findChildren<QSlider*>();
            ASSERT_FALSE(sliders.empty());
            QSlider& slider = *sliders.front();
            slider.setValue(slider.maximum() / 2);
            QStyleOptionSlider option;
            option.initFrom(&slider);
            option.orientation = slider.orientation();
            option.minimum = slider.minimum();
            option.maximum = slider.maximum();
            option.sliderPosition = slider.sliderPosition();
            const QRect groove =
                slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, &slider);
            const QRect handle =
                slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
            // The filled part, with the window above and below it.
            const QRect filled(groove.left() + 4, groove.center().y() - 8, handle.left() - groove.left() - 8,
                               17);
            EXPECT_GE(markContrast(window, boxIn(window, slider, filled), seen,
                                   window.palette().color(QPalette::Window)),
                      3.0)
                << "a slider's filled groove";

            rig.c().setMainTab(MainTab::wheelBehavior);
            QApplication::processEvents();
            QCheckBox* unchecked = nullptr;
            for (QCheckBox* box : window.findChildren<QCheckBox*>())
                if (box->isVisible() && !box->isChecked() && !unchecked) unchecked = box;
            ASSERT_TRUE(unchecked);
            QStyleOptionButton box;
            box.initFrom(unchecked);
            const QRect indicator =
                unchecked->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box, unchecked);
            EXPECT_GE(edgeContrast(window, boxIn(window, *unchecked, indicator), seen), 3.0)
                << "an unchecked check box";
        }
        EXPECT_GE(aimedLabelContrast(config, config.wheels.front().slices.front(), seen), 4.5)
            << "the summoned wheel's aimed label";
        for (const auto step : {OnboardingStep::welcome, OnboardingStep::permissions}) {
            const SidePage page = sidePage(AppWindows::Kind::onboarding);
            SideWindow window(page.title, {});
            window.setContent(page.content({rig.c(), icons}, {step}, &window));
            window.show();
            QApplication::processEvents();
            QLabel* head = nullptr;
            for (QLabel* label : window.findChildren<QLabel*>())
                if (label->size() == QSize(104, 104)) head = label;
            ASSERT_TRUE(head);
            // The logo stands on the window; the symbol on its disc.
            const auto ground = step == OnboardingStep::welcome
                                    ? std::optional(window.palette().color(QPalette::Window))
                                    : std::nullopt;
            EXPECT_GE(markContrast(window, boxOf(window, *head), seen, ground), 3.0)
                << "the onboarding's head at step " << static_cast<int>(step);
        }
        {
            const SidePage page = sidePage(AppWindows::Kind::shortcutSetup);
            SideWindow window(page.title, {});
            window.setContent(page.content({rig.c(), icons}, {}, &window));
            window.show();
            QApplication::processEvents();
            const QLabel* symbol = window.findChild<QLabel*>("cardSymbol");
            ASSERT_TRUE(symbol);
            EXPECT_GE(markContrast(window, QRect(symbol->mapTo(&window, QPoint()), symbol->size()), seen),
                      3.0)
                << "a setup card's symbol";
        }
    }
    QImage sheet(720, 120 * static_cast<int>((seen.size() + 1) / 2), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < seen.size(); ++i)
        painter.drawImage(QPoint(360 * (i % 2), 120 * (i / 2)), seen[i]);
    painter.end();
    EXPECT_TRUE(testsupport::saveIconArtifact(sheet, QStringLiteral("accent-marks.png")));
}

} // namespace
} // namespace rondelix
