#include "editor/ui/ActionInput.h"

#include <QVBoxLayout>

namespace rondelix {

ActionInput::ActionInput(ActionInputContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), column_(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("actionInput"));
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(6);
}

} // namespace rondelix
