#include "platform/linux/desktop/CanberraLibrary.h"

#include <dlfcn.h>
#include <optional>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr const char* canberraFile = "libcanberra.so.0";

template <typename Function> bool lookUp(void* library, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(::dlsym(library, name));
    return function != nullptr;
}

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

// ALSA writes a screenful to standard error each time it finds no device,
// that is on every sound; the program's log says it once instead. The
// handler is set in the ALSA library the sound library's backend will use,
// which stays loaded for it.
void silenceAlsaErrors() {
    void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    int (*setHandler)(Handler) = nullptr;
    if (lookUp(alsa, "snd_lib_error_set_handler", setHandler)) setHandler(&quietAlsa);
}

std::optional<CanberraLibrary> opened(std::string& failure) {
    silenceAlsaErrors();
    void* handle = ::dlopen(canberraFile, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = ::dlerror();
        failure = error ? error : std::string(canberraFile) + " was not found";
        return std::nullopt;
    }
    CanberraLibrary l{};
    if (lookUp(handle, "ca_context_create", l.contextCreate) &&
        lookUp(handle, "ca_context_destroy", l.contextDestroy) &&
        lookUp(handle, "ca_context_change_props", l.contextChangeProps) &&
        lookUp(handle, "ca_context_open", l.contextOpen) &&
        lookUp(handle, "ca_context_play", l.contextPlay) &&
        lookUp(handle, "ca_context_play_full", l.contextPlayFull) &&
        lookUp(handle, "ca_context_cancel", l.contextCancel) &&
        lookUp(handle, "ca_context_playing", l.contextPlaying) &&
        lookUp(handle, "ca_proplist_create", l.proplistCreate) &&
        lookUp(handle, "ca_proplist_destroy", l.proplistDestroy) &&
        lookUp(handle, "ca_proplist_sets", l.proplistSets) &&
        lookUp(handle, "ca_proplist_setf", l.proplistSetf) && lookUp(handle, "ca_strerror", l.strerror))
        return l;
    failure = std::string(canberraFile) + " lacks a function the program uses";
    ::dlclose(handle);
    return std::nullopt;
}

} // namespace

const CanberraLibrary* CanberraLibrary::load(std::string& failure) {
    static std::string why;
    static const std::optional<CanberraLibrary> library = opened(why);
    failure = why;
    return library ? &*library : nullptr;
}

} // namespace rondelix::platform::linux_desktop
