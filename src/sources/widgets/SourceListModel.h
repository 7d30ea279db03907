#pragma once
// The source list's rows as a table model for the list view.

#include "SourceList.h"

#include <QAbstractTableModel>

namespace vx {

class SourceListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SourceListModel(SourceList& list, QObject* parent = nullptr);
    ~SourceListModel() override;
    const SourceList& list() const { return list_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    SourceList& list_;
};

} // namespace vx
