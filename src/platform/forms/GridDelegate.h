#pragma once
#include <QStyledItemDelegate>

namespace tolvenk::forms {

class GridItemModel;

// Draws the grid lines in the grid's own colour and tick boxes centred in
// their cells (the whole cell toggles them); edits drop-down cells with a list.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(const GridItemModel& model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // For a label strip showing the columns before `cols`: a merged block
    // reaching past them is left to the table beneath, which shows it whole.
    void setColumnLimit(int cols) { colLimit_ = cols; }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintTickBox(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    const GridItemModel& model_;
    int colLimit_ = -1;
};

}  // namespace tolvenk::forms
