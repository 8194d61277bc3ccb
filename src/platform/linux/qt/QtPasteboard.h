#pragma once

#include "platform/Pasteboard.h"

#include <QObject>

class QClipboard;

namespace rondelix::platform::linux_desktop {

// The desktop clipboard through Qt. The change count is kept here: one step
// for each write of ours, one for each change Qt reports that did not come
// from a write of ours. A notice about our own write, however late it
// arrives, is never taken for someone else's copy.
class QtPasteboard final : public QObject, public Pasteboard {
  public:
    QtPasteboard();

    std::optional<std::vector<PasteboardItem>> items() const override;
    void writeText(const std::string& text) override;
    void writeItems(const std::vector<PasteboardItem>& items) override;
    std::optional<std::string> primaryText() const override;
    void writePrimaryText(const std::string& text) override;
    long changeCount() const override { return changeCount_; }

  private:
    void clipboardChanged();

    QClipboard* clipboard_;
    long changeCount_ = 0;
    bool writing_ = false;
};

} // namespace rondelix::platform::linux_desktop
