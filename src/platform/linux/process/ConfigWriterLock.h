#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace rondelix::platform::linux_desktop {

// One writer of the configuration at a time, across processes. The program
// holds an advisory lock on a file beside the configuration from before it
// reads the file until its last save is on the disk. A quitting program gives
// up the single-instance place at once but may write for a while yet, so the
// next start takes the place and then waits here for the lock. The kernel
// lets go of the lock when its holder ends, however it ends.
//
// The holder writes into the file which process it is and whether it runs
// on or is saving at its quit: a start in another session (another
// single-instance place) is then told at once that the program runs there.
// A lock file the user may only read still takes the lock, since the lock
// needs no write access, but then holds no word of its holder.
class ConfigWriterLock {
  public:
    static constexpr double noticeAfterSeconds = 1;
    static constexpr double giveUpAfterSeconds = 60;

    // The lock beside the configuration in `configFolder`.
    explicit ConfigWriterLock(const std::filesystem::path& configFolder);
    // Lets go of the lock.
    ~ConfigWriterLock();
    ConfigWriterLock(const ConfigWriterLock&) = delete;
    ConfigWriterLock& operator=(const ConfigWriterLock&) = delete;

    enum class Taken {
        taken,            // this process is the one writer
        stillHeld,        // another process held it all the wait; `holder` says which
        runningElsewhere, // another process holds it and runs on, not quitting; `holder` says which
        unavailable,      // no lock can be had here; `failure` says why
    };
    // Takes the lock, waiting while another process holds it for its last
    // save: `onWaiting` is told once the wait passes `noticeAfter` seconds,
    // and after `giveUpAfter` seconds it gives up.
    Taken take(double noticeAfter, double giveUpAfter, const std::function<void()>& onWaiting);
    // Tells a start that finds the lock held that this holder is saving at
    // its quit, so that it waits.
    void noteQuitting();
    bool held() const { return fd_ >= 0; }
    // The process that held the lock when the wait ended; 0 when unknown.
    int holder() const { return holder_; }
    std::string failure() const { return failure_; }

  private:
    void close();

    std::filesystem::path file_;
    int fd_ = -1;
    // The file could be opened for writing: the holder's word in it is its own.
    bool writable_ = false;
    int holder_ = 0;
    std::string failure_;
};

} // namespace rondelix::platform::linux_desktop
