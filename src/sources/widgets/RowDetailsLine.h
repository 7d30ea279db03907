#pragma once
// The line under the source list that spells out the current row: its file in
// full, its status, and why it failed or cannot be read. What a tooltip tells
// the mouse, it tells the keyboard: it follows the current row as the arrow
// keys move it, and Tab reaches it to select and copy the text.

#include <QLabel>

namespace vx {

class SourceListView;
struct SourceItem;

// The row's details: "<path>", then " | <status>" and ": <reason>" when it has them.
QString RowDetailsText(const SourceItem& item);

class RowDetailsLine : public QLabel {
    Q_OBJECT
  public:
    RowDetailsLine(SourceListView& view, QWidget* parent = nullptr);

  private:
    void Refresh();
    SourceListView& view_;
};

} // namespace vx
