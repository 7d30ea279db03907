#pragma once
// The splitter between the source list and the preview. The list keeps its share
// of the height as the window grows or shrinks, so that a large window shows more
// rows rather than a larger black preview; a share the user set by moving the
// handle is stored in the settings file and used at the next start.

#include <QSplitter>
#include <QTimer>
#include <string>

namespace vx {

class ListSplitter : public QSplitter {
    Q_OBJECT
  public:
    // The list's share when the user has set none, in percent.
    static constexpr int kDefaultShare = 62;

    ListSplitter(std::string appFolder, QWidget* parent = nullptr);
    ~ListSplitter() override;
    // The list's share of the height, in percent of what the two panes get.
    double Share() const { return share_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ApplyShare();
    void OnMoved();
    void SaveShare();

    std::string appFolder_;
    double share_;
    QTimer save_; // the share is stored once the handle rests
};

} // namespace vx
