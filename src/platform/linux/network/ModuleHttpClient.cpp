#include "platform/linux/network/ModuleHttpClient.h"

#include "platform/linux/process/ProgramExecutables.h"

#include <dlfcn.h>
#include <memory>
#include <string>

namespace rondelix::platform::linux_desktop {

// The loaded module and the one client it made; the module stays loaded for
// the rest of the run.
struct ModuleHttpClient::Module {
    void (*shutDown)(HttpClient*) = nullptr;
    std::unique_ptr<HttpClient> client;
};

std::filesystem::path ModuleHttpClient::installedModule() {
    const auto beside = ProgramExecutables::beside(fileName);
    if (!beside) return fileName;
    std::error_code error;
    if (std::filesystem::exists(*beside, error)) return *beside;
    return beside->parent_path() / RONDELIX_MODULES_FROM_PROGRAM / fileName;
}

ModuleHttpClient::ModuleHttpClient(Log& log, MainQueue& queue, std::filesystem::path module)
    : log_(log), queue_(queue), path_(std::move(module)) {}

ModuleHttpClient::~ModuleHttpClient() {
    shutDown();
    delete module_;
}

void ModuleHttpClient::shutDown() {
    std::lock_guard guard(lock_);
    closed_ = true;
    if (module_) module_->shutDown(module_->client.get());
}

HttpClient* ModuleHttpClient::client() {
    std::lock_guard guard(lock_);
    if (closed_) return nullptr;
    if (tried_) return module_ ? module_->client.get() : nullptr;
    tried_ = true;
    std::string failure;
    if (void* handle = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        using Create = HttpClient* (*)();
        const auto create = reinterpret_cast<Create>(::dlsym(handle, "rondelixHttpClientCreate"));
        const auto shutDown =
            reinterpret_cast<void (*)(HttpClient*)>(::dlsym(handle, "rondelixHttpClientShutDown"));
        if (create && shutDown) {
            module_ = new Module{shutDown, std::unique_ptr<HttpClient>(create())};
            return module_->client.get();
        }
        failure = "it lacks the client";
    } else {
        const char* error = ::dlerror();
        failure = error ? error : "it was not found";
    }
    // Requests run off the main thread; the log is written on it.
    queue_.post([&log = log_, line = "website icons can't be fetched — the program's network module " +
                                     path_.string() + " can't be loaded (" + failure +
                                     ")."] { log.write(line); });
    return nullptr;
}

HttpClient::End ModuleHttpClient::get(const Request& request, Sink& sink) {
    HttpClient* const loaded = client();
    return loaded ? loaded->get(request, sink) : End::Failed;
}

} // namespace rondelix::platform::linux_desktop
