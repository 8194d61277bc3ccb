#include "qtshared/FlowLayout.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace rondelix {
namespace {

// An item that asks for a size but takes what it is given.
class Asking : public QWidget {
  public:
    explicit Asking(QSize size) : size_(size) {}
    QSize sizeHint() const override { return size_; }

  private:
    QSize size_;
};

// Items asking for sizes, 10 apart across and 4 down, laid out at a width.
std::vector<QRect> laidOut(const std::vector<QSize>& sizes, int width, int* height = nullptr) {
    QWidget box;
    auto* flow = new FlowLayout(10, 4);
    flow->setContentsMargins(2, 3, 2, 5);
    std::vector<QWidget*> items;
    for (const QSize& size : sizes) {
        auto* item = new Asking(size);
        flow->addWidget(item);
        items.push_back(item);
    }
    box.setLayout(flow);
    if (height) *height = flow->heightForWidth(width);
    flow->setGeometry(QRect(0, 0, width, 500));
    std::vector<QRect> frames;
    for (QWidget* item : items)
        frames.push_back(item->geometry());
    return frames;
}

TEST(FlowLayout, CarriesOnInANewRowWhatDoesNotFitAndAnswersTheHeightItTakes) {
    struct Row {
        const char* name;
        int width;
        std::vector<QRect> frames;
        int height;
    };
    const std::vector<QSize> sizes{{50, 20}, {50, 30}, {50, 20}};
    for (const Row& row : {
             // 2 + 50 + 10 + 50 + 10 + 50 + 2: all three on one row, to the pixel.
             Row{"exactly wide enough", 174, {{2, 3, 50, 20}, {62, 3, 50, 30}, {122, 3, 50, 20}}, 3 + 30 + 5},
             Row{"a pixel short", 173, {{2, 3, 50, 20}, {62, 3, 50, 30}, {2, 37, 50, 20}}, 37 + 20 + 5},
             Row{"one a row", 60, {{2, 3, 50, 20}, {2, 27, 50, 30}, {2, 61, 50, 20}}, 61 + 20 + 5},
         }) {
        int height = 0;
        const std::vector<QRect> frames = laidOut(sizes, row.width, &height);
        EXPECT_EQ(frames, row.frames) << row.name;
        EXPECT_EQ(height, row.height) << row.name;
    }
}

TEST(FlowLayout, AnItemWiderThanTheRoomStaysOnARowOfItsOwnCutToTheRoom) {
    const std::vector<QRect> frames = laidOut({{30, 10}, {200, 10}, {30, 10}}, 104);
    EXPECT_EQ(frames, (std::vector<QRect>{{2, 3, 30, 10}, {2, 17, 100, 10}, {2, 31, 30, 10}}));
}

} // namespace
} // namespace rondelix
