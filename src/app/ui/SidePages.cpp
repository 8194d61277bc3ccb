#include "app/ui/SidePages.h"

#include "app/AppCoordinator.h"
#include "app/GuidesPorts.h"
#include "editor/ui/ConfettiView.h"
#include "guides/ui/HowItWorksView.h"
#include "guides/ui/OnboardingView.h"
#include "guides/ui/ShortcutSetupView.h"

#include <QString>
#include <map>

namespace rondelix {

namespace {

using Kind = AppWindows::Kind;

// One row per side window.
const std::map<Kind, SidePage>& sideTable() {
    static const std::map<Kind, SidePage> rows{
        {Kind::onboarding,
         {"Welcome to Rondelix",
          [](const PageContext& context, const AppWindows::SideRequest& request,
             QWidget* parent) -> QWidget* {
              return new OnboardingView(
                  onboardingHost(context.coordinator), request.step,
                  [](QWidget* over) { return new ConfettiView(over); }, parent);
          }}},
        {Kind::shortcutSetup,
         {"System Action Setup",
          [](const PageContext& context, const AppWindows::SideRequest& request,
             QWidget* parent) -> QWidget* {
              AppCoordinator& c = context.coordinator;
              auto* view = new ShortcutSetupView(
                  shortcutSetupHost(c), request.highlight,
                  {[&c] { c.automations().openFolder(); },
                   [&c] { c.platform().windows.close(AppWindows::Kind::shortcutSetup); }},
                  parent);
              // The cards follow the listing.
              InstalledAutomations& automations = c.automations();
              const auto connection =
                  automations.changed.connect([view] { view->setup().installedChanged(); });
              QObject::connect(view, &QObject::destroyed,
                               [&automations, connection] { automations.changed.disconnect(connection); });
              return view;
          }}},
        {Kind::howItWorks,
         {"How Rondelix Works",
          [](const PageContext& context, const AppWindows::SideRequest&, QWidget* parent) -> QWidget* {
              return new HowItWorksView(howItWorksHost(context.coordinator), context.icons, parent);
          }}},
    };
    return rows;
}

} // namespace

SidePage sidePage(Kind kind) {
    const auto& rows = sideTable();
    const auto row = rows.find(kind);
    return row == rows.end() ? SidePage{} : row->second;
}

} // namespace rondelix
