#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class QVariantAnimation;

namespace rondelix {

// One row of the gallery's lists: a title, an optional line below it and an
// optional badge at the end, on the accent's light fill while selected, faded
// while its application is missing. It paints itself: the lists change on
// every letter typed, and style sheets would cost a frame.
class GalleryListRow : public QAbstractButton {
    Q_OBJECT
  public:
    explicit GalleryListRow(const QString& title, QWidget* parent = nullptr);

    // The row's name as the catalogue writes it; the button's own text stays
    // empty.
    const QString& title() const { return title_; }
    void setSubtitle(const QString& subtitle);
    void setBadge(const QPixmap& badge, const QString& tooltip);
    // A change of selection while the row shows fades its fill over 0.2 s.
    void setSelected(bool selected, const QColor& accent);
    void setFaded(bool faded);
    // The selected row wears the focus ring while its list has the focus.
    void setRingShown(bool shown);
    bool isSelected() const { return selected_; }
    bool isFaded() const { return faded_; }
    const QString& subtitle() const { return subtitle_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString title_;
    QString subtitle_;
    QPixmap badge_;
    bool selected_ = false;
    // How much of the selected fill shows, from 0 to 1.
    double fill_ = 0;
    QVariantAnimation* fillFade_;
    bool faded_ = false;
    bool ringShown_ = false;
    QColor accent_;
};

} // namespace rondelix
