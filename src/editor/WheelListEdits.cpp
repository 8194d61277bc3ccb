#include "editor/WheelListEdits.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace rondelix {

namespace {

bool hasWheelId(const std::vector<Wheel>& wheels, const std::string& id) {
    return findWheel(wheels, id) != nullptr;
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The first of base, base + first, base + more + 2, base + more + 3 ... not in `taken`.
std::string firstFree(const std::set<std::string>& taken, const std::string& base, const std::string& first,
                      const std::string& more) {
    std::string candidate = base + first;
    for (int k = 2; taken.count(candidate) != 0; ++k)
        candidate = base + more + std::to_string(k);
    return candidate;
}

} // namespace

Wheel* findWheel(std::vector<Wheel>& wheels, std::string_view id) {
    const auto found = std::find_if(wheels.begin(), wheels.end(), [&](const Wheel& w) { return w.id == id; });
    return found == wheels.end() ? nullptr : &*found;
}

const Wheel* findWheel(const std::vector<Wheel>& wheels, std::string_view id) {
    const auto found = std::find_if(wheels.begin(), wheels.end(), [&](const Wheel& w) { return w.id == id; });
    return found == wheels.end() ? nullptr : &*found;
}

Wheel newWheel(const std::vector<Wheel>& wheels) {
    const auto count = wheels.size();
    auto n = count + 1;
    while (hasWheelId(wheels, "wheel-" + std::to_string(n)))
        ++n;
    Wheel wheel;
    wheel.id = "wheel-" + std::to_string(n);
    wheel.name = "Wheel " + std::to_string(count + 1);
    wheel.sliceCount = 8;
    return wheel;
}

Wheel duplicateOf(const Wheel& source, const std::vector<Wheel>& wheels) {
    std::set<std::string> ids, names;
    for (const Wheel& w : wheels) {
        ids.insert(w.id);
        names.insert(w.name);
    }
    Wheel copy = source;
    copy.id = firstFree(ids, source.id, "-copy", "-copy-");
    copy.name = firstFree(names, source.name, " copy", " copy ");
    copy.appBundleIdentifier.reset();
    for (Slice& slice : copy.slices)
        slice.id = Uuid::generate();
    return copy;
}

void insertAfter(std::vector<Wheel>& wheels, const std::string& afterId, Wheel wheel) {
    const auto at =
        std::find_if(wheels.begin(), wheels.end(), [&](const Wheel& w) { return w.id == afterId; });
    wheels.insert(at == wheels.end() ? wheels.end() : at + 1, std::move(wheel));
}

bool moveWheelOnto(std::vector<Wheel>& wheels, const std::string& draggedId, const std::string& targetId) {
    const auto indexOf = [&](const std::string& id) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < wheels.size(); ++i)
            if (wheels[i].id == id) return i;
        return std::nullopt;
    };
    const auto from = indexOf(draggedId);
    const auto to = indexOf(targetId);
    // Onto itself there is nowhere to go.
    if (!from || !to || *from == *to) return false;
    Wheel dragged = std::move(wheels[*from]);
    wheels.erase(wheels.begin() + static_cast<std::ptrdiff_t>(*from));
    const std::size_t target = indexOf(targetId).value_or(wheels.size());
    const std::size_t at = std::min(*from < *to ? target + 1 : target, wheels.size());
    wheels.insert(wheels.begin() + static_cast<std::ptrdiff_t>(at), std::move(dragged));
    return true;
}

void moveWheelBy(std::vector<Wheel>& wheels, const std::string& id, int offset) {
    const auto found = std::find_if(wheels.begin(), wheels.end(), [&](const Wheel& w) { return w.id == id; });
    if (found == wheels.end()) return;
    const auto i = static_cast<long>(found - wheels.begin());
    const long j = i + offset;
    if (j < 0 || j >= static_cast<long>(wheels.size())) return;
    std::swap(wheels[static_cast<std::size_t>(i)], wheels[static_cast<std::size_t>(j)]);
}

bool isNumberedWheelName(std::string_view name) {
    constexpr std::string_view prefix = "Wheel ";
    if (!name.starts_with(prefix)) return false;
    std::string_view number = trimmedBlanks(name.substr(prefix.size()));
    // A minus sign leaves zero or less, which no added wheel was named.
    if (number.starts_with('+')) number.remove_prefix(1);
    if (number.empty() || number.front() < '0' || number.front() > '9') return false;
    long long value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() && value >= 1;
}

} // namespace rondelix
