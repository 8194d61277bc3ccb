#pragma once

#include "platform/SingleInstance.h"

#include <filesystem>
#include <memory>
#include <optional>

class QLocalServer;

namespace rondelix::platform::linux_desktop {

// One program per user through a local socket in the user's private runtime
// folder: the first start listens on it, a later start connects and says
// "reopen". Both ends check that the other runs as the same user; a socket
// that someone else answers is taken over, never obeyed.
class LocalSocketSingleInstance final : public SingleInstance {
  public:
    // The socket in the user's private runtime folder.
    LocalSocketSingleInstance();
    explicit LocalSocketSingleInstance(std::filesystem::path socket);
    ~LocalSocketSingleInstance() override;

    Claim claim(std::function<void()> onReopenRequest) override;
    std::string failure() const override { return failure_; }

  private:
    bool askRunningToReopen();

    std::optional<std::filesystem::path> socket_;
    std::unique_ptr<QLocalServer> server_;
    std::string failure_;
};

} // namespace rondelix::platform::linux_desktop
