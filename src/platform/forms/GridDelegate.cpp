#include "platform/forms/GridDelegate.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/forms/Colour.h"
#include "platform/forms/GridItemModel.h"

namespace tolvenk::forms {

GridDelegate::GridDelegate(const GridItemModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (colLimit_ >= 0)
        if (const auto m = model_.model().mergeAt(index.row(), index.column()); m && m->col2 >= colLimit_) return;
    if (model_.isTickBox(index.row(), index.column())) paintTickBox(painter, option, index);
    else QStyledItemDelegate::paint(painter, option, index);
    // Right and bottom edge of each cell (or merged block) make the lines.
    painter->save();
    painter->setPen(toQColor(model_.model().gridLineColor));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}

void GridDelegate::paintTickBox(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect indicator = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    QStyleOptionViewItem box = opt;
    // Background (with selection) as any cell, without the indicator at the left.
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    box.rect = QRect(QPoint(0, 0), indicator.size());
    box.rect.moveCenter(option.rect.center());
    box.state &= ~(QStyle::State_On | QStyle::State_Off);
    box.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    if (!(index.flags() & Qt::ItemIsUserCheckable)) box.state &= ~QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    if (!model_.isTickBox(index.row(), index.column()) || !(index.flags() & Qt::ItemIsUserCheckable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* m = static_cast<QMouseEvent*>(event);
        toggle = m->button() == Qt::LeftButton && option.rect.contains(m->position().toPoint());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        if (!toggle) return false;
        break;
    }
    case QEvent::MouseButtonDblClick: return true;  // each release toggles
    default: return false;
    }
    if (!toggle) return true;
    const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    if (!model_.isDropDown(index.row(), index.column()))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    for (const auto& item : model_.model().columnList(index.column())) combo->addItem(QString::fromStdString(item));
    // Picking an item is the whole edit.
    auto* self = const_cast<GridDelegate*>(this);
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [self, combo](int) {
        emit self->commitData(combo);
        emit self->closeEditor(combo);
    });
    QMetaObject::invokeMethod(combo, [combo] { combo->showPopup(); }, Qt::QueuedConnection);
    return combo;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && model_.isDropDown(index.row(), index.column())) {
        combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && model_.isDropDown(index.row(), index.column())) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

}  // namespace tolvenk::forms
