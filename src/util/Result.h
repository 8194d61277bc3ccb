#pragma once

#include <optional>
#include <string>
#include <utility>

namespace rondelix {

// Why an operation failed, in the program's own words (for a file, the
// system's description of the error with the path it concerns).
struct Failure {
    std::string message;
};

// The outcome of an operation that can fail: the value it produced, or why it
// failed. `Result<>` carries no value. Callers must look at it: a failure
// dropped on the floor is a failure the user never hears of.
template <typename T = void> class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return !error_; }

    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }

    // The failure's message; empty on success.
    const std::string& error() const { return error_ ? *error_ : empty(); }

  private:
    static const std::string& empty() {
        static const std::string none;
        return none;
    }

    std::optional<T> value_;
    std::optional<std::string> error_;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return !error_; }

    // The failure's message; empty on success.
    const std::string& error() const { return error_ ? *error_ : empty(); }

  private:
    static const std::string& empty() {
        static const std::string none;
        return none;
    }

    std::optional<std::string> error_;
};

} // namespace rondelix
