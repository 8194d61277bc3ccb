#include "platform/linux/x11/XSettings.h"

#include <optional>

namespace rondelix::platform::linux_desktop {

namespace {

// Reads the property front to back in the byte order its first byte names.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        bigEndian_ = !bytes_.empty() && bytes_[0] == 1;
    }

    bool skip(std::size_t count) {
        if (count > bytes_.size() - at_) return false;
        at_ += count;
        return true;
    }
    // Items are padded to four bytes.
    bool skipPadding(std::size_t length) { return skip((4 - length % 4) % 4); }

    std::optional<std::uint32_t> number(std::size_t size) {
        if (size > bytes_.size() - at_) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t index = bigEndian_ ? i : size - 1 - i;
            value = (value << 8) | bytes_[at_ + index];
        }
        at_ += size;
        return value;
    }

    std::optional<std::string> text(std::size_t length) {
        if (length > bytes_.size() - at_) return std::nullopt;
        std::string value(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        if (!skipPadding(length)) return std::nullopt;
        return value;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool bigEndian_ = false;
};

} // namespace

XSettings decodedXSettings(std::span<const std::uint8_t> property) {
    XSettings settings;
    Reader reader(property);
    // Byte order, three unused bytes, the serial number.
    if (!reader.skip(8)) return settings;
    const auto count = reader.number(4);
    if (!count) return settings;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto type = reader.number(1);
        if (!type || !reader.skip(1)) break;
        const auto nameLength = reader.number(2);
        if (!nameLength) break;
        const auto name = reader.text(*nameLength);
        // The serial of the setting's last change.
        if (!name || !reader.skip(4)) break;
        if (*type == 0) {
            const auto value = reader.number(4);
            if (!value) break;
            settings[*name] = static_cast<std::int32_t>(*value);
        } else if (*type == 1) {
            const auto length = reader.number(4);
            const auto value = length ? reader.text(*length) : std::nullopt;
            if (!value) break;
            settings[*name] = *value;
        } else if (*type == 2) {
            if (!reader.skip(8)) break;
        } else {
            break;
        }
    }
    return settings;
}

AppearanceReading readingOfXSettings(const XSettings& settings) {
    AppearanceReading reading;
    if (const auto theme = settings.find("Net/ThemeName"); theme != settings.end())
        if (const auto* name = std::get_if<std::string>(&theme->second)) reading = readingOfThemeName(*name);
    if (const auto animations = settings.find("Gtk/EnableAnimations"); animations != settings.end())
        if (const auto* on = std::get_if<std::int32_t>(&animations->second)) reading.reduceMotion = *on == 0;
    return reading;
}

} // namespace rondelix::platform::linux_desktop
