#pragma once

#include <QObject>

namespace rondelix {

// The program's icon on its windows' title bars and in the taskbar and
// switcher, given to every window once the first window that shows it (a
// window or dialog the window manager frames) is about to appear. The wheel,
// the HUD, menus and the tray's own window show none, so a start into the
// tray reads no icon file and sends no icon to the display. The installed
// icon is used, else the copy built into the program.
class ProgramWindowIcon final : public QObject {
  public:
    // Watches every window of the running application from here on.
    ProgramWindowIcon();
    ~ProgramWindowIcon() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace rondelix
