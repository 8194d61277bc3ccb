#pragma once

#include "platform/SingleInstance.h"

namespace rondelix::platform::sim {

// One simulated place per object: the first claim takes it, later claims
// hand over to the holder and count as reopen requests.
class SimSingleInstance final : public SingleInstance {
  public:
    Claim claim(std::function<void()> onReopenRequest) override {
        if (!failureText.empty()) return Claim::unavailable;
        if (holder_) {
            holder_();
            return Claim::handedOver;
        }
        holder_ = std::move(onReopenRequest);
        return Claim::claimed;
    }
    std::string failure() const override { return failureText; }

    std::string failureText;

  private:
    std::function<void()> holder_;
};

} // namespace rondelix::platform::sim
