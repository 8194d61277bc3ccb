#include "model/JsonReader.h"

#include "model/JsonTextScan.h"
#include "util/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace rondelix {

using namespace jsonscan;

namespace {

// How a byte inside a string reads.
enum class StringByte : std::uint8_t { plain, quote, backslash, control, multibyte };

constexpr auto stringBytes = [] {
    std::array<StringByte, 256> table{};
    for (std::size_t c = 0; c < 0x20; ++c)
        table[c] = StringByte::control;
    for (std::size_t c = 0x80; c < 0x100; ++c)
        table[c] = StringByte::multibyte;
    table['"'] = StringByte::quote;
    table['\\'] = StringByte::backslash;
    return table;
}();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

double JsonNumber::toDouble() const {
    switch (type) {
    case Type::integer:
        return static_cast<double>(integer);
    case Type::unsignedInteger:
        return static_cast<double>(unsignedInteger);
    case Type::real:
        break;
    }
    return real;
}

JsonReader::JsonReader(std::string_view bytes) : text_(bytes) {
    // A byte order mark may open the text; a first byte that only begins one
    // is an error.
    if (!text_.empty() && static_cast<unsigned char>(text_[0]) == 0xEF) {
        if (text_.substr(0, 3) != "\xEF\xBB\xBF") fail();
        pos_ = 3;
    }
}

void JsonReader::skipWhitespace() {
    // Most often the cursor is at a token already.
    if (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) > ' ') return;
    while (pos_ < text_.size()) {
        if (pos_ + 8 <= text_.size()) {
            const std::uint64_t marks = notSpaces(eightBytesAt(text_.data() + pos_));
            if (marks == 0) {
                pos_ += 8;
                continue;
            }
            pos_ += static_cast<std::size_t>(bytesBefore(marks));
        }
        const char c = text_[pos_];
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') return;
        ++pos_;
    }
}

bool JsonReader::expect(char c) {
    skipWhitespace();
    if (pos_ < text_.size() && text_[pos_] == c) {
        ++pos_;
        return true;
    }
    fail();
    return false;
}

JsonKind JsonReader::kind() {
    if (failed_) return JsonKind::invalid;
    skipWhitespace();
    if (pos_ < text_.size()) {
        switch (text_[pos_]) {
        case '{':
            return JsonKind::object;
        case '[':
            return JsonKind::array;
        case '"':
            return JsonKind::string;
        case 't':
        case 'f':
            return JsonKind::boolean;
        case 'n':
            return JsonKind::null;
        default:
            if (text_[pos_] == '-' || isDigit(text_[pos_])) return JsonKind::number;
        }
    }
    fail();
    return JsonKind::invalid;
}

bool JsonReader::literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) {
        fail();
        return false;
    }
    pos_ += word.size();
    return true;
}

bool JsonReader::readBool() {
    if (kind() != JsonKind::boolean) return false;
    if (text_[pos_] == 't') return literal("true");
    literal("false");
    return false;
}

double JsonReader::readReal(std::string_view token) {
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error == std::errc() && end == token.data() + token.size()) return value;
    // Out of range: the C library settles underflow the way the JSON library
    // does (it reads numbers through it, in the current locale's notation),
    // and overflow is not a number JSON can hold.
    std::string spelled(token);
    if (const char* point = std::localeconv()->decimal_point; point && *point != '.')
        std::replace(spelled.begin(), spelled.end(), '.', *point);
    value = std::strtod(spelled.c_str(), nullptr);
    if (!std::isfinite(value)) fail();
    return value;
}

JsonNumber JsonReader::readNumber() {
    JsonNumber number;
    if (kind() != JsonKind::number) return number;
    const std::size_t start = pos_;
    const auto digits = [this] {
        const std::size_t from = pos_;
        while (pos_ < text_.size() && isDigit(text_[pos_]))
            ++pos_;
        return pos_ > from;
    };
    const bool negative = text_[pos_] == '-';
    if (negative) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0') {
        ++pos_;
    } else if (!digits()) {
        fail();
        return number;
    }
    bool whole = true;
    if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        whole = false;
        if (!digits()) {
            fail();
            return number;
        }
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
        ++pos_;
        whole = false;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
        if (!digits()) {
            fail();
            return number;
        }
    }
    const std::string_view token = text_.substr(start, pos_ - start);
    const char* first = token.data();
    const char* last = first + token.size();
    // A whole number too large for 64 bits is read as a double.
    if (whole && negative && std::from_chars(first, last, number.integer).ec == std::errc()) return number;
    if (whole && !negative && std::from_chars(first, last, number.unsignedInteger).ec == std::errc()) {
        number.type = JsonNumber::Type::unsignedInteger;
        return number;
    }
    number.type = JsonNumber::Type::real;
    number.real = readReal(token);
    return number;
}

