#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace rondelix {

// A connection that ends when it goes: a view holds one per signal it
// watches, so that no slot of a destroyed view is ever called. The signal
// must outlive it, as the services a view watches outlive the view.
class [[nodiscard]] ScopedConnection {
  public:
    ScopedConnection() = default;
    explicit ScopedConnection(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
    ScopedConnection(ScopedConnection&& other) noexcept : disconnect_(std::exchange(other.disconnect_, {})) {}
    ScopedConnection& operator=(ScopedConnection&& other) noexcept {
        if (this != &other) {
            reset();
            disconnect_ = std::exchange(other.disconnect_, {});
        }
        return *this;
    }
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    ~ScopedConnection() { reset(); }

    explicit operator bool() const { return static_cast<bool>(disconnect_); }

    void reset() {
        if (auto disconnect = std::exchange(disconnect_, {})) disconnect();
    }

  private:
    std::function<void()> disconnect_;
};

// A small observer list for services confined to the main thread.
// Slots may connect or disconnect others while an emit is running: the emit
// works on a snapshot and skips slots disconnected meanwhile.
template <typename... Args> class Signal {
  public:
    using Slot = std::function<void(Args...)>;
    using Connection = std::size_t;

    Connection connect(Slot slot) {
        const Connection id = ++lastId_;
        slots_.push_back({id, std::make_shared<Slot>(std::move(slot))});
        return id;
    }

    // The same, ended when the returned connection goes.
    ScopedConnection connectScoped(Slot slot) {
        const Connection id = connect(std::move(slot));
        return ScopedConnection([this, id] { disconnect(id); });
    }

    void disconnect(Connection id) {
        std::erase_if(slots_, [id](const Entry& e) { return e.id == id; });
    }

    void emit(Args... args) const {
        const auto snapshot = slots_;
        for (const auto& entry : snapshot) {
            if (isConnected(entry.id)) (*entry.slot)(args...);
        }
    }

    std::size_t size() const { return slots_.size(); }

  private:
    struct Entry {
        Connection id;
        std::shared_ptr<Slot> slot;
    };

    bool isConnected(Connection id) const {
        for (const auto& e : slots_)
            if (e.id == id) return true;
        return false;
    }

    std::vector<Entry> slots_;
    Connection lastId_ = 0;
};

} // namespace rondelix
