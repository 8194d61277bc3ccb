#pragma once

#include "platform/Images.h"

#include <memory>

class QIODevice;
class QImageReader;

namespace rondelix::platform::linux_desktop {

// Pictures through Qt's image readers and writers. The program hands pictures
// from outside to these in the drawer (DrawerImages), whose limits bound what
// a reader may cost; a progressive JPEG with more scans than maxJpegScans is
// refused before it is decoded, and the PNG written holds pixels only.
class QtImages final : public Images {
  public:
    enum class Readers {
        // A picture from a file, chosen or carried: only the raster formats
        // the picture chooser offers, each reader named (NamedRasterReader.h).
        namedRasters,
        // A website's icon: whatever an installed reader reads, except a
        // vector drawing, which goes through its own cleaning and limits.
        anyButDrawings,
    };

    // What the drawer ends with when its memory cap refused what a reader,
    // or anything else in it, asked for.
    static constexpr int outOfMemoryStatus = 3;

    explicit QtImages(Readers readers = Readers::namedRasters) : readers_(readers) {}

    std::optional<PixelSize> declaredSize(std::string_view bytes) const override;
    std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height,
                                          const Admission& admission) const override;

  private:
    // A reader of the device's bytes that these readers allow; none when
    // they allow none.
    std::unique_ptr<QImageReader> readerOf(QIODevice& device) const;

    Readers readers_;
};

} // namespace rondelix::platform::linux_desktop
