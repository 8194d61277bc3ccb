#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace rondelix {

// A set of key codes (keys, modifiers, mouse buttons 1000 to 1029). Only a few
// keys are ever held at once, so a sorted vector beats a tree or a hash on
// every path the event handlers take.
class KeyCodeSet {
  public:
    using Code = std::uint16_t;

    KeyCodeSet() = default;
    KeyCodeSet(std::initializer_list<Code> codes) {
        for (Code c : codes)
            insert(c);
    }

    bool contains(Code code) const { return std::binary_search(codes_.begin(), codes_.end(), code); }
    bool empty() const { return codes_.empty(); }
    std::size_t size() const { return codes_.size(); }
    void clear() { codes_.clear(); }

    void insert(Code code) {
        auto at = std::lower_bound(codes_.begin(), codes_.end(), code);
        if (at == codes_.end() || *at != code) codes_.insert(at, code);
    }
    // Answers whether the code was there.
    bool erase(Code code) {
        auto at = std::lower_bound(codes_.begin(), codes_.end(), code);
        if (at == codes_.end() || *at != code) return false;
        codes_.erase(at);
        return true;
    }
    void insertAll(const KeyCodeSet& other) {
        for (Code c : other)
            insert(c);
    }

    KeyCodeSet intersected(const KeyCodeSet& other) const {
        KeyCodeSet out;
        std::set_intersection(codes_.begin(), codes_.end(), other.codes_.begin(), other.codes_.end(),
                              std::back_inserter(out.codes_));
        return out;
    }
    KeyCodeSet united(const KeyCodeSet& other) const {
        KeyCodeSet out;
        std::set_union(codes_.begin(), codes_.end(), other.codes_.begin(), other.codes_.end(),
                       std::back_inserter(out.codes_));
        return out;
    }

    std::vector<Code>::const_iterator begin() const { return codes_.begin(); }
    std::vector<Code>::const_iterator end() const { return codes_.end(); }

    friend bool operator==(const KeyCodeSet&, const KeyCodeSet&) = default;

  private:
    std::vector<Code> codes_;
};

} // namespace rondelix
