#pragma once

#include "icons/ui/SymbolFont.h"
#include "support/CoordinatorRig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSlider>
#include <QVariantAnimation>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>

namespace rondelix::testsupport {

// A settings page on the offscreen platform over the whole program's logic,
// counting the configuration's changes.
class SettingsPageTest : public ::testing::Test {
  protected:
    SettingsPageTest() {
        rig.open();
        rig.queue.advance(2);
        rig.c().configStore().configChanged.connect([this] { ++changes; });
    }

    // Shows the page at a window's size and counts changes from here on.
    void show(QWidget* made) {
        page.reset(made);
        page->resize(760, 900);
        page->show();
        changes = 0;
    }

    template <typename Control = QWidget> Control* control(const QString& name) {
        for (Control* c : page->findChildren<Control*>())
            if (c->accessibleName() == name || c->objectName() == name) return c;
        ADD_FAILURE() << "no control " << name.toStdString();
        return nullptr;
    }
    QSlider* slider(const QString& title) { return control<QSlider>(title); }
    void stepRight(const QString& title) {
        slider(title)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    bool isShown(const QString& name) { return control(name)->isVisibleTo(page.get()); }
    // Brings every animation of the page to its end, as its time would.
    void finishMotion() {
        for (auto* motion : page->findChildren<QVariantAnimation*>())
            if (motion->state() == QAbstractAnimation::Running)
                motion->setCurrentTime(motion->totalDuration());
    }

    // Keeps a look at the page for people, in the artifacts folder beside the test program.
    void saveScreenshot(const QString& name, QWidget* shown = nullptr) {
        const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
        QDir().mkpath(folder);
        EXPECT_TRUE((shown ? shown : page.get())->grab().save(folder + "/" + name));
    }

    // The button shows the symbol, drawn from the program's symbol font in
    // the button's text colour.
    void expectSymbol(const QString& name, std::string_view symbol) {
        auto* button = control<QAbstractButton>(name);
        if (!button) return;
        const QColor colour = button->palette().color(QPalette::Active, QPalette::ButtonText);
        const auto image = [](const QPixmap& p) {
            return p.toImage().convertToFormat(QImage::Format_ARGB32);
        };
        EXPECT_EQ(image(button->icon().pixmap(32)), image(SymbolFont::pixmap(symbol, 32, colour)))
            << name.toStdString() << " does not show " << symbol;
    }

    const Config& config() { return rig.c().configStore().config(); }

    CoordinatorRig rig;
    std::unique_ptr<QWidget> page;
    int changes = 0;
};

} // namespace rondelix::testsupport
