#include "WheelRendering.h"
#include "icons/FaviconCache.h"
#include "icons/ui/FaviconImages.h"
#include "icons/ui/SymbolFont.h"
#include "overlay/ui/SliceIconPainter.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/SliceShapePath.h"
#include "overlay/ui/WheelGraphic.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimMainQueue.h"
#include "support/ScopedHome.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace rondelix;
using rondelix::testing::makeSlice;
using rondelix::testing::render;

namespace {

// A home folder and desktop data of its own, so icons come from files the
// test writes.
class SliceIcons : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        scoped.emplace(home.path().toStdString());
        QDir().mkpath(iconFolder());
        QDir().mkpath(home.path() + "/.local/share/applications");
    }
    void TearDown() override { scoped.reset(); }

    QString iconFolder() const { return home.path() + "/.config/rondelix/icons"; }

    void writePng(const QString& path, QColor color) {
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(path, "PNG"));
    }

    // The colour at the centre of slot 0's icon, the slice alone in its slot.
    QColor iconCentre(const Slice& slice, WheelGraphic& graphic, SliceIconSources* sources = nullptr) {
        WheelGraphic::Inputs inputs;
        inputs.wheel.slices = {slice};
        inputs.showsHubLabel = false;
        inputs.prefetchFavicons = true;
        inputs.icons = sources ? sources : &icons;
        graphic.setInputs(inputs);
        const QImage image = render(graphic, 320);
        const Point at = WheelGeometry{320}.slotPoint(0, 8);
        return image.pixelColor(qRound(at.x), qRound(at.y));
    }

    QTemporaryDir home;
    SliceIconSources icons;
    std::optional<rondelix::testing::ScopedHome> scoped;
};

bool isRed(const QColor& c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

std::string redPng() {
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    red.save(&out, "PNG");
    return png.toStdString();
}

} // namespace

TEST_F(SliceIcons, CustomImagesLoadFromTheIconFolderAndMissesAreRetried) {
    SliceIconPainter painter;
    painter.setSources(&icons);
    QFile corrupt(iconFolder() + "/C.png");
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("\x89PNG\r\n\x1a\n not really a picture");
    corrupt.close();
    const Slice slice = makeSlice(0, "", Icon::CustomImage{"C.png"});

    WheelGraphic graphic;
    EXPECT_FALSE(isRed(iconCentre(slice, graphic)));
    EXPECT_EQ(painter.missingCustomImage(slice), "C.png");
    EXPECT_EQ(icons.cache().size(), 0u);

    writePng(iconFolder() + "/C.png", Qt::red);
    EXPECT_TRUE(isRed(iconCentre(slice, graphic)));
    EXPECT_EQ(painter.missingCustomImage(slice), std::nullopt);
    EXPECT_NE(icons.cache().find("img:C.png"), nullptr);
}

TEST_F(SliceIcons, ImagesDeclaringHugeSizesAreRefusedUndecoded) {
    // A valid PNG header that claims 100000 × 100000 pixels.
    const QByteArray header =
        QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000186a0000186a00806000000");
    QFile file(iconFolder() + "/Huge.png");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(header);
    file.close();
    EXPECT_EQ(icons.customImage("Huge.png"), nullptr);
}

TEST_F(SliceIcons, ApplicationsShowTheIconTheirDesktopEntryNames) {
    writePng(home.path() + "/red.png", Qt::red);
    const auto install = [&](const QString& id) {
        QFile entry(home.path() + "/.local/share/applications/" + id + ".desktop");
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(("[Desktop Entry]\nName=Red\nIcon=" + home.path() + "/red.png\n").toUtf8());
    };
    install("org.example.Red");

    WheelGraphic graphic;
    const MacroAction app = MacroAction::App{"org.example.Red", std::nullopt};
    EXPECT_TRUE(isRed(iconCentre(makeSlice(0, "", Icon::Auto{}, app), graphic)));
    EXPECT_NE(icons.cache().find("b:org.example.Red|p:"), nullptr);
    EXPECT_FALSE(isRed(iconCentre(makeSlice(0, "", Icon::SfSymbol{"star"}, app), graphic)));
    EXPECT_EQ(icons.appIcon("org.example.Missing", std::nullopt), nullptr);

    // Installed later, it is found once the missing ones are looked for again.
    install("org.example.Missing");
    EXPECT_EQ(icons.appIcon("org.example.Missing", std::nullopt), nullptr);
    icons.forgetMissingApplications();
    EXPECT_NE(icons.appIcon("org.example.Missing", std::nullopt), nullptr);
}

