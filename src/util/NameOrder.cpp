#include "util/NameOrder.h"

#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

namespace rondelix {

namespace {

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// Compares two digit runs by value without converting them, so runs of any
// length compare correctly.
int compareDigitRuns(std::u32string_view a, std::u32string_view b) {
    auto significant = [](std::u32string_view run) {
        const auto first = run.find_first_not_of(U'0');
        return first == std::u32string_view::npos ? std::u32string_view{} : run.substr(first);
    };
    const auto sa = significant(a);
    const auto sb = significant(b);
    if (sa.size() != sb.size()) return sa.size() < sb.size() ? -1 : 1;
    const int byDigits = sa.compare(sb);
    return byDigits < 0 ? -1 : byDigits > 0 ? 1 : 0;
}

std::size_t digitRunEnd(std::u32string_view text, std::size_t from) {
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

} // namespace

int compareNames(std::string_view a, std::string_view b) {
    const std::u32string x = utf8::decode(unicode::upperCased(a));
    const std::u32string y = utf8::decode(unicode::upperCased(b));
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < x.size() && j < y.size()) {
        if (isDigit(x[i]) && isDigit(y[j])) {
            const std::size_t endX = digitRunEnd(x, i);
            const std::size_t endY = digitRunEnd(y, j);
            if (int byValue = compareDigitRuns(std::u32string_view(x).substr(i, endX - i),
                                               std::u32string_view(y).substr(j, endY - j)))
                return byValue;
            i = endX;
            j = endY;
            continue;
        }
        if (x[i] != y[j]) return x[i] < y[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < x.size()) return 1;
    if (j < y.size()) return -1;
    return 0;
}

} // namespace rondelix