bool JsonReader::appendEscape(std::string& out) {
    // At the character after the backslash.
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_++];
    switch (c) {
    case '"':
    case '\\':
    case '/':
        out += c;
        return true;
    case 'b':
        out += '\b';
        return true;
    case 'f':
        out += '\f';
        return true;
    case 'n':
        out += '\n';
        return true;
    case 'r':
        out += '\r';
        return true;
    case 't':
        out += '\t';
        return true;
    case 'u':
        break;
    default:
        return false;
    }
    const auto unit = [this]() -> int {
        if (pos_ + 4 > text_.size()) return -1;
        int value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(text_[pos_++]);
            if (digit < 0) return -1;
            value = value * 16 + digit;
        }
        return value;
    };
    int scalar = unit();
    if (scalar < 0 || (scalar >= 0xDC00 && scalar <= 0xDFFF)) return false;
    if (scalar >= 0xD800 && scalar <= 0xDBFF) {
        // A high surrogate is only half a character: its low half follows.
        if (text_.substr(pos_, 2) != "\\u") return false;
        pos_ += 2;
        const int low = unit();
        if (low < 0xDC00 || low > 0xDFFF) return false;
        scalar = 0x10000 + ((scalar - 0xD800) << 10) + (low - 0xDC00);
    }
    utf8::append(out, static_cast<char32_t>(scalar));
    return true;
}

std::string_view JsonReader::scanString(std::string& scratch) {
    // At the opening quote. Most strings hold no escape and are given as they
    // stand in the text; the others are spelled out into the scratch.
    const std::size_t start = ++pos_;
    std::size_t run = start;
    bool escaped = false;
    while (pos_ < text_.size()) {
        if (pos_ + 8 <= text_.size()) {
            const std::uint64_t marks = notPlain(eightBytesAt(text_.data() + pos_));
            if (marks == 0) {
                pos_ += 8;
                continue;
            }
            pos_ += static_cast<std::size_t>(bytesBefore(marks));
        }
        switch (stringBytes[static_cast<unsigned char>(text_[pos_])]) {
        case StringByte::plain:
            ++pos_;
            continue;
        case StringByte::multibyte:
            if (const std::size_t length = utf8::wellFormedLength(text_, pos_)) {
                pos_ += length;
                continue;
            }
            break;
        case StringByte::quote: {
            const std::size_t end = pos_++;
            if (!escaped) return text_.substr(start, end - start);
            scratch.append(text_.substr(run, end - run));
            return scratch;
        }
        case StringByte::backslash:
            if (!escaped) scratch.clear();
            escaped = true;
            scratch.append(text_.substr(run, pos_ - run));
            ++pos_;
            if (appendEscape(scratch)) {
                run = pos_;
                continue;
            }
            break;
        case StringByte::control:
            break;
        }
        break;
    }
    fail();
    return {};
}

std::string_view JsonReader::readString() {
    if (kind() != JsonKind::string) return {};
    return scanString(valueScratch_);
}

void JsonReader::enter(char bracket) {
    if (!expect(bracket)) return;
    if (++depth_ > maxDepth) fail();
    first_ = true;
}

void JsonReader::leave() {
    ++pos_;
    --depth_;
    // The container around holds the one just left.
    first_ = false;
}

void JsonReader::enterObject() {
    enter('{');
}

std::optional<std::string_view> JsonReader::nextMember() {
    if (failed_) return std::nullopt;
    skipWhitespace();
    if (pos_ < text_.size() && text_[pos_] == '}') {
        leave();
        return std::nullopt;
    }
    if (!first_ && !expect(',')) return std::nullopt;
    first_ = false;
    skipWhitespace();
    if (pos_ >= text_.size() || text_[pos_] != '"') {
        fail();
        return std::nullopt;
    }
    const std::string_view key = scanString(keyScratch_);
    if (!expect(':')) return std::nullopt;
    return key;
}

void JsonReader::enterArray() {
    enter('[');
}

bool JsonReader::nextElement() {
    if (failed_) return false;
    skipWhitespace();
    if (pos_ < text_.size() && text_[pos_] == ']') {
        leave();
        return false;
    }
    if (!first_ && !expect(',')) return false;
    first_ = false;
    return true;
}

void JsonReader::skip() {
    switch (kind()) {
    case JsonKind::null:
        literal("null");
        return;
    case JsonKind::boolean:
        readBool();
        return;
    case JsonKind::number:
        readNumber();
        return;
    case JsonKind::string:
        readString();
        return;
    case JsonKind::array:
        enterArray();
        while (nextElement())
            skip();
        return;
    case JsonKind::object:
        enterObject();
        while (nextMember())
            skip();
        return;
    case JsonKind::invalid:
        return;
    }
}

nlohmann::json JsonReader::readDocument() {
    switch (kind()) {
    case JsonKind::null:
        literal("null");
        return nullptr;
    case JsonKind::boolean:
        return readBool();
    case JsonKind::number: {
        const JsonNumber number = readNumber();
        switch (number.type) {
        case JsonNumber::Type::integer:
            return number.integer;
        case JsonNumber::Type::unsignedInteger:
            return number.unsignedInteger;
        case JsonNumber::Type::real:
            break;
        }
        return number.real;
    }
    case JsonKind::string:
        return std::string(readString());
    case JsonKind::array: {
        nlohmann::json array = nlohmann::json::array();
        enterArray();
        while (nextElement())
            array.push_back(readDocument());
        return array;
    }
    case JsonKind::object: {
        nlohmann::json object = nlohmann::json::object();
        enterObject();
        while (const auto key = nextMember()) {
            // A repeated key keeps its last value, as in the library's documents.
            std::string name(*key);
            object[name] = readDocument();
        }
        return object;
    }
    case JsonKind::invalid:
        break;
    }
    return nullptr;
}

bool JsonReader::finish() {
    if (failed_) return false;
    skipWhitespace();
    // A NUL byte ends the text as the end of the input does.
    if (pos_ < text_.size() && text_[pos_] != '\0') fail();
    return !failed_;
}

} // namespace rondelix
