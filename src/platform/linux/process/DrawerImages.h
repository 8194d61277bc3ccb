#pragma once

#include "platform/Images.h"
#include "platform/linux/process/SvgDrawerClient.h"
#include "platform/linux/qt/QtImages.h"

namespace rondelix::platform::linux_desktop {

// Pictures from outside, read by Qt's image readers (QtImages) in the drawer
// rather than in the program: a picture whose decoding would take minutes,
// or gigabytes, costs the program only the handing over of its bytes, and
// ends with the drawer's limits, its watchdog, or the drawer's shutting down.
// Charged to the account given, if any.
class DrawerImages final : public Images {
  public:
    DrawerImages(SvgDrawerClient& drawer, QtImages::Readers readers,
                 SvgDrawerClient::Account account = nullptr)
        : drawer_(drawer), readers_(readers), account_(std::move(account)) {}

    std::optional<PixelSize> declaredSize(std::string_view bytes) const override;
    std::optional<std::string> drawnAsPNG(std::string_view bytes, int width, int height,
                                          const Admission& admission) const override;
    // Charged to the account given here, else to the one given above.
    Fitted fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide, const Admission& admission,
                       const DrawingAccount& account) const override;

  private:
    SvgDrawerClient& drawer_;
    QtImages::Readers readers_;
    SvgDrawerClient::Account account_;
};

} // namespace rondelix::platform::linux_desktop
