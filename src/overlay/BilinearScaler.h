#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rondelix {

// An image of 32-bit pixels scaled with bilinear filtering, written one row
// of the result at a time. Each of a pixel's four bytes is filtered on its
// own, so the channel order does not matter and premultiplied colours stay
// premultiplied. The result's pixel (x, y) shows the source at
// ((x + 0.5 - originX) / scale - 0.5, likewise for y): the source drawn at
// the scale with its top-left corner at the origin, as a painter's smooth
// scaled drawing samples it. Positions past the source's edge take its edge
// pixels.
class BilinearScaler {
  public:
    struct Source {
        const std::uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
        // Pixels from the start of one row to the start of the next.
        std::ptrdiff_t stride = 0;
    };

    // The scale is above 0; the source is at least one pixel wide and high;
    // the result's rows are `columns` wide.
    BilinearScaler(Source source, double scale, double originX, double originY, int columns);

    // Writes the result's pixels left to right - 1 of row y to `out`, which
    // holds the pixel at `left` first.
    void scaleRow(int y, int left, int right, std::uint32_t* out);

  private:
    // The first of the two source pixels a result pixel lies between and the
    // weight of the second, both channel-wise for the vector path.
    struct alignas(16) Tap {
        std::uint16_t factors[8];
        int index;
    };
    Tap tapAt(double position, int size) const;

    Source source_;
    double scale_;
    double originY_;
    std::vector<Tap> columns_;
    // The two source rows a result row lies between, blended; one spare
    // pixel past the last, so two neighbours can always be read together.
    std::vector<std::uint32_t> blended_;
};

} // namespace rondelix
