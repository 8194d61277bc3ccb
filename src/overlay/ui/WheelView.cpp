#include "overlay/ui/WheelView.h"

#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/WheelChoice.h"
#include "qtshared/QtText.h"

#include <QVBoxLayout>
#include <utility>

namespace rondelix {

WheelView::WheelView(WheelState& state, ConfigSource config, SliceIconSources& icons,
                     std::optional<double> diameter, QWidget* parent)
    : QWidget(parent), state_(state), config_(std::move(config)), icons_(icons), diameter_(diameter),
      graphic_(new WheelGraphic(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(graphic_);
    connection_ = state_.changed.connectScoped([this](WheelState::Property) { refresh(); });
    refresh();
}

WheelView::~WheelView() = default;

void WheelView::refresh() {
    Config config = config_ ? config_() : Config{};
    const Wheel* chosen = wheelToDraw(config, state_.activeWheelId());
    WheelGraphic::Inputs inputs =
        WheelGraphic::Inputs::of(chosen ? *chosen : DefaultConfig::mainWheel(), config.behavior);
    inputs.aimedPosition = state_.aimedPosition();
    inputs.wheelIds = sharedWheelIds(config.wheels);
    inputs.activeWheelId = state_.activeWheelId();
    inputs.isVisible = state_.isVisible();
    inputs.diameter = diameter_;
    inputs.prefetchFavicons = true;
    inputs.showsHubLabel = true;
    inputs.icons = &icons_;
    graphic_->setReduceMotion(reduceMotion && reduceMotion());
    // What a screen reader calls the summoned wheel; the aimed slice is its
    // value.
    const QString name = toQString(inputs.wheel.name);
    graphic_->setInputs(std::move(inputs));
    if (graphic_->accessibleName() != name) graphic_->setAccessibleName(name);
    Q_EMIT refreshed();
}

} // namespace rondelix
