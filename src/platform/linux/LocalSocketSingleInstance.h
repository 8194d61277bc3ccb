#pragma once

#include "platform/SingleInstance.h"

#include <QString>
#include <memory>

class QLocalServer;

namespace rondelix::platform::linux_desktop {

// One program per user through a local socket named after the user: the
// first start listens on it, a later start connects and says "reopen".
class LocalSocketSingleInstance final : public SingleInstance {
  public:
    explicit LocalSocketSingleInstance(QString name = defaultName());
    ~LocalSocketSingleInstance() override;

    Claim claim(std::function<void()> onReopenRequest) override;
    std::string failure() const override { return failure_; }

    static QString defaultName();

  private:
    bool askRunningToReopen();

    QString name_;
    std::unique_ptr<QLocalServer> server_;
    std::string failure_;
};

} // namespace rondelix::platform::linux_desktop
