#include "icons/FaviconBodySink.h"

#include <algorithm>

namespace rondelix {

bool FaviconBodySink::head(const platform::HttpClient::Head& head) {
    head_ = head;
    if (head.status >= 300 && head.status <= 399) {
        redirect_ = head.location;
        return false;
    }
    if (head.status < 200 || head.status > 299) return false;
    if (!truncate_ && head.expectedLength > static_cast<std::int64_t>(cap_)) return false;
    accepted_ = true;
    data_.reserve(head.expectedLength >= 1 ? std::min(static_cast<std::size_t>(head.expectedLength), cap_)
                                           : std::min(cap_, unannouncedReserve));
    return true;
}

bool FaviconBodySink::body(std::string_view chunk) {
    const auto room = cap_ - data_.size();
    data_.append(chunk.substr(0, room));
    if (data_.size() < cap_) return true;
    if (truncate_)
        full_ = true;
    else
        accepted_ = false;
    return false;
}

std::optional<FaviconBodySink::Body> FaviconBodySink::result(platform::HttpClient::End end) {
    if (!accepted_) return std::nullopt;
    if (end == platform::HttpClient::End::Failed && !truncate_) return std::nullopt;
    if (end == platform::HttpClient::End::Stopped && !full_) return std::nullopt;
    return Body{std::move(data_), head_.mimeType};
}

} // namespace rondelix
