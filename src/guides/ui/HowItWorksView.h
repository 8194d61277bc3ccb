#pragma once

#include "guides/HowItWorksGuide.h"
#include "util/Signal.h"

#include <QWidget>
#include <cstddef>
#include <memory>

class QLabel;
class QPushButton;

namespace rondelix {

class HowItWorksIllustration;
class ProgressDots;
class SliceIconSources;

// The How Rondelix Works window's content: one step at a time, a picture over
// its title and sentence, then the progress dots and Back and Next or Done.
class HowItWorksView final : public QWidget {
    Q_OBJECT

  public:
    // The wheels of the pictures draw their icons from `icons`.
    HowItWorksView(HowItWorksHost host, SliceIconSources& icons, QWidget* parent = nullptr);

    HowItWorksGuide& guide() { return *guide_; }

  private:
    void render();

    std::unique_ptr<HowItWorksGuide> guide_;
    ScopedConnection connection_;
    HowItWorksIllustration* illustration_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* description_ = nullptr;
    ProgressDots* dots_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* primary_ = nullptr;
};

} // namespace rondelix
