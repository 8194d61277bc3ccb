#pragma once

#include "model/Config.h"
#include "overlay/ui/WheelGraphic.h"

#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rondelix {

// The pictures of the How Rondelix Works guide, drawn here with the wheel's
// own painter in the user's accent: the summon keys held as a wheel opens, a
// slice aimed at, a slice fired, switching wheels, and the wheel editor.
class HowItWorksIllustration final : public QWidget {
    Q_OBJECT

  public:
    explicit HowItWorksIllustration(SliceIconSources& icons, QWidget* parent = nullptr);
    ~HowItWorksIllustration() override;

    // The picture of that name, with these summon key names and look.
    void setScene(const std::string& name, const std::vector<std::string>& summonKeyNames,
                  const Behavior& behavior);
    const std::string& scene() const { return scene_; }
    // Whether a picture of that name is drawn here.
    static bool draws(const std::string& name);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    SliceIconSources& icons_;
    std::string scene_;
    std::vector<std::string> keys_;
    Behavior behavior_;
    // One painter per wheel drawn, so each keeps its cached layers.
    std::map<std::string, std::unique_ptr<WheelGraphic>> graphics_;
};

} // namespace rondelix
