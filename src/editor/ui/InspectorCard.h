#pragma once

#include <QFrame>
#include <QLabel>

class QHBoxLayout;

namespace rondelix {

// The card an inspector section sits on: 16 points of padding on a rounded
// panel with a faint border.
class InspectorCard : public QFrame {
    Q_OBJECT
  public:
    explicit InspectorCard(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// The caption of an inspector row: secondary text, trailing-aligned in a
// column 72 points wide, so the controls of all rows start in one place.
class InspectorRowLabel : public QLabel {
    Q_OBJECT
  public:
    static constexpr int width = 72;
    InspectorRowLabel(const QString& text, int topPadding, QWidget* parent = nullptr);
};

// A section title in small bold capitals with an optional accent after it.
QHBoxLayout* sectionHeader(const QString& title, QLabel** accent = nullptr);

// Text in the palette's secondary colour.
void makeSecondary(QWidget* widget);

} // namespace rondelix
