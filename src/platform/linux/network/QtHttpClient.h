#pragma once

#include "platform/HttpClient.h"

#include <mutex>
#include <set>

class QNetworkReply;

namespace rondelix::platform::linux_desktop {

// Plain GETs through Qt Network, each on the calling thread with a network
// access manager of its own: no proxy, no cookies or connections shared
// between requests, redirects handed back to the caller instead of followed.
// The connection goes to the request's numeric address; the link's host
// stays the Host header and the name the server's certificate must carry.
// Bodies may come compressed (gzip, deflate); they are inflated as they are
// read (BodyInflater), so a sink's cap stops the inflating too.
class QtHttpClient final : public HttpClient {
  public:
    ~QtHttpClient() override;

    End get(const Request& request, Sink& sink) override;

    // Ends every transfer under way and fails every later one, so that the
    // threads waiting on them are free before the program quits. Any thread.
    void shutDown();

  private:
    std::mutex lock_;
    std::set<QNetworkReply*> running_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
