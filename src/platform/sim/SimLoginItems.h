#pragma once

#include "platform/LoginItems.h"

#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform::sim {

// Login-item registration in memory. A test can make the next changes fail
// and choose what the system then reports.
class SimLoginItems final : public LoginItems {
  public:
    Status status() const override { return status_; }

    Result<> setRegistered(bool registered) override {
        requests_.push_back(registered);
        if (failure_) return Failure{*failure_};
        status_ = registered ? Status::enabled : Status::notRegistered;
        return {};
    }

    void setStatus(Status status) { status_ = status; }
    // While set, every change fails with this description and the status stays.
    void failWith(std::optional<std::string> failure) { failure_ = std::move(failure); }
    const std::vector<bool>& requests() const { return requests_; }

  private:
    Status status_ = Status::notRegistered;
    std::optional<std::string> failure_;
    std::vector<bool> requests_;
};

} // namespace rondelix::platform::sim
