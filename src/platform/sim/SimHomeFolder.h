#pragma once

#include "platform/HomeFolder.h"

#include <utility>

namespace rondelix::platform::sim {

// A home folder chosen by the test, normally a temporary one.
class SimHomeFolder final : public HomeFolder {
  public:
    explicit SimHomeFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path() const override { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace rondelix::platform::sim
