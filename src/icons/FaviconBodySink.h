#pragma once

#include "platform/HttpClient.h"

#include <cstddef>
#include <optional>
#include <string>

namespace rondelix {

// Collects one response body under a cap as it arrives. A redirect or a
// status outside 200 to 299 stops the transfer at its head; so does an
// announced length over the cap unless truncating. Reaching the cap stops
// the transfer too: truncating keeps exactly the cap, otherwise the body is
// refused.
class FaviconBodySink final : public platform::HttpClient::Sink {
  public:
    static constexpr std::size_t unannouncedReserve = 16384;

    struct Body {
        std::string data;
        std::string mimeType;
    };

    FaviconBodySink(std::size_t cap, bool truncate) : cap_(cap), truncate_(truncate) {}

    bool head(const platform::HttpClient::Head& head) override;
    bool body(std::string_view chunk) override;

    // The body once the transfer ended so; none when it was refused.
    std::optional<Body> result(platform::HttpClient::End end);

    // A redirect's target as sent, when the head was one.
    const std::optional<std::string>& redirect() const { return redirect_; }

  private:
    std::size_t cap_;
    bool truncate_;
    platform::HttpClient::Head head_;
    std::string data_;
    std::optional<std::string> redirect_;
    bool accepted_ = false;
    bool full_ = false;
};

} // namespace rondelix
