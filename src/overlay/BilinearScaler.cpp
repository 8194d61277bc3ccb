#include "overlay/BilinearScaler.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rondelix {

namespace {

// Weights are in 256ths: a channel times its weight plus the other's stays
// within 16 bits, rounding included.
constexpr int whole = 256;

// Each byte of a and b mixed, b weighing `weight` 256ths, rounded.
std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = whole - weight;
    const std::uint32_t evens =
        (((a & 0xff00ffu) * keep + (b & 0xff00ffu) * weight + 0x800080u) >> 8) & 0xff00ffu;
    const std::uint32_t odds =
        (((a >> 8) & 0xff00ffu) * keep + ((b >> 8) & 0xff00ffu) * weight + 0x800080u) & 0xff00ff00u;
    return evens | odds;
}

// Rows a and b mixed pixel by pixel into out, b weighing `weight` 256ths.
void mixRows(const std::uint32_t* a, const std::uint32_t* b, std::uint32_t weight, int count,
             std::uint32_t* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i keepFactor = _mm_set1_epi16(static_cast<short>(whole - weight));
    const __m128i weightFactor = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i half = _mm_set1_epi16(128);
    for (; i + 4 <= count; i += 4) {
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i low =
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pa, zero), keepFactor),
                                        _mm_mullo_epi16(_mm_unpacklo_epi8(pb, zero), weightFactor)),
                          half);
        const __m128i high =
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pa, zero), keepFactor),
                                        _mm_mullo_epi16(_mm_unpackhi_epi8(pb, zero), weightFactor)),
                          half);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_packus_epi16(_mm_srli_epi16(low, 8), _mm_srli_epi16(high, 8)));
    }
#endif
    for (; i < count; ++i)
        out[i] = mix(a[i], b[i], weight);
}

} // namespace

BilinearScaler::BilinearScaler(Source source, double scale, double originX, double originY, int columns)
    : source_(source), scale_(scale), originY_(originY),
      blended_(static_cast<std::size_t>(source.width) + 1) {
    columns_.reserve(static_cast<std::size_t>(std::max(columns, 0)));
    for (int x = 0; x < columns; ++x)
        columns_.push_back(tapAt((x + 0.5 - originX) / scale - 0.5, source.width));
}

BilinearScaler::Tap BilinearScaler::tapAt(double position, int size) const {
    const double clamped = std::clamp(position, 0.0, size - 1.0);
    const int index = std::min(static_cast<int>(clamped), std::max(size - 2, 0));
    const auto weight = static_cast<std::uint16_t>(std::lround((clamped - index) * whole));
    const auto keep = static_cast<std::uint16_t>(whole - weight);
    return {{keep, keep, keep, keep, weight, weight, weight, weight}, index};
}

void BilinearScaler::scaleRow(int y, int left, int right, std::uint32_t* out) {
    if (right <= left) return;
    const Tap row = tapAt((y + 0.5 - originY_) / scale_ - 0.5, source_.height);
    const std::uint32_t* top = source_.pixels + row.index * source_.stride;
    const std::uint32_t* bottom = row.index + 1 < source_.height ? top + source_.stride : top;
    // Only the columns this span reads are blended.
    const int first = columns_[static_cast<std::size_t>(left)].index;
    const int last = std::min(columns_[static_cast<std::size_t>(right - 1)].index + 1, source_.width - 1);
    std::uint32_t* blended = blended_.data();
    mixRows(top + first, bottom + first, row.factors[4], last + 1 - first, blended + first);
    blended[last + 1] = blended[last];

    const Tap* taps = columns_.data() + left;
    const int count = right - left;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    for (; i + 2 <= count; i += 2) {
        // Each tap's two neighbours side by side, times their factors; the
        // upper half then added onto the lower gives the pixel.
        const __m128i first2 = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(blended + taps[i].index)), zero);
        const __m128i second2 = _mm_unpacklo_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(blended + taps[i + 1].index)), zero);
        const __m128i a =
            _mm_mullo_epi16(first2, _mm_load_si128(reinterpret_cast<const __m128i*>(taps[i].factors)));
        const __m128i b =
            _mm_mullo_epi16(second2, _mm_load_si128(reinterpret_cast<const __m128i*>(taps[i + 1].factors)));
        const __m128i sums = _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b)), half), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(sums, sums));
    }
#endif
    for (; i < count; ++i)
        out[i] = mix(blended[taps[i].index], blended[taps[i].index + 1], taps[i].factors[4]);
}

} // namespace rondelix
