#pragma once
#include <QAbstractTableModel>
#include <functional>

#include "platform/grid/GridModel.h"

namespace tolvenk::forms {

// The grid model as Qt sees it. Data are read live from the GridModel; the
// shape Qt knows is only updated by sync(), so a view never asks for rows
// that a burst of changes has not yet announced. With fixedOnly it shows the
// fixed rows alone, for the frozen strip above the scrolling rows.
class GridItemModel : public QAbstractTableModel {
public:
    struct Hooks {
        std::function<bool(int row)> rowSelected;
        // A person changed a cell through a view.
        std::function<void(int row, int col)> edited;
    };

    GridItemModel(grid::GridModel& model, bool fixedOnly, QObject* parent);
    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Announces a new shape when rows or columns changed: rows added below
    // as an insertion, anything else as a reset (true).
    bool sync();
    bool isTickBox(int row, int col) const;
    bool isDropDown(int row, int col) const;
    const grid::GridModel& model() const { return model_; }

private:
    bool live(int row, int col) const;
    bool dataRow(int row) const { return row >= model_.fixedRows(); }

    grid::GridModel& model_;
    bool fixedOnly_;
    Hooks hooks_;
    int rows_ = 0, cols_ = 0;
    int emptied_ = 0;  // the model's refills seen
};

}  // namespace tolvenk::forms
