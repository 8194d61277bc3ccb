#pragma once

#include "platform/MainQueue.h"

#include <functional>

namespace rondelix {

// When the tray's panel is looked at after a change that may repaint it: a
// panel repaints once it has heard the change itself, which takes Plasma's
// panel a few seconds, and may go through a fade. It is looked at a few
// times a second in the first second and in the second after each change
// seen, else once a second, which follows a late repaint within a second
// without waking the program often for a panel that keeps its colour. The
// looks end a second after the colour changed and then held, or after the
// longest such wait. Each look costs round trips to the display, so none is
// made while nothing changes.
class PanelLooks {
  public:
    static constexpr double quickSeconds = 0.25;
    static constexpr double slowSeconds = 1.0;
    static constexpr double settledAfterSeconds = 1.0;
    static constexpr double atMostSeconds = 10.0;

    // `look` looks at the panel and says whether its colour differs from
    // the look before.
    PanelLooks(platform::MainQueue& queue, std::function<bool()> look);

    // A change was noticed: the panel is looked at now and then again until
    // it has settled.
    void begin();

  private:
    void lookAgain();

    platform::MainQueue& queue_;
    std::function<bool()> look_;
    // When the looks began, since when the colour has held, and whether it
    // changed meanwhile.
    double since_ = 0;
    double steadySince_ = 0;
    bool changed_ = false;
    platform::ScopedCancel next_;
};

} // namespace rondelix
