#include "PropertyGrid.h"

#include <QComboBox>
#include <QHeaderView>

namespace vx {

QWidget* ChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex& index) const {
    if (!index.data(OptionSheetModel::IsChoiceRole).toBool()) return nullptr;
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("choiceEditor"));
    combo->addItems(index.data(OptionSheetModel::ChoicesRole).toStringList());
    // Commit as soon as the user picks, so the sheet always holds what is shown.
    connect(combo, QOverload<int>::of(&QComboBox::activated), this,
            [this, combo] { emit const_cast<ChoiceDelegate*>(this)->commitData(combo); });
    return combo;
}

void ChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) return;
    // A value that is none of the choices leaves the list without a current entry.
    combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString(), Qt::MatchExactly));
}

void ChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0) return;
    if (combo->currentText() != index.data(Qt::EditRole).toString())
        model->setData(index, combo->currentText(), Qt::EditRole);
}

QSize ChoiceDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), 26));
    return size;
}

PropertyGrid::PropertyGrid(OptionSheet& sheet, QWidget* parent)
    : QTreeView(parent), model_(new OptionSheetModel(sheet, this)) {
    setModel(model_);
    setItemDelegate(new ChoiceDelegate(this));
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    connect(model_, &QAbstractItemModel::modelReset, this, &PropertyGrid::Relayout);
    Relayout();
}

void PropertyGrid::Relayout() {
    for (int row = 0; row < model_->rowCount(); ++row)
        setFirstColumnSpanned(row, {}, true);
    expandAll();
}

} // namespace vx
