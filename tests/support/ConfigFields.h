#pragma once

#include <algorithm>
#include <functional>
#include <iterator>
#include <type_traits>
#include <vector>

namespace rondelix {

// One field of every record of a list, in list order: fields(config.wheels, &Wheel::id).
template <typename Record, typename Field> auto fields(const std::vector<Record>& records, Field field) {
    std::vector<std::remove_cvref_t<std::invoke_result_t<Field, const Record&>>> out;
    std::ranges::transform(records, std::back_inserter(out), field);
    return out;
}

} // namespace rondelix
