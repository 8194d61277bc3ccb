#pragma once

#include <string>
#include <string_view>

// Character classes and letter case for ASCII only: the same answer in every
// locale, and bytes outside ASCII left as they are (never a letter, digit or
// space), so that UTF-8 text passes through unchanged.
namespace rondelix {

constexpr bool isAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool isAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}
constexpr bool isAsciiLetter(char c) {
    return isAsciiUpper(c) || isAsciiLower(c);
}
constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool isAsciiAlphanumeric(char c) {
    return isAsciiLetter(c) || isAsciiDigit(c);
}
// Space, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value of a hexadecimal digit of either case, or -1.
constexpr int asciiHexValue(char c) {
    if (isAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
constexpr bool isAsciiHexDigit(char c) {
    return asciiHexValue(c) >= 0;
}

constexpr char asciiLower(char c) {
    return isAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char asciiUpper(char c) {
    return isAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string asciiLowercased(std::string_view text);
std::string asciiUppercased(std::string_view text);

bool equalIgnoringCase(std::string_view a, std::string_view b);
bool lessIgnoringCase(std::string_view a, std::string_view b);

} // namespace rondelix
