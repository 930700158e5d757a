#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/grid/RowStore.h"

namespace tolvenk::grid {

// Alignment codes the windows use (all vertically centred).
enum Alignment { AlignDefault = 0, AlignLeft = 6, AlignCenter = 10, AlignRight = 14 };

// What a column's cells are: text, a tick box ("1" ticked, "0" not), or a
// drop-down of fixed texts.
enum class CellKind { Text, TickBox, DropDown };

// Colours as the windows write them: 0x00BBGGRR.
using Colour = std::uint32_t;

struct CellRange {
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
    bool overlaps(const CellRange& o) const {
        return row1 <= o.row2 && o.row1 <= row2 && col1 <= o.col2 && o.col1 <= col2;
    }
};

struct BorderSpec {
    CellRange range;
    int edge;   // 0..3 outer edges, 4 inside vertical, 5 inside horizontal
    int style;  // 1 thin, 2 medium
};

// The grid as data: cells, rows, columns, merges and looks. Row 0 and column
// 0 are ordinary cells (headers and row numbers live there). Everything the
// exports and the page painter need is here; the Qt view only shows it.
class GridModel {
public:
    GridModel();

    int rows() const { return store_.rows(); }
    int cols() const { return cols_; }
    // Fewer rows or columns drop their cells, merges and colours.
    void setRows(int n);
    void setCols(int n);

    std::string text(int r, int c) const;
    // Text that is not valid UTF-8 is kept with U+FFFD for each bad sequence.
    void setText(int r, int c, const std::string& t);
    // The cell's own alignment, else its column's.
    Alignment alignment(int r, int c) const;
    void setAlignment(int r, int c, Alignment a);
    Colour foreColor(int r, int c) const;
    void setForeColor(int r, int c, Colour colour);
    std::optional<Colour> backColor(int r, int c) const;
    void setBackColor(int r, int c, Colour colour);

    // Width in the grid's units (pixels); 0 hides the column.
    int columnWidth(int c) const;
    void setColumnWidth(int c, int w);
    Alignment columnAlignment(int c) const;
    void setColumnAlignment(int c, Alignment a);
    CellKind columnKind(int c) const;
    void setColumnKind(int c, CellKind k);
    bool columnLocked(int c) const;
    void setColumnLocked(int c, bool locked);
    const std::vector<std::string>& columnList(int c) const;
    void setColumnList(int c, std::vector<std::string> items);
    // Widens or narrows a visible column to its longest text; `shown`, when
    // given, is the room a text takes on screen, and the column is never
    // narrower than that.
    void autoFit(int c, const std::function<int(const std::string&)>& shown = {});
    // The same fit a stretch of rows at a time: `between` runs after each
    // stretch of `rowsPerStep` rows and may stop the fit (false), which then
    // leaves the width as it was.
    void autoFit(int c, const std::function<int(const std::string&)>& shown, int rowsPerStep,
                 const std::function<bool()>& between);
    // Several columns fitted in one pass over the rows (a long grid's rows
    // are read once, not once per column); `shown` is told the column.
    void autoFit(const std::vector<int>& columns, const std::function<int(int, const std::string&)>& shown,
                 int rowsPerStep, const std::function<bool()>& between);

    // Height in pixels; 0 hides the row.
    int rowHeight(int r) const;
    // The row was given a height of its own (else it takes the default).
    bool rowHeightSet(int r) const { return heights_.count(r) > 0; }
    // The rows given a height of their own, with it.
    const std::map<int, int>& rowHeightsSet() const { return heights_; }
    void setRowHeight(int r, int h);
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int h);

    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    // The leading label columns (row numbers, dates, names) that printed
    // continuation pages repeat; column 0 alone unless the window says more.
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n);
    // How often the rows were cut back to the fixed rows: each time a new
    // fill starts, which a view shows from the top left.
    int emptied() const { return emptied_; }

    // Joins a block of cells; a block that touches existing ones grows with
    // them into one, so pairwise merges of rows r-1..r make a single block.
    void merge(const CellRange& range);
    const std::vector<CellRange>& merges() const { return merges_; }
    // The merged block a cell belongs to, if any.
    std::optional<CellRange> mergeAt(int r, int c) const;

    void addBorders(const CellRange& range, int edge, int style);
    const std::vector<BorderSpec>& borders() const { return borders_; }

    // Appends a row; text split at Tab fills columns 1, 2, 3...
    void addRow(const std::string& tabText);
    void removeRow(int r);

    // Two alternating background colours of the data rows.
    Colour backColor1 = 0xFFFFFF;
    Colour backColor2 = 0xFFFFFF;
    Colour gridLineColor = 0xC0C0C0;
    Colour selectionColor = 0xA0FFFF;

    // Bytes of cells kept in memory; a longer grid keeps the rest of its
    // rows in a temporary file and reads them back as they are used.
    void setMemoryBudget(std::size_t bytes) { store_.setBudget(bytes); }
    const RowStore& store() const { return store_; }

    // Called after every change while painting is not suspended.
    std::function<void()> changed;
    // Painting suspended (nested): no change notifications until resumed.
    void suspend();
    void resume();
    bool suspended() const { return suspend_ > 0; }

private:
    // A cell's looks, kept once per grid: a million cells share a handful.
    struct Look {
        Alignment alignment = AlignDefault;
        Colour fore = 0;
        std::optional<Colour> back;
        bool operator==(const Look&) const = default;
    };
    const Look& lookOf(int r, int c) const;
    void setLook(int r, int c, const Look& look);
    struct Column {
        int width = 80;
        Alignment alignment = AlignLeft;
        CellKind kind = CellKind::Text;
        bool locked = false;
        std::vector<std::string> list;
    };
    StoredCell& cell(int r, int c);
    const StoredCell& cell(int r, int c) const;
    void checkRow(int r) const;
    void checkCol(int c) const;
    void notify();
    void clipToSize();

    RowStore store_;
    std::vector<Look> looks_{Look{}};
    std::vector<Column> columns_;
    std::map<int, int> heights_;  // rows not at the default height
    std::vector<CellRange> merges_;
    std::vector<BorderSpec> borders_;
    int cols_ = 0;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int emptied_ = 0;
    int defaultRowHeight_ = 22;
    int suspend_ = 0;
};

}  // namespace tolvenk::grid
