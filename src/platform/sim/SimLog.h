#pragma once

#include "platform/Log.h"

#include <string>
#include <vector>

namespace rondelix::platform::sim {

// Keeps every line, prefix included, for tests to read.
class SimLog final : public Log {
  public:
    void write(std::string_view message) override {
        lines_.push_back(std::string(prefix) + std::string(message));
    }
    std::vector<std::string> recentLines(double) const override { return lines_; }

    const std::vector<std::string>& lines() const { return lines_; }
    bool contains(std::string_view line) const {
        for (const auto& l : lines_)
            if (l == line) return true;
        return false;
    }
    void clear() { lines_.clear(); }

  private:
    std::vector<std::string> lines_;
};

} // namespace rondelix::platform::sim
