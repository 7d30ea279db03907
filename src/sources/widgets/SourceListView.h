#pragma once
// The list view of the source files: report style, files can be dropped on it.

#include "SourceListModel.h"

#include <QFontMetrics>
#include <QRegion>
#include <QTreeView>

namespace vx {

// A full path to fit a width: the file name whole, the folder elided in its middle.
QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

class SourceListView : public QTreeView {
    Q_OBJECT
  public:
    explicit SourceListView(SourceList& list, QWidget* parent = nullptr);
    SourceListModel* listModel() const { return model_; }
    // The selected row (the current one when several are), or -1.
    int SelectedRow() const;
    // Every selected row, in list order.
    std::vector<int> SelectedRows() const;

  signals:
    // Local files dropped on the list, in the order the drop carries them.
    void filesDropped(const QStringList& paths);
    void rightButtonPressed(const QPoint& globalPosition);
    // The Delete key, to remove the selected row.
    void deletePressed();

  protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The narrow columns as wide as their widest texts; the file name takes the rest.
    void FitColumns();

    SourceListModel* model_;
    QRegion painting_; // what the paint event under way paints
};

} // namespace vx
