#pragma once

namespace rondelix {

class AppCoordinator;
class SliceIconSources;

// What the program's windows make their pages from: the coordinator, whose
// services the pages use, and the icon sources every drawn wheel shares.
struct PageContext {
    AppCoordinator& coordinator;
    SliceIconSources& icons;
};

} // namespace rondelix
