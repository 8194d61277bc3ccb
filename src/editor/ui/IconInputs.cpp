#include "editor/ui/IconInputs.h"

#include "editor/ui/EmojiIconInput.h"
#include "editor/ui/ImageIconInput.h"
#include "editor/ui/SymbolIconInput.h"

#include <algorithm>
#include <array>

namespace rondelix {

namespace {

using SliceFormKinds::IconKind;

template <typename Input> IconInput* make(SliceForm& form, QWidget* parent) {
    return new Input(form, parent);
}

struct Row {
    IconKind kind;
    IconInput* (*make)(SliceForm&, QWidget*);
};

constexpr std::array rows{
    Row{IconKind::symbol, make<SymbolIconInput>},
    Row{IconKind::emoji, make<EmojiIconInput>},
    Row{IconKind::image, make<ImageIconInput>},
};

} // namespace

IconInput* makeIconInput(IconKind kind, SliceForm& form, QWidget* parent) {
    const auto row = std::find_if(rows.begin(), rows.end(), [kind](const Row& r) { return r.kind == kind; });
    return row == rows.end() ? nullptr : row->make(form, parent);
}

} // namespace rondelix
