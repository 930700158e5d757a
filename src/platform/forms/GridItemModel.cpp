#include "platform/forms/Dispatch.h"
#include "platform/forms/GridItemModel.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <algorithm>

#include "platform/forms/Colour.h"

namespace tolvenk::forms {

GridItemModel::GridItemModel(grid::GridModel& model, bool fixedOnly, QObject* parent)
    : QAbstractTableModel(parent), model_(model), fixedOnly_(fixedOnly) {
    sync();
}

int GridItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int GridItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

bool GridItemModel::sync() {
    const int rows = fixedOnly_ ? std::min(model_.fixedRows(), model_.rows()) : model_.rows();
    const bool refilled = model_.emptied() != emptied_;
    emptied_ = model_.emptied();
    if (rows == rows_ && model_.cols() == cols_) return false;
    // Rows added below the same columns: a reset would have the views lay
    // out every row again, which on a long fill costs more at each step.
    if (rows > rows_ && rows_ > 0 && model_.cols() == cols_ && !refilled) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
        return false;
    }
    beginResetModel();
    rows_ = rows;
    cols_ = model_.cols();
    endResetModel();
    return true;
}

bool GridItemModel::live(int row, int col) const {
    return row >= 0 && col >= 0 && row < model_.rows() && col < model_.cols();
}

bool GridItemModel::isTickBox(int row, int col) const {
    return live(row, col) && dataRow(row) && model_.columnKind(col) == grid::CellKind::TickBox;
}

bool GridItemModel::isDropDown(int row, int col) const {
    return live(row, col) && dataRow(row) && model_.columnKind(col) == grid::CellKind::DropDown;
}

QVariant GridItemModel::data(const QModelIndex& index, int role) const {
    const int r = index.row(), c = index.column();
    if (!live(r, c)) return {};
    switch (role) {
    case Qt::DisplayRole:
        if (isTickBox(r, c)) return {};
        [[fallthrough]];
    case Qt::EditRole: return QString::fromStdString(model_.text(r, c));
    case Qt::CheckStateRole:
        if (!isTickBox(r, c)) return {};
        return model_.text(r, c) == "1" ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        const grid::Alignment a = model_.alignment(r, c);
        const Qt::Alignment h = a == grid::AlignCenter ? Qt::AlignHCenter
                                : a == grid::AlignRight ? Qt::AlignRight
                                                        : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole: return toQColor(model_.foreColor(r, c));
    case Qt::BackgroundRole:
        if (dataRow(r) && hooks_.rowSelected && hooks_.rowSelected(r)) return toQColor(model_.selectionColor);
        if (auto own = model_.backColor(r, c)) return toQColor(*own);
        if (!dataRow(r)) return QApplication::palette().color(QPalette::Button);
        return toQColor((r - model_.fixedRows()) % 2 == 0 ? model_.backColor1 : model_.backColor2);
    default: return {};
    }
}

Qt::ItemFlags GridItemModel::flags(const QModelIndex& index) const {
    const int r = index.row(), c = index.column();
    if (!live(r, c)) return Qt::NoItemFlags;
    if (!dataRow(r)) return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (model_.columnLocked(c)) return f;
    return f | (isTickBox(r, c) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool GridItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int r = index.row(), c = index.column();
    if (!(flags(index) & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable))) return false;
    std::string text;
    if (role == Qt::CheckStateRole && isTickBox(r, c)) text.assign(1, value.toInt() == Qt::Checked ? '1' : '0');
    else if (role == Qt::EditRole && !isTickBox(r, c)) text = value.toString().toStdString();
    else return false;
    if (text == model_.text(r, c)) return true;
    model_.setText(r, c, text);
    emit dataChanged(index, index);
    if (hooks_.edited) dispatch([&] { hooks_.edited(r, c); });
    return true;
}

}  // namespace tolvenk::forms
