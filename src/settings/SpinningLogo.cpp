#include "settings/SpinningLogo.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace rondelix {

namespace {

double randomImpulse() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_real_distribution<double>(SpinningLogo::minImpulse,
                                                  SpinningLogo::maxImpulse)(generator);
}

} // namespace

SpinningLogo::SpinningLogo(platform::MainQueue& queue, std::function<double()> impulse)
    : queue_(queue), impulse_(impulse ? std::move(impulse) : randomImpulse), startTime_(queue.now()) {}

SpinningLogo::~SpinningLogo() {
    lifetime_.end();
}

double SpinningLogo::angle(double now) const {
    const double t = std::max(0.0, now - startTime_);
    return baseAngle_ + (v0_ / friction) * (1 - std::exp(-friction * t));
}

double SpinningLogo::velocity(double now) const {
    return v0_ * std::exp(-friction * std::max(0.0, now - startTime_));
}

void SpinningLogo::spin() {
    const double now = queue_.now();
    const double current = velocity(now);
    baseAngle_ = angle(now);
    startTime_ = now;
    v0_ = current + impulse_();
    spinning_ = true;
    if (v0_ >= frenzyVelocity && onFrenzy) onFrenzy();

    const int token = ++stopToken_;
    // When the decaying speed has fallen to the resting speed.
    const double stopAfter = std::max(0.4, std::log(std::max(v0_, 1.0) / restingVelocity) / friction);
    queue_.after(stopAfter, [this, alive = lifetime_.watch(), token] {
        if (!alive || stopToken_ != token) return;
        baseAngle_ = angle(queue_.now());
        v0_ = 0;
        spinning_ = false;
        if (onStop) onStop();
    });
}

} // namespace rondelix
