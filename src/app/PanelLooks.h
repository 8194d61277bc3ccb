#pragma once

#include "platform/MainQueue.h"

#include <functional>

namespace rondelix {

// When the tray's panel is looked at after a change that may repaint it: a
// panel repaints once it has heard the change itself, which takes Plasma's
// panel a few seconds, and may go through a fade. Where the display tells
// of the panel's repaints, the panel is looked at once now and then after
// each repaint, a few times a second at most, up to the longest such wait:
// a panel that keeps its colour costs one look, and is followed until it
// repaints after that wait or the next change. Elsewhere it is looked at a
// few times a second in the first second and in the second after each
// change seen, else once a second, which follows a late repaint within a
// second; those looks end a second after the colour changed and then held,
// or after the longest wait. Each look costs round trips to the display, so
// none is made while nothing changes.
class PanelLooks {
  public:
    // The notices of one change come a few milliseconds apart (the
    // desktop's scheme, then the toolkit's palette): one look answers all.
    static constexpr double gatherSeconds = 0.05;
    static constexpr double quickSeconds = 0.25;
    static constexpr double slowSeconds = 1.0;
    static constexpr double settledAfterSeconds = 1.0;
    static constexpr double atMostSeconds = 10.0;

    // Telling of the panel's repaints: `follow` starts it (where the panel
    // showed at the look before) and says whether the display can tell;
    // `stop` ends it.
    struct Repaints {
        std::function<bool()> follow;
        std::function<void()> stop;
    };

    // `look` looks at the panel and says whether its colour differs from
    // the look before.
    PanelLooks(platform::MainQueue& queue, std::function<bool()> look, Repaints repaints = {});
    ~PanelLooks();
    PanelLooks(const PanelLooks&) = delete;
    PanelLooks& operator=(const PanelLooks&) = delete;

    // A change was noticed: the panel is looked at in a moment and then
    // again until it has settled.
    void begin();
    // The panel was drawn again while followed: it is looked at soon.
    void repainted();

  private:
    void lookFirst();
    void lookAgain();
    void lookAfterRepaint();
    void stopFollowing();

    platform::MainQueue& queue_;
    std::function<bool()> look_;
    Repaints repaints_;
    // When the looks began, since when the colour has held, and whether it
    // changed meanwhile.
    double since_ = 0;
    double steadySince_ = 0;
    bool changed_ = false;
    // Whether repaints are being told, whether the first look after a
    // change or a look after a repaint waits, and when the panel was last
    // looked at.
    bool following_ = false;
    bool firstLookWaits_ = false;
    bool lookWaits_ = false;
    double lastLook_ = 0;
    platform::ScopedCancel next_;
};

} // namespace rondelix
