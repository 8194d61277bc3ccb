#pragma once

#include <canberra.h>
#include <string>

namespace rondelix::platform::linux_desktop {

// The functions of libcanberra the program plays its sounds with, looked up
// when it first needs a sound rather than mapped at every start: most runs
// play none for a long while, and many never.
struct CanberraLibrary {
    decltype(&ca_context_create) contextCreate;
    decltype(&ca_context_destroy) contextDestroy;
    decltype(&ca_context_change_props) contextChangeProps;
    decltype(&ca_context_open) contextOpen;
    decltype(&ca_context_play) contextPlay;
    decltype(&ca_context_play_full) contextPlayFull;
    decltype(&ca_context_cancel) contextCancel;
    decltype(&ca_context_playing) contextPlaying;
    decltype(&ca_proplist_create) proplistCreate;
    decltype(&ca_proplist_destroy) proplistDestroy;
    decltype(&ca_proplist_sets) proplistSets;
    decltype(&ca_proplist_setf) proplistSetf;
    decltype(&ca_strerror) strerror;

    // The library, loaded on the first call and kept; none, with the reason
    // in `failure`, when it is missing or lacks a function. Main thread.
    static const CanberraLibrary* load(std::string& failure);
};

} // namespace rondelix::platform::linux_desktop
