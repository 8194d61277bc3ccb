#pragma once

namespace rondelix::platform {

// Short sounds: the named sounds of aim and fire feedback, and the beep that
// stands in for a failure nobody else reports.
class Sounds {
public:
    virtual ~Sounds() = default;

    virtual void beep() = 0;
};

} // namespace rondelix::platform
