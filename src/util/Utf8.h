#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rondelix::utf8 {

inline constexpr char32_t replacementCharacter = 0xFFFD;

// Reads the scalar that starts at pos and moves pos past it. Bytes that are
// not well-formed UTF-8 read as one replacement character per maximal
// ill-formed subpart, so any bytes at all give a sequence of scalars.
char32_t decodeNext(std::string_view bytes, std::size_t& pos);

// The length of the well-formed scalar that starts at pos; 0 where the bytes
// there are not well-formed UTF-8.
std::size_t wellFormedLength(std::string_view bytes, std::size_t pos);

std::u32string decode(std::string_view bytes);

void append(std::string& out, char32_t scalar);

std::string encode(std::u32string_view scalars);

// Replaces every maximal ill-formed subpart with one replacement character,
// as decodeNext reads it; true when the text changed.
bool repair(std::string& text);

} // namespace rondelix::utf8
