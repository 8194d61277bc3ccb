#pragma once

namespace rondelix::platform {

// The system's answer on listening to global input, asked without prompting.
// Until the user has answered, it is undetermined.
class InputAccess {
  public:
    enum class State { granted, denied, undetermined };

    virtual ~InputAccess() = default;
    virtual State listenAccess() const = 0;

    bool isDetermined() const { return listenAccess() != State::undetermined; }
};

} // namespace rondelix::platform
