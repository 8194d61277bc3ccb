#pragma once

#include <QAccessibleWidget>

namespace rondelix {

class EmojiPickerField;

// The emoji field as a screen reader finds it: its open popup is its last
// child. The toolkit leaves popup windows out of the application's tree (a
// menu is heard as it opens and needs no more), so the popup's search, groups
// and grid would otherwise be found nowhere.
class AccessibleEmojiPickerField final : public QAccessibleWidget {
  public:
    explicit AccessibleEmojiPickerField(EmojiPickerField* field);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    // Makes the accessibility layer build the field and its popup this way.
    static void install();
    // Tells the layer that the popup now stands under the field.
    static void popupOpened(EmojiPickerField& field);

  private:
    QAccessibleInterface* popup() const;
};

} // namespace rondelix
