#include "SourceListView.h"

#include "NativeNames.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>

namespace vx {

QString ElidePath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    const int room = width - metrics.horizontalAdvance(name);
    if (slash < 0 || room < metrics.horizontalAdvance(QStringLiteral("…/")))
        return metrics.elidedText(name, Qt::ElideRight, width);
    return metrics.elidedText(path.left(slash + 1), Qt::ElideMiddle, room) + name;
}

namespace {

// The widest text each narrow column holds: times of up to 99 hours, frame sizes
// of up to 9999x9999. The format column may be widened.
constexpr std::array<const char*, kColumnCount> kWidestText = {
    "", "00:00:00", "00:00:00", "0000x0000", "FLV1", "", "00:00:00"};
// Every status a row can hold: the column fits the widest in the list's font.
constexpr const char* kStatuses[] = {"Processing", kUnreadable, "Cancel", "Fail", "OK"};

// Paints a cell only where the view is being painted: a row's new status paints
// its own cell, not every cell of its row (the tree view draws whole rows).
class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(const QRegion& painting, QObject* parent)
        : QStyledItemDelegate(parent), painting_(painting) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!painting_.isEmpty() && !painting_.intersects(option.rect)) return;
        QStyledItemDelegate::paint(painter, option, index);
    }

  private:
    const QRegion& painting_; // empty outside the view's paint events: all is painted
};

// Rows of one deep folder would all read the same: the file names stay whole.
class PathDelegate : public CellDelegate {
  public:
    using CellDelegate::CellDelegate;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const int margin =
            2 * (option->widget
                     ? option->widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1
                     : 4);
        option->text = ElidePath(option->text, option->fontMetrics, option->rect.width() - margin);
        option->textElideMode = Qt::ElideNone;
    }
};

} // namespace

SourceListView::SourceListView(SourceList& list, QWidget* parent)
    : QTreeView(parent), model_(new SourceListModel(list, this)) {
    setObjectName(QStringLiteral("lvwAudioTracks"));
    setModel(model_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection); // parts to join
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setItemDelegate(new CellDelegate(painting_, this));
    setItemDelegateForColumn(kFileName, new PathDelegate(painting_, this));
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(40);
    header()->setSectionResizeMode(QHeaderView::Fixed);
    header()->setSectionResizeMode(kFileName, QHeaderView::Stretch);
    header()->setSectionResizeMode(kFormat, QHeaderView::Interactive);
    FitColumns();
}

void SourceListView::FitColumns() {
    const int cell = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int caption = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header()) +
                        style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header());
    for (int column = kStart; column < kColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        int text = fontMetrics().horizontalAdvance(QLatin1String(kWidestText[at])) + cell;
        if (column == kStatus)
            for (const char* status : kStatuses)
                text =
                    std::max(text, fontMetrics().horizontalAdvance(QLatin1String(status)) + cell);
        const int title =
            header()->fontMetrics().horizontalAdvance(QLatin1String(kColumnCaptions[at])) + caption;
        header()->resizeSection(column, std::max(text, title) + 4);
    }
}

int SourceListView::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), {}))
        return current.row();
    return rows.first().row();
}

std::vector<int> SourceListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Every row is one line of text, so a changed cell never changes a row's height:
// the cell is painted again without the tree view measuring its whole row (which
// for the first row it would do on every change, shaping each column's text).
void SourceListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                 const QList<int>& roles) {
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void SourceListView::paintEvent(QPaintEvent* event) {
    painting_ = event->region();
    QTreeView::paintEvent(event);
    painting_ = QRegion();
}

void SourceListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void SourceListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void SourceListView::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << NameFromUrl(url);
    event->acceptProposedAction();
    if (!paths.isEmpty()) emit filesDropped(paths);
}

void SourceListView::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)
        emit deletePressed();
    else if (menuKey) // the pop-up menu at the current row, as a right click opens it
        emit rightButtonPressed(viewport()->mapToGlobal(
            currentIndex().isValid() ? visualRect(currentIndex()).center() : QPoint(8, 8)));
    else
        QTreeView::keyPressEvent(event);
}

// A skin or the desktop may change the font after the columns were fitted.
void SourceListView::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) FitColumns();
}

void SourceListView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        emit rightButtonPressed(event->globalPosition().toPoint());
}

} // namespace vx
