#pragma once
// The property grid that shows the option sheet: groups with their captions,
// each item a caption and a value. A choice item is edited by picking from its
// own list; read-only items cannot be edited.

#include "OptionSheetModel.h"

#include <QStyledItemDelegate>
#include <QTreeView>

namespace vx {

class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class PropertyGrid : public QTreeView {
    Q_OBJECT
  public:
    explicit PropertyGrid(OptionSheet& sheet, QWidget* parent = nullptr);
    OptionSheetModel* sheetModel() const { return model_; }

  private:
    void Relayout();
    OptionSheetModel* model_;
};

} // namespace vx
