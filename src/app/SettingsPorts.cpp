#include "app/SettingsPorts.h"

#include "app/AppCoordinator.h"

namespace rondelix {

TestWheelControl testWheelControl(AppCoordinator& coordinator) {
    AppCoordinator* c = &coordinator;
    return {
        [c] { return c->testWheelActive(); },
        [c] { c->toggleTestWheel(); },
        [c] { c->deactivateTestWheel(); },
        [c](std::function<void()> changed) {
            return c->changed.connectScoped([changed](AppCoordinator::Property property) {
                if (property == AppCoordinator::Property::testWheelActive) changed();
            });
        },
    };
}

std::shared_ptr<BindingsHost> bindingsHost(AppCoordinator& coordinator) {
    AppCoordinator* c = &coordinator;
    return std::make_shared<BindingsHost>(BindingsHost{
        c->cancelActiveBindingRecorder,
        [c] { return c->isMainWindowOnScreen(); },
        [c] { c->showShortcutSetup(std::nullopt); },
    });
}

GeneralSettings::ShellHooks generalShellHooks(AppCoordinator& coordinator) {
    AppCoordinator* c = &coordinator;
    return {[c] { c->resetWindowSizes(); }, [c] { c->relockDevMenu(); }};
}

} // namespace rondelix
