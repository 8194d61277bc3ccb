#include "platform/sim/SimSounds.h"

#include <algorithm>

namespace rondelix::platform::sim {

class SimSounds::SimSound final : public Sound {
  public:
    SimSound(std::string name, std::shared_ptr<Ledger> ledger, std::shared_ptr<int> copiesLeft)
        : name_(std::move(name)), ledger_(std::move(ledger)), copiesLeft_(std::move(copiesLeft)),
          instance_(ledger_->nextInstance++) {}

    std::unique_ptr<Sound> copy() const override {
        if (*copiesLeft_ <= 0) return nullptr;
        --*copiesLeft_;
        return std::make_unique<SimSound>(name_, ledger_, copiesLeft_);
    }
    void setVolume(double volume) override { volume_ = volume; }
    void play() override {
        ledger_->plays.push_back({name_, instance_, volume_});
        ledger_->playing.push_back(instance_);
    }
    void stop() override {
        ledger_->stops.push_back(instance_);
        std::erase(ledger_->playing, instance_);
    }
    bool isPlaying() const override {
        return std::find(ledger_->playing.begin(), ledger_->playing.end(), instance_) !=
               ledger_->playing.end();
    }

  private:
    std::string name_;
    std::shared_ptr<Ledger> ledger_;
    std::shared_ptr<int> copiesLeft_;
    int instance_;
    double volume_ = 1.0;
};

std::unique_ptr<Sound> SimSounds::named(const std::string& name) {
    if (std::find(available.begin(), available.end(), name) == available.end()) return nullptr;
    return std::make_unique<SimSound>(name, log_, std::make_shared<int>(copiesThatSucceed - 1));
}

} // namespace rondelix::platform::sim
