#include "SourceListModel.h"

#include "StreamFormats.h"

#include <QColor>

namespace vx {

SourceListModel::SourceListModel(SourceList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {
    SourceList::Listener listener;
    listener.beforeInsert = [this](int row) { beginInsertRows({}, row, row); };
    listener.afterInsert = [this](int) { endInsertRows(); };
    listener.beforeRemove = [this](int row) { beginRemoveRows({}, row, row); };
    listener.afterRemove = [this](int) { endRemoveRows(); };
    listener.beforeReset = [this] { beginResetModel(); };
    listener.afterReset = [this] { endResetModel(); };
    listener.changed = [this](int row, int column) {
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell);
    };
    list_.SetListener(std::move(listener));
}

SourceListModel::~SourceListModel() {
    list_.SetListener({});
}

int SourceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.Count();
}

int SourceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SourceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.Count()) return {};
    const QString text =
        QString::fromStdString(list_.At(index.row(), static_cast<Column>(index.column())));
    const SourceItem& item = list_.Row(index.row());
    if (role == Qt::DisplayRole)
        return item.Joined() && index.column() == kFileName
                   ? QString::fromStdString(JoinedName(item))
                   : text;
    if (role == Qt::ToolTipRole) { // the whole path, its streams, why its conversion failed
        QString tip = QString::fromStdString(item.columns[kFileName]);
        for (std::size_t part = 1; part < item.parts.size(); ++part)
            tip += QStringLiteral("\n+ ") +
                   QString::fromStdString(item.parts[part].columns[kFileName]);
        const std::string streams = DescribeStreams({item.columns[kFormat], item.audioFormat});
        if (!streams.empty()) tip += QLatin1Char('\n') + QString::fromStdString(streams);
        if (!item.note.empty()) tip += QLatin1Char('\n') + QString::fromStdString(item.note);
        return tip;
    }
    if (role == Qt::ForegroundRole && index.column() == kStatus) {
        if (text == QLatin1String("OK")) return QColor(0x1e, 0x84, 0x49);
        if (text == QLatin1String("Short")) return QColor(0xb9, 0x77, 0x0e); // kept, but cut
        if (text == QLatin1String("Fail") || text == QLatin1String("Cancel") ||
            text == QLatin1String(kUnreadable))
            return QColor(0xc0, 0x39, 0x2b);
    }
    return {};
}

QVariant SourceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumnCount)
        return {};
    return QString::fromLatin1(kColumnCaptions[static_cast<std::size_t>(section)]);
}

} // namespace vx
