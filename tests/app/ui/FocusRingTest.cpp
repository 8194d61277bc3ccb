#include "qtshared/FocusRing.h"

#include "app/GuidesPorts.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/WheelEditorPage.h"
#include "guides/ui/OnboardingView.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace rondelix {
namespace {

using testsupport::contrastRatio;
using testsupport::CoordinatorRig;

// A window of the program with one control in it; `focus` hands that control
// the focus the way the keyboard does, and answers it.
struct Scene {
    std::function<QWidget*()> focus;
    std::unique_ptr<QWidget> window; // goes before what `focus` keeps for it
};

struct MainWindowScene {
    explicit MainWindowScene(MainTab page) {
        rig.writeConfig(DefaultConfig::factoryConfig());
        rig.open();
        rig.c().setMainTab(page);
    }
    CoordinatorRig rig;
    SliceIconSources icons;
};

template <typename Find> Scene mainWindowScene(MainTab page, Find find) {
    auto owner = std::make_shared<MainWindowScene>(page);
    auto window =
        std::make_unique<MainWindow>(PageContext{owner->rig.c(), owner->icons}, GlassBackdrop::Environment{});
    MainWindow* shown = window.get();
    return {[owner, shown, find] { return find(*shown); }, std::move(window)};
}

QWidget* tabTo(QWidget* control) {
    if (control) control->setFocus(Qt::TabFocusReason);
    return control;
}

template <typename W> W* firstVisible(QWidget& window, const char* name = nullptr) {
    for (W* w : window.findChildren<W*>(name ? QString(name) : QString()))
        if (w->isVisibleTo(&window)) return w;
    return nullptr;
}

struct Case {
    const char* control;
    std::function<Scene()> make;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all{
        {"Add Action, after Remove Action hands it the focus",
         [] {
             return mainWindowScene(MainTab::wheels, [](QWidget& w) {
                 auto* page = firstVisible<WheelEditorPage>(w);
                 if (!page) return static_cast<QWidget*>(nullptr);
                 // The main wheel's empty top slot filled, then emptied again.
                 page->editor().select(DefaultConfig::factoryConfig().wheels.front().id, 0);
                 for (const char* button : {"addAction", "removeAction"}) {
                     QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                     if (QWidget* found = tabTo(firstVisible<QPushButton>(w, button)))
                         QTest::keyClick(found, Qt::Key_Space);
                 }
                 QWidget* now = QApplication::focusWidget();
                 return now && now->objectName() == "addAction" ? now : nullptr;
             });
         }},
        {"the sidebar",
         [] {
             return mainWindowScene(
                 MainTab::wheels, [](QWidget& w) { return tabTo(firstVisible<QListWidget>(w, "sidebar")); });
         }},
        {"a settings slider",
         [] {
             return mainWindowScene(MainTab::appearance,
                                    [](QWidget& w) { return tabTo(firstVisible<QSlider>(w)); });
         }},
        {"the onboarding's Skip for now",
         [] {
             auto rig = std::make_shared<CoordinatorRig>();
             rig->open();
             auto view = std::make_unique<OnboardingView>(onboardingHost(rig->c()), OnboardingStep::welcome,
                                                          OnboardingView::ConfettiFactory{});
             QWidget* shown = view.get();
             return Scene{[rig, shown] { return tabTo(firstVisible<QPushButton>(*shown, "skipButton")); },
                          std::move(view)};
         }},
    };
    return all;
}

// A focus indication seen at a glance: where the control takes the focus, at
// least as many pixels in and around it as its outline has change by a
// contrast of 3:1 or more, the least a sighted keyboard user tells apart.
TEST(FocusRing, EveryNamedControlShowsItsFocusAtAGlance) {
    const FocusRing ring;
    std::vector<std::pair<QString, QImage>> crops;
    for (const Case& c : cases()) {
        Scene scene = c.make();
        QWidget& window = *scene.window;
        window.resize(window.inherits("rondelix::MainWindow") ? QSize(1300, 800) : QSize(560, 640));
        window.show();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
        QWidget* control = scene.focus();
        ASSERT_NE(control, nullptr) << c.control << " focus on "
                                    << (QApplication::focusWidget()
                                            ? QApplication::focusWidget()->objectName().toStdString()
                                            : "");
        ASSERT_TRUE(control->hasFocus()) << c.control;
        QApplication::processEvents();
        const QRect area =
            QRect(control->mapTo(&window, QPoint(0, 0)), control->size()).adjusted(-6, -6, 6, 6);
        const QImage focused = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        control->clearFocus();
        QApplication::processEvents();
        const QImage unfocused = window.grab().toImage().convertToFormat(QImage::Format_RGB32);

        int changed = 0;
        const QRect inImage = area.intersected(focused.rect());
        for (int y = inImage.top(); y <= inImage.bottom(); ++y)
            for (int x = inImage.left(); x <= inImage.right(); ++x)
                if (contrastRatio(focused.pixelColor(x, y), unfocused.pixelColor(x, y)) >= 3) ++changed;
        const int outline = 2 * (control->width() + control->height());
        EXPECT_GE(changed, outline) << c.control;
        crops.emplace_back(c.control, focused.copy(inImage.adjusted(-20, -20, 20, 20)));
    }

    int width = 0, height = 0;
    for (const auto& [what, crop] : crops)
        width = std::max(width, crop.width() + 270), height += crop.height() + 8;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 0;
    for (const auto& [what, crop] : crops) {
        painter.drawText(QRect(4, y, 260, crop.height()), Qt::AlignVCenter | Qt::TextWordWrap, what);
        painter.drawImage(266, y, crop);
        y += crop.height() + 8;
    }
    painter.end();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    EXPECT_TRUE(sheet.save(folder + "/focus-rings.png"));
}

} // namespace
} // namespace rondelix
