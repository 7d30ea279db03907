#include "Toolbar.h"

#include "ProfileChooser.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace vx {

ToolbarImage::ToolbarImage(const QString& caption, ToolbarPicture picture, QWidget* parent)
    : QToolButton(parent) {
    setText(caption);
    setToolTip(caption);
    setIcon(ToolbarIcon(picture));
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
    setMinimumWidth(76);
    setFocusPolicy(Qt::TabFocus);
}

void ToolbarImage::setBordered(bool bordered) {
    if (bordered_ == bordered) return;
    bordered_ = bordered;
    update();
}

void ToolbarImage::enterEvent(QEnterEvent* event) {
    setBordered(true);
    QToolButton::enterEvent(event);
}

void ToolbarImage::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!bordered_ && !hasFocus()) return;
    QPainter painter(this);
    if (bordered_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void ToolbarImage::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture3"));
    setAttribute(Qt::WA_StyledBackground); // the skin paints the bar
    setMouseTracking(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    using P = ToolbarPicture;
    // clang-format off
    const struct { const char* name; const char* caption; P picture; } kImages[] = {
        {"Image1", "Add Files", P::AddFiles},   {"Image2", "Remove File", P::RemoveFile},
        {"Image9", "Clear All", P::ClearAll},   {"Image10", "Settings", P::Settings},
        {"Image11", "CONVERT NOW", P::ConvertNow}, {"Image8", "Help", P::Help},
        {"Image7", "EXIT", P::Exit},
    };
    // clang-format on
    for (const auto& entry : kImages) {
        auto* image = new ToolbarImage(QString::fromLatin1(entry.caption), entry.picture, this);
        image->setObjectName(QLatin1String(entry.name));
        row->addWidget(image);
        images_.push_back(image);
    }
    row->addStretch(1);
    // Alt+P reaches the chooser from the keyboard.
    label_ = new QLabel(QStringLiteral("&Profile:"), this);
    label_->setObjectName(QStringLiteral("profileLabel"));
    chooser_ = new ProfileChooser(this);
    chooser_->setMinimumWidth(320);
    label_->setBuddy(chooser_);
    row->addWidget(label_);
    row->addWidget(chooser_);
}

ToolbarImage* Toolbar::image(const QString& name) const {
    for (ToolbarImage* image : images_)
        if (image->objectName() == name) return image;
    return nullptr;
}

// Moves over the label or the chooser reach the bar too; only the bare bar counts.
void Toolbar::mouseMoveEvent(QMouseEvent* event) {
    if (!childAt(event->position().toPoint()))
        for (ToolbarImage* image : images_)
            image->setBordered(false);
    QWidget::mouseMoveEvent(event);
}

} // namespace vx
