#pragma once

#include "platform/SingleInstance.h"

#include <filesystem>
#include <memory>
#include <optional>

class QObject;

namespace rondelix::platform::linux_desktop {

// One program per user through a lock file and a Unix socket beside it in the
// user's private runtime folder. The holder of the lock is the one instance
// and listens on the socket; a later start finds the lock taken, connects and
// says "reopen"; the instance reads it and hangs up, which is the answer (the
// command people start asks the same way before it loads the program at all;
// the lock has the last word when both start at once).
// Both ends check with the kernel that the other runs as the same user: a
// socket someone else answers is never obeyed, a request from someone else is
// dropped.
class LocalSocketSingleInstance final : public SingleInstance {
  public:
    // The socket in the user's private runtime folder.
    LocalSocketSingleInstance();
    explicit LocalSocketSingleInstance(std::filesystem::path socket);
    ~LocalSocketSingleInstance() override;

    Claim claim() override;
    void serve(std::function<void()> onReopenRequest) override;
    std::string failure() const override { return failure_; }
    int unresponsiveProcess() const override { return unresponsiveProcess_; }
    void release() override;

  private:
    Claim becomeTheInstance();

    std::optional<std::filesystem::path> socket_;
    int lock_ = -1;
    int listener_ = -1;
    std::unique_ptr<QObject> serving_;
    std::string failure_;
    int unresponsiveProcess_ = 0;
};

} // namespace rondelix::platform::linux_desktop
