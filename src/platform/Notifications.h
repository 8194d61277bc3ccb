#pragma once

#include <functional>
#include <optional>
#include <string>

namespace rondelix::platform {

// Named notices that other programs of the user's own session send to this
// one, each with an optional text. Notices from anyone else never arrive.
// Handlers run on the main queue.
class Notifications {
  public:
    using Token = int;
    using Handler = std::function<void(const std::optional<std::string>& text)>;

    virtual ~Notifications() = default;

    // The name is reverse-DNS, as "org.example.Program.topic.verb".
    virtual Token observe(const std::string& name, Handler handler) = 0;
    virtual void remove(Token token) = 0;
};

} // namespace rondelix::platform
