#pragma once

#include <functional>
#include <string>

namespace rondelix::platform {

// One running program per user. The first start claims the place; a later
// start finds it taken and asks the running program to come forward.
class SingleInstance {
  public:
    enum class Claim {
        claimed,     // this process is the one instance
        handedOver,  // another instance runs and was asked to come forward
        unavailable, // neither worked; `failure` says why
    };

    virtual ~SingleInstance() = default;

    // Tries to become the one instance. Once claimed, `onReopenRequest` runs
    // on the main queue whenever a later start asks this one to come forward.
    virtual Claim claim(std::function<void()> onReopenRequest) = 0;
    virtual std::string failure() const = 0;
};

} // namespace rondelix::platform
