#include "settings/ui/LabeledSlider.h"
#include "settings/ui/PointingHandOnHover.h"
#include "settings/ui/SettingLabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace rondelix {
namespace {

// How many cursors sit on the application's override stack.
int pushedCursors() {
    int count = 0;
    std::vector<QCursor> popped;
    while (QGuiApplication::overrideCursor()) {
        popped.push_back(*QGuiApplication::overrideCursor());
        QGuiApplication::restoreOverrideCursor();
        ++count;
    }
    for (auto it = popped.rbegin(); it != popped.rend(); ++it)
        QGuiApplication::setOverrideCursor(*it);
    return count;
}

void send(QWidget& widget, QEvent::Type type) {
    if (type == QEvent::Enter) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&widget, &enter);
    } else {
        QEvent event(type);
        QApplication::sendEvent(&widget, &event);
    }
}

TEST(PointingHandOnHoverTest, EveryWayOutRestoresThePreviousCursorExactlyOnce) {
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<QWidget>&)> leave;
    };
    const Case cases[] = {
        {"leaving", [](auto& w) { send(*w, QEvent::Leave); }},
        {"hiding", [](auto& w) { w->hide(); }},
        {"going away", [](auto& w) { w.reset(); }},
    };
    for (const Case& c : cases) {
        auto widget = std::make_unique<QWidget>();
        new PointingHandOnHover(widget.get());
        widget->show();
        send(*widget, QEvent::Enter);
        send(*widget, QEvent::Enter);
        EXPECT_EQ(pushedCursors(), 1) << c.name;
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        c.leave(widget);
        EXPECT_EQ(pushedCursors(), 0) << c.name;
        if (widget) send(*widget, QEvent::Leave); // nothing left to pop
        EXPECT_EQ(pushedCursors(), 0) << c.name;
    }
}

TEST(RowControlsTest, TheSliderMovesOnItsGridAndAnEditingCallbackIsOptional) {
    LabeledSlider slider({"Size", "circle.dashed", "How large the wheel appears on screen."}, {240, 480, 10});
    std::vector<int> steps;
    slider.onStep = [&](int step) { steps.push_back(step); };
    slider.display(8, "320 px");
    EXPECT_TRUE(steps.empty()); // showing a value tells nobody
    EXPECT_EQ(slider.slider()->maximum(), 24);
    slider.slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    slider.slider()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(steps, (std::vector<int>{9, 24}));
    EXPECT_EQ(slider.findChild<QLabel*>("valueText")->text(), "320 px"); // the caller formats the text
    slider.show();
    QTest::mouseClick(slider.slider(), Qt::LeftButton); // no editing callback: nothing else happens

    QWidget bare;
    bare.setLayout(new SettingLabel({"Position", "dot.scope", std::nullopt}));
    EXPECT_FALSE(bare.findChild<QLabel*>("settingSubtitle"));
    const std::string longText(600, 'w');
    QWidget wrapped;
    wrapped.setLayout(new SettingLabel({"Sticky aim", "pin", longText}));
    EXPECT_TRUE(wrapped.findChild<QLabel*>("settingSubtitle")->wordWrap());
}

} // namespace
} // namespace rondelix
