#pragma once

#include "platform/Notifications.h"

#include <map>

namespace rondelix::platform::sim {

// Notices that tests post by hand.
class SimNotifications final : public Notifications {
  public:
    Token observe(const std::string& name, Handler handler) override {
        observers_[++lastToken_] = {name, std::move(handler)};
        return lastToken_;
    }
    void remove(Token token) override { observers_.erase(token); }

    void post(const std::string& name, const std::optional<std::string>& text = std::nullopt) {
        const auto snapshot = observers_;
        for (const auto& [token, observer] : snapshot)
            if (observer.name == name && observers_.count(token)) observer.handler(text);
    }
    std::size_t observerCount() const { return observers_.size(); }

  private:
    struct Observer {
        std::string name;
        Handler handler;
    };

    std::map<Token, Observer> observers_;
    Token lastToken_ = 0;
};

} // namespace rondelix::platform::sim
