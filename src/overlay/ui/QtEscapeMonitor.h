#pragma once

#include "overlay/EscapeMonitor.h"

#include <QObject>
#include <map>

namespace rondelix {

// Watches the program's own key presses through an application-wide event
// filter, installed only while some monitor is.
class QtEscapeMonitor final : public QObject, public EscapeMonitor {
    Q_OBJECT
  public:
    ~QtEscapeMonitor() override;

    Token add(std::function<void()> onEscape) override;
    void remove(Token token) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::map<Token, std::function<void()>> monitors_;
    Token lastToken_ = 0;
};

} // namespace rondelix
