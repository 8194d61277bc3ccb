// The program's network module: the HTTP client built on Qt Network, in a
// library of its own that ModuleHttpClient loads with the first request.

#include "platform/linux/network/QtHttpClient.h"

using rondelix::platform::HttpClient;
using rondelix::platform::linux_desktop::QtHttpClient;

extern "C" {

HttpClient* rondelixHttpClientCreate() {
    return new QtHttpClient;
}

void rondelixHttpClientShutDown(HttpClient* client) {
    static_cast<QtHttpClient*>(client)->shutDown();
}
}
