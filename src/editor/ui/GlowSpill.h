#pragma once

#include <QWidget>

namespace rondelix {

class PreviewWheel;

// The preview wheel's glow where it spills past the wheel's square: a layer
// under the square, larger by as far as the glow reaches, that draws the
// glow around the square, so the glow ends softly instead of at the square's
// edge. It follows the preview by watching it move and paint.
class GlowSpill final : public QWidget {
  public:
    // A sibling of the preview, stacked under it.
    explicit GlowSpill(PreviewWheel& preview);

    // Takes its place around the preview.
    void follow();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Its area outside the preview's square, where the preview draws nothing.
    QRegion aroundTheSquare() const;

    PreviewWheel& preview_;
    // Whether the last drawing had a glow, which a later one may have to clear.
    bool drewGlow_ = false;
};

} // namespace rondelix
