#include "model/JsonWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace rondelix {

namespace {

using nlohmann::json;

constexpr int indentWidth = 2;

// Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isWellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > n) return false;
        if (byte(i + 1) < low || byte(i + 1) > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return false;
        i += length;
    }
    return true;
}

void appendEscaped(std::string& out, std::string_view text) {
    if (!isWellFormedUtf8(text)) {
        // Rare: text that reached the value without the store's repair. The
        // library's own replacement keeps the bytes what they always were.
        out += json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
        return;
    }
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr std::string_view hex = "0123456789abcdef";
                out += "\\u00";
                out += hex[static_cast<unsigned char>(c) >> 4];
                out += hex[static_cast<unsigned char>(c) & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

void JsonWriter::newline() {
    if (layout_ == Layout::compact) return;
    out_ += '\n';
    out_.append(static_cast<std::size_t>(depth_ * indentWidth), ' ');
}

void JsonWriter::beginValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ == 0) return;
    if (!empty_) out_ += ',';
    empty_ = false;
    newline();
}

void JsonWriter::close(char bracket) {
    --depth_;
    if (!empty_) newline();
    out_ += bracket;
    // The container just closed is a member of the one around it.
    empty_ = false;
}

void JsonWriter::beginObject() {
    beginValue();
    out_ += '{';
    ++depth_;
    empty_ = true;
}

void JsonWriter::endObject() {
    close('}');
}

void JsonWriter::beginArray() {
    beginValue();
    out_ += '[';
    ++depth_;
    empty_ = true;
}

void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::key(std::string_view name) {
    if (!empty_) out_ += ',';
    empty_ = false;
    newline();
    appendEscaped(out_, name);
    out_ += layout_ == Layout::compact ? ":" : ": ";
    afterKey_ = true;
}

void JsonWriter::value(std::string_view text) {
    beginValue();
    appendEscaped(out_, text);
}

void JsonWriter::value(bool flag) {
    beginValue();
    out_ += flag ? "true" : "false";
}

void JsonWriter::value(std::int64_t number) {
    beginValue();
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.begin(), digits.end(), number).ptr;
    out_.append(digits.begin(), end);
}

void JsonWriter::value(double number) {
    beginValue();
    if (!std::isfinite(number)) {
        out_ += "null";
        return;
    }
    // The library's shortest round-trip form, "320.0" for whole numbers.
    std::array<char, 64> digits{};
    const char* end = nlohmann::detail::to_chars(digits.data(), digits.data() + digits.size(), number);
    out_.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
}

void JsonWriter::rawValue(std::string_view text) {
    beginValue();
    const json parsed = json::parse(text, nullptr, /*allow_exceptions=*/false);
    // The text comes from the parser's own output, so it always reads back;
    // should it not, the value stays valid JSON.
    if (parsed.is_discarded()) {
        out_ += "null";
        return;
    }
    const std::string laidOut = parsed.dump(layout_ == Layout::compact ? -1 : indentWidth, ' ', false,
                                            json::error_handler_t::replace);
    for (const char c : laidOut) {
        out_ += c;
        if (c == '\n') out_.append(static_cast<std::size_t>(depth_ * indentWidth), ' ');
    }
}

} // namespace rondelix
