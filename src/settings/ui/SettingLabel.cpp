#include "settings/ui/SettingLabel.h"

#include "icons/ui/SymbolFont.h"
#include "settings/ui/SettingsText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace rondelix {

namespace {

// The row's symbol, drawn in the text colour at body size.
class SymbolMark : public QWidget {
  public:
    SymbolMark(std::string name, QWidget* parent) : QWidget(parent), name_(std::move(name)) {
        setFixedSize(22, 22);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (name_.empty()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        SymbolFont::paint(painter, name_, rect(), 15, palette().color(QPalette::WindowText));
    }

  private:
    std::string name_;
};

} // namespace

SettingLabel::SettingLabel(const SettingText& text) : title_(new QLabel(QString::fromStdString(text.title))) {
    title_->setObjectName("settingTitle");
    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->addWidget(title_);
    if (text.subtitle) {
        QLabel* subtitle = SettingsText::caption(QString::fromStdString(*text.subtitle), nullptr);
        subtitle->setObjectName("settingSubtitle");
        lines->addWidget(subtitle);
    }
    setContentsMargins(0, 0, 0, 0);
    setSpacing(8);
    // A symbol the font lacks leaves its place empty rather than showing a question mark.
    const std::string symbol = SymbolFont::knows(text.symbol) ? text.symbol : std::string();
    addWidget(new SymbolMark(symbol, nullptr), 0, Qt::AlignTop);
    addLayout(lines, 1);
}

void SettingLabel::names(QWidget& control) {
    title_->setBuddy(&control);
}

} // namespace rondelix
