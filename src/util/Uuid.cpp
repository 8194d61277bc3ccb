#include "util/Uuid.h"

#include "util/Ascii.h"

#include <mutex>
#include <random>

namespace rondelix {

Uuid Uuid::generate() {
    static std::mutex mutex;
    static std::mt19937_64 engine{[] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }()};
    Bytes bytes{};
    {
        std::lock_guard lock(mutex);
        for (std::size_t i = 0; i < bytes.size(); i += 8) {
            const std::uint64_t word = engine();
            for (std::size_t j = 0; j < 8; ++j)
                bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    return Uuid(bytes);
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    for (const std::size_t hyphen : {8, 13, 18, 23})
        if (text[hyphen] != '-') return std::nullopt;
    // A file holds an id for every slice: the digits are read without a
    // branch each, through a table.
    static constexpr auto hexValues = [] {
        std::array<std::int8_t, 256> values{};
        for (std::size_t c = 0; c < values.size(); ++c)
            values[c] = static_cast<std::int8_t>(asciiHexValue(static_cast<char>(c)));
        return values;
    }();
    static constexpr std::array<std::uint8_t, 16> firstDigitOfByte{0,  2,  4,  6,  9,  11, 14, 16,
                                                                   19, 21, 24, 26, 28, 30, 32, 34};
    Bytes bytes{};
    int invalid = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int hi = hexValues[static_cast<unsigned char>(text[firstDigitOfByte[i]])];
        const int lo = hexValues[static_cast<unsigned char>(text[firstDigitOfByte[i] + 1u])];
        invalid |= hi | lo;
        bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    if (invalid < 0) return std::nullopt;
    return Uuid(bytes);
}

std::string Uuid::text() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back('-');
        out.push_back(digits[bytes_[i] >> 4]);
        out.push_back(digits[bytes_[i] & 0x0F]);
    }
    return out;
}

bool Uuid::isNil() const {
    for (auto b : bytes_)
        if (b != 0) return false;
    return true;
}

} // namespace rondelix
