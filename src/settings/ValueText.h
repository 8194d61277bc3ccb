#pragma once

#include <string>

// The value texts beside the settings sliders.
namespace rondelix::ValueText {

// Rounded to whole points, halves away from zero: "320 px".
std::string pixels(double points);
// A fraction as a whole percentage: 0.25 reads "25%".
std::string percent(double fraction);
// "150 ms".
std::string milliseconds(int ms);

// A slider's value stored as whole milliseconds: truncated toward zero.
int truncatedMilliseconds(double value);

} // namespace rondelix::ValueText