// A link slice asks for its website's icon, shows it once it has arrived and
// redraws at once when it does; a link without a scheme has no website.
TEST_F(SliceIcons, LinkSlicesShowTheFaviconOnceItHasArrived) {
    platform::sim::SimMainQueue queue;
    platform::sim::SimBackground background;
    std::vector<std::string> searched;
    FaviconCache cache(queue, background, [&](const std::string& host) -> std::optional<std::string> {
        searched.push_back(host);
        return redPng();
    });
    FaviconImages favicons(cache);
    SliceIconSources withFavicons({}, &favicons);
    WheelGraphic graphic;
    graphic.resize(320, 320);
    graphic.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&graphic));

    const Slice link = makeSlice(0, "", Icon::Auto{}, MacroAction::Url{"  https://www.example.org/a?b  "});
    // Only the faint slot fill: an automatic icon without favicon shows nothing.
    EXPECT_LT(iconCentre(link, graphic, &withFavicons).alpha(), 40);
    EXPECT_EQ(background.pendingCount(), 1u) << "the search starts off the main thread";

    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++count;
            return false;
        }
    } counter(paints);
    graphic.installEventFilter(&counter);
    background.runAll();
    queue.runPending();
    QCoreApplication::processEvents();
    EXPECT_EQ(searched, std::vector<std::string>{"www.example.org"});
    EXPECT_GT(paints, 0) << "the arrival redraws the wheel";
    const QImage drawn = render(graphic, 320);
    const Point at = WheelGeometry{320}.slotPoint(0, 8);
    EXPECT_TRUE(isRed(drawn.pixelColor(qRound(at.x), qRound(at.y))));
    rondelix::testing::saveArtifact(drawn, "wheel-link-favicon.png");

    iconCentre(makeSlice(0, "", Icon::Auto{}, MacroAction::Url{"news.example.net"}), graphic, &withFavicons);
    EXPECT_EQ(background.pendingCount(), 0u);
}

TEST(SymbolFont, EverySymbolTheProgramUsesHasAGlyphAndUnknownNamesAskAQuestion) {
    for (const char* name :
         {"gearshape.fill", "globe", "circle.lefthalf.filled", "text.quote", "hand.wave.fill", "face.smiling",
          "wifi", "wave.3.right", "powersleep", "speaker.slash.fill", "photo", "plus", "doc.on.doc",
          "square.and.arrow.down", "playpause.fill", "questionmark"})
        EXPECT_TRUE(SymbolFont::knows(name)) << name;
    EXPECT_FALSE(SymbolFont::knows("no.such.symbol"));
    EXPECT_EQ(SymbolFont::glyph("no.such.symbol"), SymbolFont::glyph("questionmark"));
    EXPECT_NE(SymbolFont::glyph("wifi"), SymbolFont::glyph("questionmark"));
    if (!SymbolFont::isAvailable()) GTEST_SKIP() << "the symbol font is not installed";
    const QFontMetricsF metrics(SymbolFont::font(20));
    for (const char* name : {"gearshape.fill", "globe", "wifi", "questionmark", "plus", "photo"})
        EXPECT_TRUE(metrics.inFontUcs4(SymbolFont::glyph(name).at(0).unicode())) << name;
}

TEST(SliceShapePath, OutlinesTheSectorAboutTheRectangleCentreWhateverItsSize) {
    const SliceShape top{0, 4, 50, 100};
    const QPainterPath small = sliceShapePath(top, QRectF(100, 100, 200, 200));
    const QPainterPath large = sliceShapePath(top, QRectF(-300, -300, 1000, 1000));
    EXPECT_EQ(small.boundingRect(), large.boundingRect());
    EXPECT_TRUE(small.contains(QPointF(200, 200 - 75)));
    EXPECT_FALSE(small.contains(QPointF(200, 200 - 40)));
    EXPECT_FALSE(small.contains(QPointF(200 + 75, 200)));
    const QPainterPath pie = sliceShapePath({1, 4, 0, 100}, QRectF(0, 0, 400, 400));
    EXPECT_TRUE(pie.contains(QPointF(205, 200)));
    EXPECT_TRUE(sliceShapePath({0, 0, 50, 100}, QRectF(0, 0, 400, 400)).isEmpty());
}
