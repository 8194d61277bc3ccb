#pragma once

#include "platform/Permissions.h"

namespace rondelix::platform::sim {

// Permissions that tests set; counts what the program asked for.
class SimPermissions final : public Permissions {
  public:
    bool isAccessibilityTrusted() override { return accessibility; }
    bool canListenToInput() override { return listen; }
    bool requestInputAccess() override {
        ++inputRequests;
        return inputRequestAnswer;
    }
    bool requestListenAccess() override {
        ++listenRequests;
        return listenRequestAnswer;
    }
    bool primeListenRegistration() override {
        ++primes;
        return listen;
    }
    void openInputMonitoringSettings() override { ++inputMonitoringSettingsOpened; }
    void openAccessibilitySettings() override { ++accessibilitySettingsOpened; }
    void bringPermissionPromptToFront() override { ++promptsBroughtToFront; }

    bool accessibility = false;
    bool listen = false;
    bool inputRequestAnswer = false;
    bool listenRequestAnswer = false;

    int inputRequests = 0;
    int listenRequests = 0;
    int primes = 0;
    int inputMonitoringSettingsOpened = 0;
    int accessibilitySettingsOpened = 0;
    int promptsBroughtToFront = 0;
};

} // namespace rondelix::platform::sim
