#pragma once

#include "platform/Sounds.h"

namespace rondelix::platform::sim {

class SimSounds final : public Sounds {
public:
    void beep() override { ++beeps; }

    int beeps = 0;
};

} // namespace rondelix::platform::sim
