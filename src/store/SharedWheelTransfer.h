#pragma once

#include "store/ConfigTransferServices.h"

#include <optional>
#include <string>

namespace rondelix {

// A single wheel written to and read from a shared wheel file (".rondix"),
// together with the pictures its slices show.
class SharedWheelTransfer {
  public:
    explicit SharedWheelTransfer(ConfigTransferServices services) : services_(services) {}

    // Writes the wheel with this id to a file the user picks. An export never
    // changes the stored configuration.
    void exportWheel(const std::string& id);

    // Lets the user pick a file, reviews its wheel and appends it under a
    // fresh id as one undoable edit. The new wheel's id, or none when nothing
    // was added.
    std::optional<std::string> importWheel();

  private:
    ConfigTransferServices services_;
};

} // namespace rondelix
