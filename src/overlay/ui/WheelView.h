#pragma once

#include "model/Config.h"
#include "overlay/ui/WheelGraphic.h"
#include "util/Signal.h"

#include <QWidget>
#include <cstddef>
#include <functional>
#include <optional>

namespace rondelix {

class WheelState;

// The overlay's root view: the wheel graphic for whatever the open-wheel
// state says, drawn from the current configuration. It follows the state by
// itself; the owner calls `refresh()` when the configuration changes.
class WheelView : public QWidget {
    Q_OBJECT
  public:
    using ConfigSource = std::function<Config()>;

    WheelView(WheelState& state, ConfigSource config, SliceIconSources& icons, std::optional<double> diameter,
              QWidget* parent = nullptr);
    ~WheelView() override;

    void refresh();
    WheelGraphic& graphic() { return *graphic_; }

    // Whether the desktop asks for less motion, read at each refresh: the
    // aimed slot then lights at once.
    std::function<bool()> reduceMotion;

  Q_SIGNALS:
    // The graphic was given new inputs.
    void refreshed();

  private:
    WheelState& state_;
    ConfigSource config_;
    SliceIconSources& icons_;
    std::optional<double> diameter_;
    ScopedConnection connection_;
    WheelGraphic* graphic_;
};

} // namespace rondelix
