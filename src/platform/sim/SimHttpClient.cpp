#include "platform/sim/SimHttpClient.h"

#include <algorithm>

namespace rondelix::platform::sim {

HttpClient::End SimHttpClient::get(const Request& request, Sink& sink) {
    requests.push_back(request);
    const auto found = answers.find(request.url);
    if (found == answers.end()) return End::Failed;
    const Answer& answer = found->second;
    const Head head{answer.status, answer.mimeType,
                    answer.announcedLength.value_or(static_cast<std::int64_t>(answer.body.size())),
                    answer.location};
    if (!sink.head(head)) return End::Stopped;
    // Small uneven chunks, as a network delivers them.
    constexpr std::size_t chunk = 4093;
    for (std::size_t at = 0; at < answer.body.size(); at += chunk) {
        const auto piece = std::string_view(answer.body).substr(at, std::min(chunk, answer.body.size() - at));
        bytesDelivered += piece.size();
        if (!sink.body(piece)) return End::Stopped;
    }
    return answer.failsAfterBody ? End::Failed : End::Complete;
}

} // namespace rondelix::platform::sim
