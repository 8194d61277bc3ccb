#pragma once

#include "editor/SliceForm.h"
#include "editor/SliceFormKinds.h"
#include "editor/ui/ActionInput.h"
#include "util/Signal.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QTimer;
class QGridLayout;
class QLabel;
class QVBoxLayout;

namespace rondelix {

class IconInput;
class KeystrokeRecorderFilter;

// The form that edits one slice: its label, its icon (kind, then a symbol,
// an emoji or a picture) and its action (kind, caption, the kind's input,
// and a warning while the action would do nothing).
class SliceFormView : public QWidget {
    Q_OBJECT

  public:
    // Picks an installed application for an app slice; none when cancelled.
    using ChooseApp = std::function<std::optional<std::string>(QWidget* parent)>;

    SliceFormView(SliceFormServices services, const SliceSlot& slot, ChooseApp chooseApp,
                  QWidget* parent = nullptr);
    ~SliceFormView() override;

    SliceForm& form() { return form_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // Writes a typed text at once, or, for a very long one, once typing
    // pauses: saving a megabyte takes longer than a frame.
    void writeText(qsizetype length, std::function<void()> write);
    void flushHeldText();

    void refresh();
    void refreshIconInput(const Slice& slice);
    void refreshActionInput(const Slice& slice);
    ActionInputContext actionInputContext();

    SliceForm form_;
    ChooseApp chooseApp_;
    std::unique_ptr<KeystrokeRecorderFilter> recorderFilter_;
    ScopedConnection configConnection_;
    ScopedConnection automationsConnection_;
    ScopedConnection recordingConnection_;
    bool listedAutomations_ = false;
    std::function<void()> heldText_;
    QTimer* heldTextTimer_;

    class GrowingTextField* label_;
    QComboBox* iconKind_;
    QVBoxLayout* iconColumn_;
    IconInput* iconInput_ = nullptr;
    std::optional<SliceFormKinds::IconKind> iconInputKind_;
    QComboBox* actionKind_;
    QLabel* caption_;
    QVBoxLayout* actionColumn_;
    ActionInput* actionInput_ = nullptr;
    std::optional<SliceFormKinds::ActionKind> actionInputKind_;
    QWidget* warning_;
    QLabel* warningText_;
};

} // namespace rondelix
