#include "RowDetailsLine.h"

#include "SourceListView.h"
#include "StreamFormats.h"

#include <QItemSelectionModel>

namespace vx {

QString RowDetailsText(const SourceItem& item) {
    QString text = QString::fromStdString(item.columns[kFileName]);
    const std::string streams = DescribeStreams({item.columns[kFormat], item.audioFormat});
    if (!streams.empty()) text += QStringLiteral(" | ") + QString::fromStdString(streams);
    if (!item.columns[kStatus].empty())
        text += QStringLiteral(" | ") + QString::fromStdString(item.columns[kStatus]);
    if (!item.note.empty())
        text += (item.columns[kStatus].empty() ? QStringLiteral(" | ") : QStringLiteral(": ")) +
                QString::fromStdString(item.note);
    return text;
}

RowDetailsLine::RowDetailsLine(SourceListView& view, QWidget* parent)
    : QLabel(parent), view_(view) {
    setObjectName(QStringLiteral("rowDetails"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::TabFocus);
    QAbstractItemModel* model = view_.model();
    connect(view_.selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RowDetailsLine::Refresh);
    connect(model, &QAbstractItemModel::dataChanged, this, &RowDetailsLine::Refresh);
    connect(model, &QAbstractItemModel::modelReset, this, &RowDetailsLine::Refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RowDetailsLine::Refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, &RowDetailsLine::Refresh);
    Refresh();
}

void RowDetailsLine::Refresh() {
    const QModelIndex current = view_.currentIndex();
    const SourceList& rows = view_.listModel()->list();
    const bool shown = current.isValid() && current.row() < rows.Count();
    setText(shown ? RowDetailsText(rows.Row(current.row())) : QString());
}

} // namespace vx
