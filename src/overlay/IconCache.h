#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

namespace rondelix {

// Application icons and custom images already found, so a redraw on every
// aim change neither asks the desktop nor reads files again. Only found
// images are kept; the whole map is emptied before it would grow past its
// bound, since entries refill on demand.
template <typename Image> class IconCache {
  public:
    static constexpr std::size_t capacity = 256;

    const Image* find(const std::string& key) const {
        const auto found = entries_.find(key);
        return found == entries_.end() ? nullptr : &found->second;
    }

    const Image& store(const std::string& key, Image image) {
        if (entries_.size() >= capacity) entries_.clear();
        return entries_.insert_or_assign(key, std::move(image)).first->second;
    }

    std::size_t size() const { return entries_.size(); }

  private:
    std::unordered_map<std::string, Image> entries_;
};

inline std::string appIconKey(const std::optional<std::string>& bundleIdentifier,
                              const std::optional<std::string>& path) {
    return "b:" + bundleIdentifier.value_or("") + "|p:" + path.value_or("");
}

inline std::string customImageKey(const std::string& filename) {
    return "img:" + filename;
}

} // namespace rondelix
