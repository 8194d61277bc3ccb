#pragma once

#include "platform/Admission.h"
#include "util/FairTurns.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix::platform {

struct PixelSize {
    double width = 0;
    double height = 0;

    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The size a picture of this size is drawn at to fit an edge: the longer
// side at most maxEdge, never enlarged, each side rounded (halves up) and at
// least 1. None for a size without area.
std::optional<PixelSize> fittedSize(PixelSize size, int maxEdge);

// Seconds of drawing shared by several pictures: each is charged what its
// drawing took, and none is drawn once they are spent.
using DrawingAccount = std::shared_ptr<FairTurns::Account>;

// A picture drawn by fittedAsPNG, or why none came back.
struct Fitted {
    std::optional<std::string> png;
    // Given up on for what its drawing costs (the time or the memory of one
    // drawing ran out, or the account's budget did), rather than refused as
    // no picture of the kind asked.
    bool tooCostly = false;
};

// Decoding, drawing and encoding of pictures in whatever formats the desktop
// reads. Both calls are safe on any bytes.
class Images {
  public:
    virtual ~Images() = default;

    // The size the picture declares, read from its header without decoding
    // its pixels: the largest width and the largest height over all of its
    // frames or pages, or for a picture without pixels (a vector drawing) its
    // natural size. None when the bytes are no picture the desktop reads.
    virtual std::optional<PixelSize> declaredSize(std::string_view bytes) const = 0;

    // Decodes the picture, draws all of it into an RGBA bitmap of exactly
    // width × height pixels with high-quality interpolation, its alpha kept,
    // and encodes that bitmap as PNG. None when any step fails, or when the
    // admission, asked just before the decoding starts, gives none; its hold
    // is kept until the decoding has ended.
    virtual std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height,
                                                  const Admission& admission) const = 0;

    // The picture drawn as drawnAsPNG draws it, at the fittedSize of its
    // declared size; none also when it declares a side longer than
    // largestSide. Where the pictures are read elsewhere, measured and drawn
    // in one request, charged to the account when one is given.
    virtual Fitted fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide,
                               const Admission& admission, const DrawingAccount& account) const;
};

} // namespace rondelix::platform
