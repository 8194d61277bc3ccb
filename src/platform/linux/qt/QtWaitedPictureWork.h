#pragma once

#include "platform/WaitedPictureWork.h"

namespace rondelix::platform::linux_desktop {

// The work runs on a thread of its own with drawers of its own, behind a
// modal that says what is being done and offers a Cancel; a nested event
// loop keeps the program running meanwhile. A Cancel, or a quit, which
// ends every event loop, shuts those drawers down and stops the work.
class QtWaitedPictureWork final : public WaitedPictureWork {
  public:
    void run(const std::string& waiting, const Work& work) override;
};

} // namespace rondelix::platform::linux_desktop
