#pragma once

#include <functional>
#include <string>

namespace rondelix::platform {

// One running program per user. The first start claims the place; a later
// start finds it taken and asks the running program to come forward. Claiming
// needs nothing but the operating system, so that a start that only hands over
// ends before the program builds anything else.
class SingleInstance {
  public:
    enum class Claim {
        claimed,       // this process is the one instance
        handedOver,    // another instance runs and was asked to come forward
        notResponding, // another instance holds the place but did not take the request
        unavailable,   // none of these; `failure` says why
    };

    virtual ~SingleInstance() = default;

    virtual Claim claim() = 0;
    // Once claimed and the main queue runs: `onReopenRequest` runs on it
    // whenever a later start asks this one to come forward. Requests that
    // came in between wait for this call.
    virtual void serve(std::function<void()> onReopenRequest) = 0;
    virtual std::string failure() const = 0;
    // The process that holds the place and did not respond; 0 when unknown.
    virtual int unresponsiveProcess() const = 0;
    // Gives the place up at once: an instance that is quitting lets a new
    // start become the instance instead of asking one that no longer serves.
    virtual void release() = 0;
};

} // namespace rondelix::platform
