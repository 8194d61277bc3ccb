#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix::platform {

// A named user default whose value has type T (bool, int or std::string).
template <typename T> struct DefaultsKey { std::string_view name; };

// Small settings of the program that live outside the configuration: launch
// breadcrumbs, onboarding progress, window sizes. Each key may have a
// registered default, which applies only while nothing is stored under it.
class UserDefaults {
  public:
    virtual ~UserDefaults() = default;

    // What is stored under the key, ignoring registered defaults.
    virtual std::optional<nlohmann::json> stored(std::string_view key) const = 0;
    virtual void store(std::string_view key, nlohmann::json value) = 0;
    virtual void erase(std::string_view key) = 0;

    // Changes made while a batch is open reach the disk together when the
    // outermost batch closes.
    class Batch {
      public:
        explicit Batch(UserDefaults& defaults) : defaults_(defaults) { defaults_.beginChanges(); }
        ~Batch() { defaults_.endChanges(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        UserDefaults& defaults_;
    };

    void registerDefaults(const std::map<std::string, nlohmann::json>& defaults);
    // The stored value, else the registered default, else nothing.
    std::optional<nlohmann::json> value(std::string_view key) const;
    bool hasStoredValue(std::string_view key) const { return stored(key).has_value(); }

    // Read as the system reads typed defaults: a missing or mistyped Bool is
    // false, a missing Int 0, a missing String absent.
    bool get(DefaultsKey<bool> key) const;
    int get(DefaultsKey<int> key) const;
    std::optional<std::string> get(DefaultsKey<std::string> key) const;

    void set(DefaultsKey<bool> key, bool value) { store(key.name, value); }
    void set(DefaultsKey<int> key, int value) { store(key.name, value); }
    void set(DefaultsKey<std::string> key, const std::string& value) { store(key.name, value); }
    template <typename T> void remove(DefaultsKey<T> key) { erase(key.name); }
    template <typename T> bool hasStoredValue(DefaultsKey<T> key) const { return hasStoredValue(key.name); }

  protected:
    virtual void beginChanges() {}
    virtual void endChanges() {}

  private:
    std::map<std::string, nlohmann::json, std::less<>> registered_;
};

} // namespace rondelix::platform
