#pragma once
// A one-line label that never widens its window: a text too long for its width
// ends in "…", and its tooltip and accessible description hold the whole text.

#include <QLabel>

namespace vx {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    const QString& fullText() const { return full_; }
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Elide();
    QString full_;
};

} // namespace vx
