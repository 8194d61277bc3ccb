#pragma once

#include "gallery/GalleryBrowserModel.h"
#include "gallery/ui/AddWheelSheet.h"
#include "gallery/ui/GalleryListRow.h"
#include "gallery/ui/WheelPreviewFactory.h"
#include "gallery/ui/WorkshopPane.h"
#include "model/Color.h"
#include "util/Signal.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace rondelix {

class GalleryRowList;
class GalleryToastView;

// The Wheel Gallery page: the search field, the categories and their wheels
// on the left; on the stage the selected wheel, ready to be tried slice by
// slice and added after a review.
class GalleryBrowserPage : public WorkshopPane {
    Q_OBJECT
  public:
    struct Services {
        GalleryServices gallery;
        platform::MainQueue& queue;
        platform::Background& background;
        const platform::Workspace& workspace;
        // The accent setting, and the notice that the configuration changed.
        std::function<Color()> accent;
        // Whether the window shows glass (the setting on, and the desktop
        // showing transparency): the stage is then a clear disc.
        std::function<bool()> glass;
        Signal<>& configChanged;
        WheelPreviewFactory preview;
        // The desktop's wish for less motion: the toast then comes and goes at once.
        std::function<bool()> reduceMotion;
    };

    GalleryBrowserPage(Services services, double wheelSize, QWidget* parent = nullptr);
    ~GalleryBrowserPage() override;

    void setWheelSize(double side) override;
    double wheelSize() const { return wheelSize_; }

    GalleryBrowserModel& model() { return model_; }
    QLineEdit* searchField() const { return search_; }
    QToolButton* clearButton() const { return clear_; }
    QPushButton* addButton() const { return add_; }
    // The preview square, where the workshop's wheel flies to and from.
    QWidget* stageSquare() const { return square_; }
    QWidget* wheelSquare() const override { return square_; }
    QWidget* preview() const { return preview_.widget; }
    GalleryListRow* categoryButton(GalleryWheel::Category category) const;
    // The wheel's row while the list shows it, else null.
    GalleryListRow* wheelButton(const std::string& galleryId) const;
    AddWheelSheet* sheet() const { return sheet_; }
    GalleryToastView* toastView() const { return toastView_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLeftPane(QWidget* pane);
    void buildStage(QWidget* stage);
    void refresh();
    void refreshCategories();
    void refreshWheels();
    void refreshStage();
    void showPreview();
    bool aimKey(const QKeyEvent& key);
    void syncSheet();
    QColor accent() const;

    Services services_;
    GalleryBrowserModel model_;
    double wheelSize_;
    bool detected_ = false;
    std::string previewedId_;
    Color previewedAccent_;
    QLineEdit* search_ = nullptr;
    QToolButton* clear_ = nullptr;
    GalleryRowList* categoryColumn_ = nullptr;
    std::map<GalleryWheel::Category, GalleryListRow*> categoryRows_;
    GalleryRowList* wheelColumn_ = nullptr;
    QVBoxLayout* wheelRows_ = nullptr;
    // One row per catalogue wheel, made once and shown as the list needs.
    std::map<std::string, GalleryListRow*> rowsById_;
    QLabel* noWheels_ = nullptr;
    QWidget* header_ = nullptr;
    QPushButton* add_ = nullptr;
    QLabel* summary_ = nullptr;
    QWidget* square_ = nullptr;
    WheelPreview preview_;
    // The stage's slot aimed at from the keyboard while the wheel has the focus.
    std::optional<int> aimed_;
    QWidget* focusRing_ = nullptr;
    QLabel* noMatch_ = nullptr;
    QPointer<AddWheelSheet> sheet_;
    GalleryToastView* toastView_ = nullptr;
    ScopedConnection configConnection_;
};

} // namespace rondelix
