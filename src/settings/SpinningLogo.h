#pragma once

#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"

#include <functional>
#include <memory>

namespace rondelix {

// The About page's logo: each click flicks it into a spin that slows down by
// exponential friction; a click that leaves it spinning at 4500°/s or more
// calls onFrenzy. Time comes from the main queue's clock. Main thread.
class SpinningLogo {
  public:
    static constexpr double friction = 2.0;
    static constexpr double frenzyVelocity = 4500.0;
    static constexpr double minImpulse = 1200.0;
    static constexpr double maxImpulse = 2000.0;
    // The spin counts as stopped once it is this slow, in degrees per second.
    static constexpr double restingVelocity = 6.0;

    // `impulse` gives each click's added speed; by default a uniform draw
    // between 1200 and 2000 degrees per second.
    explicit SpinningLogo(platform::MainQueue& queue, std::function<double()> impulse = {});
    ~SpinningLogo();
    SpinningLogo(const SpinningLogo&) = delete;
    SpinningLogo& operator=(const SpinningLogo&) = delete;

    // Degrees, clockwise, at the queue's time `now`.
    double angle(double now) const;
    double angle() const { return angle(queue_.now()); }
    double velocity(double now) const;
    bool spinning() const { return spinning_; }

    void spin();

    std::function<void()> onFrenzy;
    // The spin came to rest.
    std::function<void()> onStop;

  private:
    platform::MainQueue& queue_;
    std::function<double()> impulse_;
    double baseAngle_ = 0;
    double v0_ = 0;
    double startTime_;
    bool spinning_ = false;
    int stopToken_ = 0;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
