#include "settings/ui/AppearancePage.h"

#include "qtshared/QtColor.h"
#include "qtshared/ScrollNeedsFocus.h"
#include "settings/ui/ColorSwatch.h"
#include "settings/ui/LabeledSlider.h"
#include "settings/ui/SettingsText.h"
#include "store/ConfigStore.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QHideEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rondelix {

namespace {

using Position = Behavior::Position;

QColor qColor(const std::string& hex) {
    return toQColor(Color::fromHex(hex));
}

std::string hexOf(const QColor& color) {
    const QColor rgb = color.toRgb();
    return hexString(Color{rgb.redF(), rgb.greenF(), rgb.blueF()});
}

} // namespace

AppearancePage::AppearancePage(ConfigStore& store, OverlayController& overlay, TestWheelControl testWheel,
                               QWidget* parent)
    : SettingsPage(store, parent), settings_(store, overlay, testWheel) {
    setObjectName("appearancePage");
    addWheelSection();
    addAppSection();
    if (testWheel.observe) testWheelConnection_ = testWheel.observe([this] { showTestState_(); });
}

AppearancePage::~AppearancePage() = default;

void AppearancePage::hideEvent(QHideEvent* event) {
    // Minimizing the window is not leaving the page.
    if (!event->spontaneous()) settings_.leavePage();
    SettingsPage::hideEvent(event);
}

void AppearancePage::addWheelSection() {
    QVBoxLayout* section = addSection("Wheel");

    auto* size = new LabeledSlider({"Size", "circle.dashed", "How large the wheel appears on screen."},
                                   AppearanceSettings::sizeScale, section->parentWidget());
    section->addWidget(size);
    size->onEditingChanged = [this](bool editing) {
        if (editing)
            settings_.beginSizeDrag();
        else
            settings_.endSizeDrag();
    };
    size->onStep = [this](int step) { settings_.setSize(AppearanceSettings::sizeScale.valueAt(step)); };
    onRefresh([this, size] {
        size->display(AppearanceSettings::sizeScale.stepNear(settings_.behavior().wheelSize),
                      settings_.sizeText());
    });

    auto* position = new QComboBox;
    ScrollNeedsFocus::apply(*position);
    position->addItem("At cursor");
    position->addItem("Screen center");
    addLabeledRow(section, {"Position", "dot.scope", "Where the wheel opens when you summon it."}, position);
    connect(position, &QComboBox::activated, this, [this](int index) {
        settings_.setPosition(index == 1 ? Position::screenCenter : Position::cursor);
    });
    onRefresh([this, position] {
        const QSignalBlocker quiet(position);
        position->setCurrentIndex(settings_.position() == Position::screenCenter ? 1 : 0);
    });

    auto* transparency = new LabeledSlider(
        {"Transparency", "circle.righthalf.filled", "How much your desktop shows through the wheel."},
        AppearanceSettings::transparencyScale, section->parentWidget());
    section->addWidget(transparency);
    transparency->onStep = [this](int step) {
        settings_.setTransparency(AppearanceSettings::transparencyScale.valueAt(step));
    };
    onRefresh([this, transparency] {
        transparency->display(AppearanceSettings::transparencyScale.stepNear(settings_.transparency()),
                              settings_.transparencyText());
    });

    auto* accent = new ColorSwatch;
    accent->setObjectName("accentColor");
    addLabeledRow(section, {"Accent color", "paintpalette", "Highlight color for the aimed slice."}, accent);
    connect(accent, &QPushButton::clicked, this, [this] {
        const QColor picked =
            QColorDialog::getColor(qColor(settings_.behavior().accentHex), this, "Accent color");
        if (picked.isValid()) settings_.setAccentHex(hexOf(picked));
    });
    onRefresh([this, accent] { accent->setColor(qColor(settings_.behavior().accentHex)); });

    auto* strength =
        new LabeledSlider({"Accent strength", "paintbrush.pointed", "How strongly the accent color shows."},
                          AppearanceSettings::accentStrengthScale, section->parentWidget());
    section->addWidget(strength);
    strength->onStep = [this](int step) {
        settings_.setAccentStrength(AppearanceSettings::accentStrengthScale.valueAt(step));
    };
    onRefresh([this, strength] {
        strength->display(
            AppearanceSettings::accentStrengthScale.stepNear(settings_.behavior().accentStrength),
            settings_.accentStrengthText());
    });

    auto* test = new QPushButton(section->parentWidget());
    test->setObjectName("testAppearance");
    test->setToolTip(
        "Shows the real wheel over your desktop so you can check colors and transparency. Drag its "
        "handle to move it; click again or press Esc to stop.");
    // Wide enough for either title, so that the button does not jump.
    test->setMinimumWidth(test->fontMetrics().horizontalAdvance("Stop Test Appearance") + 32);
    section->addWidget(test, 0, Qt::AlignLeft);
    connect(test, &QPushButton::clicked, this, [this] { settings_.toggleTestWheel(); });
    showTestState_ = [this, test] {
        const bool active = settings_.testWheelActive();
        test->setText(active ? "Stop Test Appearance" : "Test Appearance");
        test->setPalette(QPalette());
        if (active) SettingsText::setColour(*test, SettingsText::destructive(*test));
        SettingsText::setSymbol(*test, active ? "stop.circle.fill" : "eye");
    };
    onRefresh(showTestState_);

    auto* reset = new QPushButton("Reset to Default Appearance", section->parentWidget());
    reset->setObjectName("resetAppearance");
    SettingsText::setSymbol(*reset, "arrow.counterclockwise");
    section->addWidget(reset, 0, Qt::AlignLeft);
    connect(reset, &QPushButton::clicked, this, [this] { settings_.resetToDefaultAppearance(); });
}

void AppearancePage::addAppSection() {
    QVBoxLayout* section = addSection("App");
    auto* glass = new QCheckBox;
    addLabeledRow(section,
                  {"Frosted Glass", "cube.transparent",
                   "Translucent, frosted windows where the compositor blurs them; elsewhere solid."},
                  glass);
    connect(glass, &QCheckBox::toggled, this, [this](bool on) { settings_.setLiquidGlass(on); });
    onRefresh([this, glass] {
        const QSignalBlocker quiet(glass);
        glass->setChecked(settings_.behavior().liquidGlassEnabled);
    });
}

} // namespace rondelix
