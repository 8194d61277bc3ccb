#include "util/SpokenList.h"

namespace rondelix {

std::string_view spokenListSeparator(std::size_t index, std::size_t count) {
    if (index + 1 >= count) return {};
    if (count == 2) return " or ";
    return index + 2 == count ? ", or " : ", ";
}

std::string spokenList(const std::vector<std::string>& names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += names[i] + std::string(spokenListSeparator(i, names.size()));
    return list;
}

} // namespace rondelix
