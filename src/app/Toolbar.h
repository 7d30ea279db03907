#pragma once
// The picture toolbar of the main window (`Picture3`): seven images with their
// captions, the "Profile:" label and the profile chooser.
//
// Hover: the pointer over an image gives it a single-line border; the pointer
// over the bare bar takes the border off all seven. Going from one image
// straight to another leaves both bordered. The border is painted by the image
// itself, so that no style sheet can hide it. Every image takes keyboard focus
// (Tab), shows it, and acts on Space, Enter and Return.

#include "ToolbarArt.h"

#include <QToolButton>
#include <QWidget>
#include <vector>

class QLabel;

namespace vx {

class ProfileChooser;

class ToolbarImage : public QToolButton {
    Q_OBJECT
  public:
    ToolbarImage(const QString& caption, ToolbarPicture picture, QWidget* parent);

    bool bordered() const { return bordered_; }
    void setBordered(bool bordered);

  protected:
    void enterEvent(QEnterEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool bordered_ = false;
};

class Toolbar : public QWidget {
    Q_OBJECT
  public:
    explicit Toolbar(QWidget* parent = nullptr);

    // The image with that object name ("Image1" ... "Image11"), or null.
    ToolbarImage* image(const QString& name) const;
    const std::vector<ToolbarImage*>& images() const { return images_; }
    ProfileChooser* chooser() const { return chooser_; }
    QLabel* profileLabel() const { return label_; }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    std::vector<ToolbarImage*> images_;
    QLabel* label_ = nullptr;
    ProfileChooser* chooser_ = nullptr;
};

} // namespace vx
