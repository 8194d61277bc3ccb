// Choosing a slice's picture through the program's own "Choose Image…"
// button on My Wheels, for the tests of what becomes of a chosen picture.

#pragma once

#include "EndToEndRig.h"

namespace rondelix::e2e {

// Where the button with this text lies on the screen, in the main window
// showing My Wheels of this configuration.
inline QPoint buttonOnMyWheels(const Config& config, QRect window, const char* text) {
    return window.topLeft() +
           measuredOnTwin(config, MainTab::wheels, window.size(), [text](MainWindow& twin) {
               for (QPushButton* b : twin.findChildren<QPushButton*>())
                   if (b->isVisible() && b->text() == text) return b->mapTo(&twin, b->rect().center());
               ADD_FAILURE() << "the twin shows no " << text;
               return QPoint();
           });
}

// Where "Choose Image…" lies now: the row puts the button beside the picture's
// name where both fit and under it where they do not, so it moves as a
// picture is stored.
inline QPoint chooseImageButton(const TestHome& home, QRect window) {
    return buttonOnMyWheels(*decodeConfigBytes(readFile(home.configFolder() / "config.json")), window,
                            "Choose Image…");
}

// Gives the default wheel's top slice an image kind without a picture, so
// that My Wheels shows its "Choose Image…" button; the configuration written.
inline Config withTopSliceAwaitingAPicture(const TestHome& home) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (Wheel& wheel : config.wheels)
        for (Slice& slice : wheel.slices)
            if (wheel.id == "default" && slice.position == 0) slice.icon = Icon::CustomImage{""};
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    return config;
}

// The top slice's custom image as the configuration file holds it now.
inline std::optional<std::string> topImage(const TestHome& home) {
    const auto top = home.topSlice();
    const auto* image = top ? top->icon.as<Icon::CustomImage>() : nullptr;
    return image ? std::optional(image->filename) : std::nullopt;
}

// Presses the button and names the file in the file chooser it opens.
inline void choosePicture(const Program& program, QPoint chooseButton, const fs::path& file) {
    const std::set<std::string> before = windowsOf(program);
    clickAt(chooseButton);
    const std::string chooser = newWindowOf(program, before);
    ASSERT_FALSE(chooser.empty()) << "no file chooser";
    xdotool("type --delay 10 '" + file.string() + "'");
    xdotool("key Return");
    ASSERT_TRUE(waitFor([&] { return !windowsOf(program).contains(chooser); }, patience))
        << "the file chooser stayed open";
}

// Whether the form tells of a refused picture under the button, in orange.
inline bool refusalShownUnder(QRect window, QPoint chooseButton) {
    const QRect underButton(window.right() - 450, chooseButton.y() + 10, 450, 50);
    const QImage screen = grabScreen();
    for (int y = underButton.top(); y <= underButton.bottom(); ++y)
        for (int x = underButton.left(); x <= underButton.right(); ++x)
            if (const QColor c = screen.pixelColor(x, y); c.red() - c.blue() > 100 && c.green() > 40)
                return true;
    return false;
}

} // namespace rondelix::e2e
