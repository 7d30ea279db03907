#include "OptionSheetModel.h"

#include <QFont>

namespace vx {

// internalId: 0 for a group, group row + 1 for an item of that group.

OptionSheetModel::OptionSheetModel(OptionSheet& sheet, QObject* parent)
    : QAbstractItemModel(parent), sheet_(sheet) {
    sheet_.SetListener([this](const OptionItem* item) { OnSheetChanged(item); });
}

OptionSheetModel::~OptionSheetModel() {
    sheet_.SetListener(nullptr);
}

void OptionSheetModel::OnSheetChanged(const OptionItem* item) {
    if (!item) {
        beginResetModel();
        endResetModel();
        return;
    }
    const auto& groups = sheet_.Groups();
    for (int g = 0; g < static_cast<int>(groups.size()); ++g)
        for (int i = 0; i < static_cast<int>(groups[g]->items.size()); ++i)
            if (groups[g]->items[i].get() == item) {
                const QModelIndex first = createIndex(i, 0, quintptr(g + 1));
                emit dataChanged(first, createIndex(i, 1, quintptr(g + 1)));
                return;
            }
}

QModelIndex OptionSheetModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column > 1) return {};
    const auto& groups = sheet_.Groups();
    if (!parent.isValid())
        return row < static_cast<int>(groups.size()) ? createIndex(row, column, quintptr(0))
                                                     : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= static_cast<int>(groups.size())) return {};
    if (row >= static_cast<int>(groups[parent.row()]->items.size())) return {};
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex OptionSheetModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0) return {};
    return createIndex(static_cast<int>(child.internalId()) - 1, 0, quintptr(0));
}

int OptionSheetModel::rowCount(const QModelIndex& parent) const {
    const auto& groups = sheet_.Groups();
    if (!parent.isValid()) return static_cast<int>(groups.size());
    if (parent.internalId() != 0 || parent.column() != 0) return 0;
    return static_cast<int>(groups[parent.row()]->items.size());
}

int OptionSheetModel::columnCount(const QModelIndex&) const {
    return 2;
}

const OptionItem* OptionSheetModel::ItemAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == 0) return nullptr;
    const auto& groups = sheet_.Groups();
    const auto g = static_cast<std::size_t>(index.internalId() - 1);
    if (g >= groups.size() || index.row() >= static_cast<int>(groups[g]->items.size()))
        return nullptr;
    return groups[g]->items[index.row()].get();
}

QVariant OptionSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.internalId() == 0) {
        const OptionGroup& group = *sheet_.Groups()[index.row()];
        if (role == Qt::DisplayRole && index.column() == 0)
            return QString::fromStdString(group.caption);
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    const OptionItem* item = ItemAt(index);
    if (!item) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(index.column() == 0 ? item->caption : item->value);
    case Qt::ToolTipRole:
        return QString::fromStdString(item->caption + ": " + item->value);
    case ChoicesRole: {
        QStringList choices;
        for (const auto& choice : item->choices)
            choices << QString::fromStdString(choice);
        return choices;
    }
    case IsChoiceRole:
        return item->kind == ItemKind::Choice;
    default:
        return {};
    }
}

bool OptionSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != 1 || !(flags(index) & Qt::ItemIsEditable))
        return false;
    auto* item = const_cast<OptionItem*>(ItemAt(index));
    return sheet_.SetValue(item, value.toString().toStdString());
}

Qt::ItemFlags OptionSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const OptionItem* item = ItemAt(index);
    if (item && index.column() == 1 && !item->readOnly && item->kind == ItemKind::Choice)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant OptionSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? tr("Property") : tr("Value");
}

QModelIndex OptionSheetModel::ValueIndex(const QString& group, const QString& item) const {
    const auto& groups = sheet_.Groups();
    for (int g = 0; g < static_cast<int>(groups.size()); ++g) {
        if (QString::fromStdString(groups[g]->caption) != group) continue;
        for (int i = 0; i < static_cast<int>(groups[g]->items.size()); ++i)
            if (QString::fromStdString(groups[g]->items[i]->caption) == item)
                return createIndex(i, 1, quintptr(g + 1));
    }
    return {};
}

} // namespace vx
