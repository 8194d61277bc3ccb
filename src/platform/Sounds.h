#pragma once

#include <memory>
#include <string>
#include <vector>

namespace rondelix::platform {

// One loaded sound. Copies play independently, so several may overlap.
class Sound {
  public:
    virtual ~Sound() = default;

    // None when the copy cannot be made.
    virtual std::unique_ptr<Sound> copy() const = 0;
    // 0 (silent) to 1 (full).
    virtual void setVolume(double volume) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
};

enum class Haptic { alignment, levelChange };

// Short sounds: the named sounds of aim and fire feedback, and the beep that
// stands in for a failure nobody else reports.
class Sounds {
  public:
    virtual ~Sounds() = default;

    virtual void beep() = 0;

    // Whether there is a sound device to play on; asking may look for one.
    // Once none was found, sounds stay off for the run.
    virtual bool deviceFound() = 0;

    // The folders whose sound files are the named sounds, in lookup order.
    virtual std::vector<std::string> soundFolders() const = 0;
    // The sound of that name (a file name without its extension), or none when
    // no file has the name or the file does not decode.
    virtual std::unique_ptr<Sound> named(const std::string& name) = 0;
    virtual void performHaptic(Haptic pattern) = 0;
};

} // namespace rondelix::platform
