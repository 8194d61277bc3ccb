#pragma once

#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"

#include <filesystem>
#include <mutex>

namespace rondelix::platform::linux_desktop {

// Plain GETs through the program's HTTP module (a QtHttpClient in a library
// of its own), loaded with the first request: the network library and what
// it brings along stay out of a program that fetches nothing. A module that
// cannot be loaded fails every request, said once in the log.
class ModuleHttpClient final : public HttpClient {
  public:
    // The module's file name, beside the program in a build folder and under
    // the program's library folder once installed.
    static constexpr const char* fileName = "librondelix-http.so";

    // The module where the running program finds it: beside it, else where
    // the install puts it.
    static std::filesystem::path installedModule();

    ModuleHttpClient(Log& log, MainQueue& queue, std::filesystem::path module = installedModule());
    ~ModuleHttpClient() override;

    End get(const Request& request, Sink& sink) override;

    // Ends every transfer under way and fails every later one. Any thread.
    void shutDown();

  private:
    struct Module;

    HttpClient* client();

    Log& log_;
    MainQueue& queue_;
    std::filesystem::path path_;
    std::mutex lock_;
    bool tried_ = false;
    bool closed_ = false;
    Module* module_ = nullptr;
};

} // namespace rondelix::platform::linux_desktop
