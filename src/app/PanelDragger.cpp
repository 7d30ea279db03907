#include "PanelDragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

namespace vx {

PanelDragger::PanelDragger(QWidget* panel) : QObject(panel), panel_(panel) {
    panel_->installEventFilter(this);
    if (QWidget* parent = panel_->parentWidget()) parent->installEventFilter(this);
}

// Moves and the release reach the panel while it holds the mouse, or the
// window area below it where the platform cannot grab the mouse.
bool PanelDragger::eventFilter(QObject* watched, QEvent* event) {
    const bool onPanel = watched == panel_;
    switch (event->type()) {
    case QEvent::Resize:
        if (!onPanel) MoveTo(panel_->pos()); // a shrinking window keeps the panel inside
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!onPanel || mouse->button() != Qt::LeftButton) return false;
        offset_ = mouse->position().toPoint();
        dragging_ = true;
        panel_->grabMouse();
        return true;
    }
    case QEvent::MouseMove: {
        if (!dragging_) return false;
        const QPointF global = static_cast<QMouseEvent*>(event)->globalPosition();
        MoveTo(panel_->parentWidget()->mapFromGlobal(global).toPoint() - offset_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!dragging_ || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        Stop();
        return true;
    case QEvent::Hide:
        if (onPanel && dragging_) Stop(); // a batch that ends mid-drag hides the panel
        return false;
    default:
        return false;
    }
}

void PanelDragger::Stop() {
    dragging_ = false;
    panel_->releaseMouse();
}

void PanelDragger::MoveTo(QPoint topLeft) {
    const QWidget* parent = panel_->parentWidget();
    if (!parent) return;
    const int right = std::max(0, parent->width() - panel_->width());
    const int bottom = std::max(0, parent->height() - panel_->height());
    const QPoint clamped(std::clamp(topLeft.x(), 0, right), std::clamp(topLeft.y(), 0, bottom));
    if (clamped != panel_->pos()) panel_->move(clamped);
}

} // namespace vx
