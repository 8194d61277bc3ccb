#pragma once

#include "platform/Log.h"

namespace rondelix::platform::linux_desktop {

// Writes each line to syslog and to standard error.
class SystemLog final : public Log {
  public:
    SystemLog();
    ~SystemLog() override;
    void write(std::string_view message) override;
};

} // namespace rondelix::platform::linux_desktop
