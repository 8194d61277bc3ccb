#pragma once

#include "editor/WheelEditor.h"
#include "editor/ui/SliceFormFactory.h"
#include "gallery/ui/WorkshopPane.h"
#include "util/Signal.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace rondelix {

class ConfettiCelebration;
class PreviewWheel;
class SliceIconSources;
class SliceSection;
class UndoKeyFilter;
class WheelPillColumn;
class WheelSection;
class WheelState;

// The My Wheels page: the tab strip and the wheel pills above and beside the
// live preview, and the inspector with the wheel and slice cards. It draws
// from the store and the open-wheel state and hands every gesture to the
// editor; the confetti covers it while the editor celebrates.
class WheelEditorPage : public WorkshopPane {
    Q_OBJECT
  public:
    struct Services {
        ConfigTransferServices transfer;
        // Shared with whoever made the page, which may hand it over for good.
        std::shared_ptr<EditorSession> session;
        platform::Sounds& sounds;
        platform::MainQueue& queue;
        WheelState& wheelState;
        SliceFormFactory makeSliceForm;
        SliceIconSources& icons;
        // The end of the 255-wheel sequence.
        std::function<void()> quit;
        // Whether the desktop asks for less motion; without one, it does not.
        std::function<bool()> reduceMotion;
    };

    explicit WheelEditorPage(Services services, QWidget* parent = nullptr);
    ~WheelEditorPage() override;

    WheelEditor& editor() { return editor_; }
    WheelPillColumn& pills() { return *pills_; }
    PreviewWheel& preview() { return *preview_; }
    WheelSection& wheelSection() { return *wheelSection_; }
    SliceSection& sliceSection() { return *sliceSection_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }
    QToolButton* undoButton() const { return undo_; }
    QToolButton* redoButton() const { return redo_; }
    // The preview wheel is drawn in a square of this side.
    void setWheelSize(double side) override;
    QWidget* wheelSquare() const override;
    // The celebration while it shows, else null.
    ConfettiCelebration* celebration() const { return celebration_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool reducesMotion() const;
    QWidget* buildTabStrip();
    QWidget* buildInspector();
    // Told which one wheel alone changed, the pills look at no other.
    void refresh(std::optional<std::size_t> onlyWheelChanged = std::nullopt);
    void refreshPreview();
    void refreshHistory();
    void refreshCelebration();
    void scrollToSelectedPill();
    void placePreview();

    Services services_;
    WheelEditor editor_;
    std::unique_ptr<UndoKeyFilter> undoKeys_;
    QPushButton* add_;
    QPushButton* import_;
    QPushButton* export_;
    QToolButton* undo_;
    QToolButton* redo_;
    QScrollArea* pillScroll_;
    WheelPillColumn* pills_;
    // Where the preview wheel is centred; the wheel itself lies over the page.
    QWidget* previewSlot_;
    PreviewWheel* preview_;
    QLabel* noWheel_;
    QWidget* captionRow_;
    QLabel* caption_;
    WheelSection* wheelSection_;
    SliceSection* sliceSection_;
    ConfettiCelebration* celebration_ = nullptr;
    std::string scrolledTo_;
    // The ids of the wheels the preview's switcher shows, made again only
    // when they may have changed.
    SharedWheelIds wheelIds_;

    ScopedConnection configConnection_;
    ScopedConnection historyConnection_;
    ScopedConnection editorConnection_;
    ScopedConnection stateConnection_;
};

} // namespace rondelix
