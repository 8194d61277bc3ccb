#include "editor/ui/ImageIconInput.h"

#include "editor/SliceForm.h"
#include "editor/SliceFormInputs.h"
#include "icons/ui/CustomIconThumbnail.h"
#include "qtshared/ProblemCaption.h"
#include "qtshared/QtText.h"

#include <QLabel>
#include <QPointer>

namespace rondelix {

ImageIconInput::ImageIconInput(SliceForm& form, QWidget* parent)
    : IconInput(form, parent), thumbnail_(new CustomIconThumbnail) {
    setObjectName(QStringLiteral("imageRow"));
    auto* problem = new ProblemCaption("imageProblem", this);
    name_ = layOutChooserRow(thumbnail_, tr("Choose Image…"), [this, problem] {
        // The row may have gone by the time the picture is read.
        this->form().chooseImage([line = QPointer(problem)](const std::optional<std::string>& sentence) {
            if (line) line->say(sentence);
        });
    });
    addLineBelow(problem);
}

void ImageIconInput::showIcon(const Icon& icon) {
    const auto* image = icon.as<Icon::CustomImage>();
    if (!image) return;
    name_->setText(toQString(SliceFormInputs::imageRowLabel(*image)));
    thumbnail_->setFilename(image->filename);
}

} // namespace rondelix
