#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/ReadablePalette.h"
#include "gallery/ui/AddWheelSheet.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/GalleryListRow.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::contrastRatio;
using testsupport::CoordinatorRig;

// What a reader sees of a text: the most common colour of its box is the
// ground, and the text is the pixel furthest from it.
struct Shown {
    QImage box;
    double contrast = 0;
};

Shown shownText(QWidget& window, QRect box) {
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal scale = shot.devicePixelRatio();
    const QImage crop = shot.copy(QRect(box.topLeft() * scale, box.size() * scale).intersected(shot.rect()));
    const QColor ground = testsupport::commonestColour(crop);
    double furthest = 1;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            furthest = std::max(furthest, contrastRatio(crop.pixelColor(x, y), ground));
    return {crop, furthest};
}

// Keeps the crops side by side for people to look at.
void saveSheet(const std::vector<std::pair<QString, QImage>>& crops, const QString& name) {
    int width = 0, height = 0;
    for (const auto& [what, crop] : crops)
        width = std::max(width, crop.width() + 270), height += std::max(crop.height(), 30) + 8;
    QImage sheet(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 0;
    for (const auto& [what, crop] : crops) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(4, y, 260, std::max(crop.height(), 30)), Qt::AlignVCenter | Qt::TextWordWrap,
                         what);
        painter.drawImage(266, y, crop);
        y += std::max(crop.height(), 30) + 8;
    }
    painter.end();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    EXPECT_TRUE(sheet.save(folder + "/" + name));
}

class TextContrast : public ::testing::TestWithParam<bool> {
  protected:
    TextContrast() : before_(QApplication::palette()) {
        // The program's own dark colours, as a dark desktop whose theme does not
        // reach Qt gets them.
        const QPalette scheme = GetParam() ? darkSchemePalette() : QApplication::style()->standardPalette();
        QApplication::setPalette(withReadableSecondaryText(scheme));
        // The first wheel's top slice: a symbol, and a text still empty.
        Config config = DefaultConfig::factoryConfig();
        auto& slices = config.wheels.front().slices;
        std::erase_if(slices, [](const Slice& s) { return s.position == 0; });
        slices.push_back(
            Slice{Uuid::generate(), 0, "Note", Icon::SfSymbol{"star.fill"}, MacroAction::Text{""}});
        rig.writeConfig(config);
        rig.open(rig.platform(&windows));
        windows.attach(rig.c(), icons);
    }
    ~TextContrast() override {
        windows.destroyAll();
        QApplication::setPalette(before_);
    }

    MainWindow& main(MainTab tab) {
        rig.c().showMain(tab);
        QApplication::processEvents();
        return *windows.mainWindow();
    }
    template <typename Widget = QLabel> Widget* named(QWidget& in, const QString& name) {
        for (Widget* w : in.findChildren<Widget*>(name))
            if (w->isVisible()) return w;
        return nullptr;
    }
    QLabel* saying(QWidget& in, const QString& text) {
        for (QLabel* label : in.findChildren<QLabel*>())
            if (label->isVisible() && label->text() == text) return label;
        return nullptr;
    }

    QPalette before_;
    SliceIconSources icons;
    QtAppWindows windows;
    CoordinatorRig rig;
};

// Each text that says something in a secondary or a status colour reads at
// 4.5:1 at least against what it is drawn on, in the light and the dark
// appearance.
TEST_P(TextContrast, SecondaryAndStatusTextsRead) {
    using Find = std::function<std::pair<QWidget*, QRect>()>;
    const auto label = [](QWidget* l) -> std::pair<QWidget*, QRect> {
        if (!l) return {nullptr, {}};
        // Only what is on screen of it.
        const QRect seen = l->visibleRegion().boundingRect();
        return {l->window(), QRect(l->mapTo(l->window(), seen.topLeft()), seen.size())};
    };
    const struct {
        const char* what;
        Find find;
    } texts[] = {
        {"the sidebar's Settings heading",
         [&] {
             auto* list = main(MainTab::wheels).findChild<QListWidget*>("sidebar");
             const auto headings = list->findItems("Settings", Qt::MatchExactly);
             if (headings.isEmpty()) return std::pair<QWidget*, QRect>{};
             const QRect row = list->visualItemRect(headings.front());
             return std::pair<QWidget*, QRect>{
                 list->window(), QRect(list->viewport()->mapTo(list->window(), row.topLeft()), row.size())};
         }},
        {"a settings caption", [&] { return label(named(main(MainTab::general), "settingSubtitle")); }},
        {"the wheel card's hint",
         [&] {
             return label(
                 saying(main(MainTab::wheels), "Pick an app to open this wheel there automatically."));
         }},
        {"the action's caption", [&] { return label(named(main(MainTab::wheels), "actionCaption")); }},
        {"a symbol's name", [&] { return label(named(main(MainTab::wheels), "chooserName")); }},
        {"the slice that won't do anything",
         [&] {
             QWidget* warning = named<QWidget>(main(MainTab::wheels), "unconfiguredWarning");
             return label(warning ? warning->findChildren<QLabel*>().last() : nullptr);
         }},
        {"the official wheel's note",
         [&] {
             auto* gallery = main(MainTab::gallery).findChild<GalleryBrowserPage*>();
             QTest::mouseClick(gallery->wheelButton("gallery-slack"), Qt::LeftButton);
             QTest::mouseClick(gallery->addButton(), Qt::LeftButton);
             return label(gallery->sheet() ? gallery->sheet()->trustNote() : nullptr);
         }},
    };
    std::vector<std::pair<QString, QImage>> crops;
    for (const auto& text : texts) {
        const auto [window, box] = text.find();
        ASSERT_TRUE(window) << text.what;
        const Shown shown = shownText(*window, box);
        EXPECT_GE(shown.contrast, 4.5) << text.what;
        crops.emplace_back(QString("%1\n%2:1").arg(text.what).arg(shown.contrast, 0, 'f', 2), shown.box);
    }
    saveSheet(crops, GetParam() ? "contrast-dark.png" : "contrast-light.png");
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, TextContrast, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Dark" : "Light"; });

} // namespace
} // namespace rondelix
