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
          [](AppCoordinator& c, const AppWindows::SideRequest& request, QWidget* parent) -> QWidget* {
              return new OnboardingView(
                  onboardingHost(c), request.step, [](QWidget* over) { return new ConfettiView(over); },
                  parent);
          }}},
        {Kind::shortcutSetup,
         {"System Action Setup",
          [](AppCoordinator& c, const AppWindows::SideRequest& request, QWidget* parent) -> QWidget* {
              auto* view = new ShortcutSetupView(
                  shortcutSetupHost(c), request.highlight,
                  {[&c] { openAutomationsFolder(c); },
                   [&c] { c.platform().windows.close(AppWindows::Kind::shortcutSetup); }},
                  parent);
              // The listing lands in the coordinator; the cards follow it.
              const auto connection = c.changed.connect([view](AppCoordinator::Property property) {
                  if (property == AppCoordinator::Property::installedShortcuts)
                      view->setup().installedChanged();
              });
              QObject::connect(view, &QObject::destroyed,
                               [&c, connection] { c.changed.disconnect(connection); });
              return view;
          }}},
        {Kind::howItWorks,
         {"How Rondelix Works",
          [](AppCoordinator& c, const AppWindows::SideRequest&, QWidget* parent) -> QWidget* {
              return new HowItWorksView(howItWorksHost(c), parent);
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
