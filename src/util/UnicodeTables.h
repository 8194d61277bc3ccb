#pragma once

#include <array>
#include <cstdint>

// Character properties from the Unicode character database, as sorted range
// tables that the lookups in UnicodeProperties.cpp search by bisection.
namespace rondelix::unicode_tables {

struct ScalarRange {
    char32_t first;
    char32_t last;
};

// The grapheme-cluster break value in the low four bits, 0x10 for
// Extended_Pictographic. Hangul syllables are left out: their value follows
// from arithmetic.
struct PropertyRange {
    char32_t first;
    char32_t last;
    std::uint8_t value;
};

// Scalars first, first + stride, ... last map to themselves plus delta.
struct CaseRun {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::int32_t stride;
};

// An upper case that takes more than one scalar (the sharp s becomes "SS").
struct SpecialUpperCase {
    char32_t scalar;
    std::array<char32_t, 3> upper;
};

extern const std::array<PropertyRange, 651> graphemeProperties;
extern const std::array<ScalarRange, 23> controlsAndFormats;
extern const std::array<CaseRun, 200> upperCaseRuns;
extern const std::array<SpecialUpperCase, 102> specialUpperCases;

} // namespace rondelix::unicode_tables
