#pragma once

#include <QString>
#include <string_view>

namespace rondelix {

// The program keeps its texts as UTF-8; Qt shows them as QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace rondelix
