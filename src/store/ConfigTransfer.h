#pragma once

#include "store/ConfigTransferServices.h"

namespace rondelix {

// The whole configuration written to and read from a JSON file of the user's
// choice, carrying the custom pictures inside, to move a setup between machines.
class ConfigTransfer {
  public:
    static constexpr const char* suggestedFileName = "rondelix-config.json";

    explicit ConfigTransfer(ConfigTransferServices services) : services_(services) {}

    // Writes the configuration, or while the store is read-only a copy of the
    // file on disk, to a file the user picks. Changes nothing stored.
    void exportConfig();

    // Replaces the whole configuration with a file the user picks, after the
    // user agreed to any slices that run code. Leaves no undo step.
    void importConfig();

  private:
    ConfigTransferServices services_;
};

} // namespace rondelix
