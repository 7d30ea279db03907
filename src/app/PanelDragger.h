#pragma once
// Lets the user move a panel inside its parent with the left mouse button:
// pressing on the panel (or on a part of it that leaves the press to it, such
// as a frame or a label) remembers where in the panel the pointer is; moving
// then keeps that point under the pointer; releasing ends the move. The panel
// never leaves its parent: its left and top, and where room allows its right
// and bottom, are clamped to the parent, also when the parent shrinks.

#include <QObject>
#include <QPoint>

class QWidget;

namespace vx {

class PanelDragger : public QObject {
    Q_OBJECT
  public:
    // Watches the panel and its parent; owned by the panel.
    explicit PanelDragger(QWidget* panel);

    bool dragging() const { return dragging_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MoveTo(QPoint topLeft);
    void Stop();

    QWidget* panel_;
    bool dragging_ = false;
    QPoint offset_; // the pointer's position inside the panel at the press
};

} // namespace vx
