#pragma once

#include "util/Signal.h"

#include <QObject>

namespace rondelix {

class KeystrokeRecorder;

namespace platform {
class KeyboardLayout;
}

// Offers every key press of the application to a recorder while it records,
// before any field or menu shortcut sees it. Presses of a modifier alone
// pass on. Installs itself on the application when the recorder starts and
// removes itself when it stops.
class KeystrokeRecorderFilter : public QObject {
    Q_OBJECT

  public:
    KeystrokeRecorderFilter(KeystrokeRecorder& recorder, const platform::KeyboardLayout& keyboard,
                            QObject* parent = nullptr);
    ~KeystrokeRecorderFilter() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow();

    KeystrokeRecorder& recorder_;
    const platform::KeyboardLayout& keyboard_;
    ScopedConnection connection_;
    bool installed_ = false;
};

} // namespace rondelix
