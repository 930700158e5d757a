#pragma once
#include <QTableView>
#include <functional>
#include <utility>
#include <vector>

#include "platform/forms/GridItemModel.h"
#include "platform/grid/GridModel.h"

namespace tolvenk::forms {

// A table over a GridItemModel that lays itself out from the GridModel:
// widths, heights (0 hides), merges, border lines.
class GridTable : public QTableView {
public:
    explicit GridTable(QWidget* parent);
    // `reshaped`: Qt's model was reset, so spans must be laid again. With
    // `cols` from 0 only the columns before it show (the frozen label strip).
    void applyLayout(const grid::GridModel& model, int rows, bool reshaped, int cols = -1);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    const grid::GridModel* model_ = nullptr;
    std::vector<grid::CellRange> spans_;
    // Rows laid out with a height of their own; every other row keeps the
    // default, so a long grid is laid out without a call per row.
    std::vector<int> customRows_;
    int laidDefault_ = -1;
    // The most rows the vertical header has been laid out for.
    static constexpr int kLongHeader = 65536;
    int headerRows_ = 0;
};

// The grid's Qt face: the scrolling table with frozen strips laid over it,
// the fixed rows along its top and the fixed (label) columns down its left
// side, and their corner over both, so headers and labels stay in view while
// the data scroll under them. A fill that starts again from the fixed rows
// is shown from the top left.
// Changes to the GridModel are shown in one go when the event loop next
// runs, or at once through syncNow().
class GridView : public GridTable {
public:
    struct Hooks {
        // A person moved the current cell.
        std::function<void(int row, int col)> currentChanged;
        std::function<void(int row, int col)> clicked;
        // The first column shown at the left edge changed.
        std::function<void(int col)> leftColChanged;
        // Where the current cell belongs, to put it back after Qt's model resets.
        std::function<std::pair<int, int>()> activeCell;
    };

    GridView(QWidget* parent, grid::GridModel& model);
    void setHooks(GridItemModel::Hooks itemHooks, Hooks hooks);

    void scheduleSync();
    void syncNow();
    // Moves the current cell without telling the hooks.
    void setCurrentQuietly(int row, int col);
    int leftCol() const { return leftCol_; }
    GridTable* frozen() const { return frozen_; }
    GridTable* frozenColumns() const { return frozenCols_; }
    GridTable* frozenCorner() const { return corner_; }

protected:
    void updateGeometries() override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    int frozenHeight() const;
    int frozenWidth() const;
    void placeFrozen();
    GridTable* makeStrip(GridItemModel* items);
    void checkLeftCol();

    grid::GridModel& model_;
    Hooks hooks_;
    // Null until built: the base class may lay out before the body runs.
    GridItemModel* items_ = nullptr;
    GridItemModel* fixedItems_ = nullptr;
    GridTable* frozen_ = nullptr;
    GridTable* frozenCols_ = nullptr;
    GridTable* corner_ = nullptr;
    int seenEmptied_ = 0;
    bool pending_ = false;
    bool quiet_ = false;
    int leftCol_;
};

}  // namespace tolvenk::forms
