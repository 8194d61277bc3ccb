#include "settings/ui/AccentSlider.h"

#include "qtshared/QtColor.h"

#include <QStyleOptionSlider>

namespace rondelix {

void AccentSlider::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        option->palette.setColor(group, QPalette::Highlight,
                                 visibleMark(fromQColor(palette().color(group, QPalette::Highlight)),
                                             palette().color(group, QPalette::Window)));
}

} // namespace rondelix
