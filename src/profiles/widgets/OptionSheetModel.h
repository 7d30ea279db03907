#pragma once
// The option sheet as a two-column tree model: groups at the top level, their
// items below, captions in column 0 and values in column 1.

#include "OptionSheet.h"

#include <QAbstractItemModel>

namespace vx {

class OptionSheetModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    enum Role { ChoicesRole = Qt::UserRole + 1, IsChoiceRole };

    explicit OptionSheetModel(OptionSheet& sheet, QObject* parent = nullptr);
    ~OptionSheetModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The index of an item's value cell, or an invalid index.
    QModelIndex ValueIndex(const QString& group, const QString& item) const;
    const OptionItem* ItemAt(const QModelIndex& index) const;

  private:
    void OnSheetChanged(const OptionItem* item);
    OptionSheet& sheet_;
};

} // namespace vx
