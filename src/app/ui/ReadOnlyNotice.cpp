#include "app/ui/ReadOnlyNotice.h"

#include "store/ConfigStore.h"

namespace rondelix {

ReadOnlyNotice::ReadOnlyNotice(ConfigStore& store, QWidget* parent) : QLabel(parent), store_(store) {
    setObjectName("readOnlyNotice");
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setStyleSheet(
        "#readOnlyNotice { background: rgba(255, 149, 0, 0.16); border: 1px solid rgba(255, 149, 0, "
        "0.55); border-radius: 6px; padding: 6px 10px; margin: 10px 16px 0 16px; }");
    connection_ = store_.readOnlyChanged.connectScoped([this] { refresh(); });
    refresh();
}

void ReadOnlyNotice::setPageEdits(bool edits) {
    pageEdits_ = edits;
    refresh();
}

void ReadOnlyNotice::refresh() {
    const auto refusal = store_.saveRefusal();
    if (refusal) setText(QString::fromStdString(refusal->sentence));
    setVisible(pageEdits_ && refusal);
}

} // namespace rondelix
