#include "model/JsonWriter.h"

#include "model/JsonTextScan.h"
#include "util/Utf8.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace rondelix {

namespace {

using nlohmann::json;

constexpr int indentWidth = 2;

void appendEscaped(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out += '"';
    // Runs of characters that need no escape are copied whole.
    std::size_t run = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + 8 <= text.size()) {
            const std::uint64_t marks = jsonscan::notPlain(jsonscan::eightBytesAt(text.data() + i));
            if (marks == 0) {
                i += 8;
                continue;
            }
            i += static_cast<std::size_t>(jsonscan::bytesBefore(marks));
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const std::size_t length = utf8::wellFormedLength(text, i)) {
                i += length;
                continue;
            }
            // Rare: text that reached the value without the store's repair.
            // The library's own replacement keeps the bytes what they always
            // were.
            out.resize(start);
            out += json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
            return;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        out.append(text.substr(run, i - run));
        run = ++i;
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
        default: {
            constexpr std::string_view hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
        }
    }
    out.append(text.substr(run));
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
