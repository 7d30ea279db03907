#pragma once
// A light progress bar, 0 to 100: the batch moves it many times a second, so a
// new value only schedules a repaint of the bar itself (the style's bar repaints
// at once, frames around it included).

#include <QStaticText>
#include <QWidget>
#include <array>

namespace vx {

class SlimProgressBar : public QWidget {
    Q_OBJECT
  public:
    explicit SlimProgressBar(QWidget* parent = nullptr);
    int value() const { return value_; }
    void setValue(int value);
    QSize sizeHint() const override;

  signals:
    void valueChanged(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int value_ = 0;
    std::array<QStaticText, 101> labels_; // "0%" to "100%", laid out once each
};

} // namespace vx
