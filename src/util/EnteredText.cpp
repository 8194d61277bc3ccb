#include "util/EnteredText.h"

namespace rondelix {

std::string enteredText(std::string_view text, bool keepsLineBreaks) {
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool lineBreak =
            byte == '\n' || (byte == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
        // U+2028 and U+2029, the line and paragraph separators (E2 80 A8 and
        // E2 80 A9), break lines too when drawn.
        const bool separator = text.substr(i, 2) == "\xE2\x80" && i + 2 < text.size() &&
                               (text[i + 2] == '\xA8' || text[i + 2] == '\xA9');
        if (separator) i += 2;
        if (lineBreak || separator) {
            if (keepsLineBreaks) kept += '\n';
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) continue;
        // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F.
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            ++i;
            continue;
        }
        kept += static_cast<char>(byte);
    }
    return kept;
}

} // namespace rondelix
