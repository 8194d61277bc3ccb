#pragma once

#include "platform/Images.h"

#include <functional>
#include <string>

namespace rondelix::platform {

// Work on pictures from outside that the user waits for, told what is being
// done and offered a Cancel, while the program goes on serving its windows,
// the summon and a quit.
class WaitedPictureWork {
  public:
    using Work = std::function<void(const Images& images, const std::function<bool()>& keepGoing)>;

    virtual ~WaitedPictureWork() = default;

    // Runs the work away from the calling thread, saying `waiting`, and
    // returns once it has returned. It draws with `images`, drawers of its
    // own: at a Cancel or a quit those stop at once, a picture being drawn
    // coming back as none, and keepGoing() says no from then on.
    virtual void run(const std::string& waiting, const Work& work) = 0;
};

} // namespace rondelix::platform
