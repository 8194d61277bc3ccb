#pragma once

#include "platform/HttpClient.h"

#include <map>
#include <optional>
#include <vector>

namespace rondelix::platform::sim {

// Answers from a table of links; every request is recorded with the address
// it was sent to. A link missing from the table fails like a dead server.
class SimHttpClient final : public HttpClient {
  public:
    struct Answer {
        int status = 200;
        std::string mimeType;
        std::string body;
        std::optional<std::int64_t> announcedLength; // none: the body's length
        std::string location;
        bool failsAfterBody = false; // the connection breaks once the body is sent
    };

    End get(const Request& request, Sink& sink) override;

    std::map<std::string, Answer> answers;
    std::vector<Request> requests;
    std::size_t bytesDelivered = 0;
};

} // namespace rondelix::platform::sim
