#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rondelix::platform {

// One plain GET over HTTP or HTTPS, without following redirects, without a
// proxy and without any lookup of its own: the caller has already resolved
// and checked the address, and the connection goes to exactly that address
// while the link's host name stays the Host header and the TLS peer name.
class HttpClient {
  public:
    struct Request {
        std::string url;            // absolute http or https link
        std::string address;        // numeric IPv4 or IPv6 address to connect to
        double timeoutSeconds = 60; // for the whole transfer, however its bytes trickle in
    };

    struct Head {
        int status = 0;
        std::string mimeType;             // without parameters
        std::int64_t expectedLength = -1; // -1 when the server announces none
        std::string location;             // a redirect's target as sent, or empty
    };

    // Receives the transfer as it happens, a compressed body inflated.
    // Returning false from either call ends the transfer at once.
    class Sink {
      public:
        virtual ~Sink() = default;
        virtual bool head(const Head& head) = 0;
        virtual bool body(std::string_view chunk) = 0;
    };

    enum class End { Complete, Stopped, Failed };

    virtual ~HttpClient() = default;

    // Blocks the calling thread (never the main thread) until the transfer
    // ends: completely, stopped by the sink, or failed (a transport error or
    // the time-out, before or after the head).
    virtual End get(const Request& request, Sink& sink) = 0;
};

} // namespace rondelix::platform
