#pragma once

#include "settings/BindingRowModel.h"
#include "util/Signal.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

namespace rondelix {

class ElidingLabel;
class RowReveal;

// One summon binding on the Bindings page: its switch, its keys, Record with
// the recording panel under it, the collision hint, Remove, and the hold
// delay while it is on.
class BindingRow : public QWidget {
  public:
    BindingRow(Uuid id, BindingRowModel::Services services, QWidget* parent);
    ~BindingRow() override;

    const Uuid& id() const { return model_.id(); }
    // Shows the binding as the configuration and the recorder hold it now.
    void refresh();

  protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void placeRecordingPanel();
    void showAccent();
    QWidget* makeMainLine();
    QWidget* makeHoldDelayLine();
    QFrame* makeRecordingPanel();
    QFrame* makeCollisionPopover();

    BindingRowModel model_;
    ScopedConnection recorderConnection_;

    QCheckBox* enabled_;
    ElidingLabel* combo_;
    QPushButton* record_;
    QToolButton* collisionHint_;
    QFrame* collisionPopover_;
    QToolButton* remove_;
    QWidget* holdDelay_;
    RowReveal* holdDelayReveal_ = nullptr;
    // The binding's own switch is being flipped.
    bool switching_ = false;
    QSlider* holdDelaySlider_;
    QLabel* holdDelayText_;
    QFrame* recordingPanel_;
    ElidingLabel* captured_;
    QLabel* capturedWarning_;
    QLabel* unholdable_;
    QPushButton* confirm_;
};

} // namespace rondelix
