#pragma once

#include "platform/SvgRenderer.h"
#include "platform/linux/process/SvgDrawerClient.h"

namespace rondelix::platform::linux_desktop {

// Drawings drawn by the drawer (SvgDrawerClient), charged to the account
// given, if any.
class DrawerDrawings final : public SvgRenderer {
  public:
    explicit DrawerDrawings(SvgDrawerClient& drawer, SvgDrawerClient::Account account = nullptr)
        : drawer_(drawer), account_(std::move(account)) {}

    std::optional<std::string> renderPNG(const std::string& svg, int side, double seconds,
                                         const Admission& admission) override;

  private:
    SvgDrawerClient& drawer_;
    SvgDrawerClient::Account account_;
};

} // namespace rondelix::platform::linux_desktop
