#include "settings/WheelBehaviorRows.h"

namespace rondelix {

namespace {

using Mode = Behavior::HeldArrowMode;

SettingRow heldArrowModeRow() {
    SettingRow row;
    row.control = SettingRow::Control::choice;
    row.text = {"Pressed arrow after firing", "arrow.down.square",
                "Prevents arrow keys from repeatedly firing after you select a slice."};
    row.options = {"Paused until released", "Resumes after delay"};
    row.chosen = [](const Behavior& b) { return b.heldArrowMode == Mode::delay ? 1 : 0; };
    row.choose = [](Behavior& b, int option) {
        b.heldArrowMode = option == 1 ? Mode::delay : Mode::untilReleased;
    };
    return row;
}

SettingRow shownWhile(SettingRow row, bool (*condition)(const Behavior&)) {
    row.shownWhen = condition;
    return row;
}

std::vector<SettingRow> summoningRows() {
    return {
        toggleRow({"Detect app", "macwindow.on.rectangle",
                   "Summon opens the wheel you've bound to the app you're in."},
                  &Behavior::detectApp),
        toggleRow({"Reopen last-used wheel", "arrow.uturn.backward",
                   "Summon reopens your last wheel, not the first."},
                  &Behavior::reopenLastWheel),
        toggleRow({"Sticky aim", "pin",
                   "Keeps your keyboard aim after you release the arrow key, so a quick tap arms a slice to "
                   "fire. (The mouse always deselects at the center.)"},
                  &Behavior::stickyAim),
        toggleRow({"Numpad picks slices by number", "number.square",
                   "Off: the numpad's 3×3 grid aims a direction (8 up, 6 right, 5 center). On: each numpad "
                   "key selects that slice number. Either way, an arrow tap fine-tunes."},
                  &Behavior::numpadDirectSlice),
        heldArrowModeRow(),
        shownWhile(millisecondsRow({"Resume delay", "timer", "Wait before the arrow starts repeating again."},
                                   {100, 1000, 50}, &Behavior::heldArrowDelayMs),
                   [](const Behavior& b) { return b.heldArrowMode == Mode::delay; }),
        toggleRow({"Release grace", "hourglass",
                   "If you let go before aiming, the wheel waits briefly for a late aim instead of closing."},
                  &Behavior::releaseGraceEnabled),
        shownWhile(millisecondsRow(
                       {"Grace window", "timer", "How long the wheel waits for a late aim after release."},
                       {50, 1000, 50}, &Behavior::releaseGraceMs),
                   [](const Behavior& b) { return b.releaseGraceEnabled; }),
        toggleRow({"Empty slice opens editor", "rectangle.dashed", "Firing a blank slice opens the editor."},
                  &Behavior::emptySliceOpensEditor),
        toggleRow(
            {"Fade out on close", "circle.dotted",
             "Wheel fades out instead of vanishing instantly. Needs a compositor: without one the wheel "
             "closes at once."},
            &Behavior::closeFadeEnabled),
        shownWhile(millisecondsRow({"Fade duration", "timer", "How long the fade-out takes."}, {80, 500, 10},
                                   &Behavior::closeFadeMs),
                   [](const Behavior& b) { return b.closeFadeEnabled; }),
    };
}

std::vector<SettingRow> switchingRows() {
    return {
        toggleRow({"Tab / Shift+Tab cycle wheels", "arrow.left.arrow.right",
                   "Tab and Shift+Tab switch wheels while open."},
                  &Behavior::tabCyclesWheels),
        shownWhile(toggleRow({"Tap Shift to go back", "arrow.uturn.backward",
                              "A quick Shift tap cycles to the previous wheel, no need to hold Shift+Tab."},
                             &Behavior::shiftTapCyclesBackward),
                   [](const Behavior& b) { return b.tabCyclesWheels; }),
        percentRow({"Scroll sensitivity", "computermouse", "How fast scrolling moves between wheels."},
                   {0.25, 1.75, 0.25}, &Behavior::scrollSensitivity),
        toggleRow(
            {"Invert scroll direction", "arrow.up.arrow.down", "Reverse which way scrolling cycles wheels."},
            &Behavior::invertScroll),
    };
}

} // namespace

std::vector<SettingSection> wheelBehaviorSections() {
    return {
        {"Summoning", summoningRows(),
         "The wheel stays open as long as you hold the hotkey. Release to fire the aimed slice, or release "
         "without aiming to dismiss. Sticky aim keeps the aimed slice after you release the arrow key, so a "
         "quick keyboard tap still arms it (press Esc to cancel)."},
        {"Switching wheels", switchingRows(),
         "While the wheel is open: Tab / Shift+Tab cycle wheels (toggle above to free those keys), 1–9 jump "
         "straight to a wheel, and scrolling cycles wheels."},
    };
}

} // namespace rondelix
