#pragma once

#include "platform/SessionEvents.h"

#include <map>
#include <optional>
#include <vector>

namespace rondelix::platform::sim {

// Session notices that tests deliver by hand.
class SimSessionEvents final : public SessionEvents {
  public:
    Token observeActivation(std::function<void()> handler) override {
        return add(std::nullopt, std::move(handler));
    }
    Token observe(Notice notice, std::function<void()> handler) override {
        return add(notice, std::move(handler));
    }
    void remove(Token token) override { observers_.erase(token); }

    void activate() { deliver(std::nullopt); }
    void post(Notice notice) { deliver(notice); }

    std::size_t observerCount() const { return observers_.size(); }
    // The notices observed, in registration order.
    std::vector<Notice> observedNotices() const {
        std::vector<Notice> notices;
        for (const auto& [token, observer] : observers_)
            if (observer.notice) notices.push_back(*observer.notice);
        return notices;
    }

  private:
    struct Observer {
        std::optional<Notice> notice; // none: activation
        std::function<void()> handler;
    };

    Token add(std::optional<Notice> notice, std::function<void()> handler) {
        observers_[++lastToken_] = {notice, std::move(handler)};
        return lastToken_;
    }
    void deliver(std::optional<Notice> notice) {
        const auto snapshot = observers_;
        for (const auto& [token, observer] : snapshot)
            if (observer.notice == notice && observers_.count(token)) observer.handler();
    }

    std::map<Token, Observer> observers_;
    Token lastToken_ = 0;
};

} // namespace rondelix::platform::sim
