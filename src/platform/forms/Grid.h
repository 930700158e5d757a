#pragma once
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/forms/Control.h"
#include "platform/grid/GridExport.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/PageSetup.h"

class QTableView;

namespace tolvenk::forms {

class GridView;

namespace detail {
// Built before the Control base, which is handed the view that shows it.
struct GridData {
    grid::GridModel model_;
};
}  // namespace detail

// The grid control: a GridModel the windows fill through the members below,
// shown by a Qt table. Sizes are in the grid's pixels; rows and columns count
// from 0, row 0 and column 0 being ordinary cells.
class Grid : private detail::GridData, public Control {
public:
    explicit Grid(Form& form);

    class CellRef {
    public:
        std::string Text() const;
        void setText(const std::string& t) const;
        // 6 left, 10 centre, 14 right; others are error 380.
        int Alignment() const;
        void setAlignment(int code) const;
        Colour ForeColor() const;
        void setForeColor(Colour c) const;
        void setBackColor(Colour c) const;

    private:
        friend class Grid;
        CellRef(grid::GridModel& m, int r, int c) : m_(m), r_(r), c_(c) {}
        grid::GridModel& m_;
        int r_, c_;
    };

    class ColumnRef {
    public:
        // 0 hides the column.
        int Width() const;
        void setWidth(int w) const;
        int Alignment() const;
        void setAlignment(int code) const;
        grid::CellKind CellType() const;
        void setCellType(grid::CellKind k) const;
        bool Locked() const;
        // A person cannot change the column's cells.
        void setLocked(bool v) const;
        // The texts a drop-down column offers.
        void setList(std::vector<std::string> items) const;
        // As wide as its longest text.
        void AutoFit() const;
        // The same fit a stretch of rows at a time, `between` after each
        // (false stops it, the width left as it was).
        void AutoFit(int rowsPerStep, const std::function<bool()>& between) const;

    private:
        friend class Grid;
        ColumnRef(Grid& g, int c) : g_(g), c_(c) {}
        Grid& g_;
        int c_;
    };

    class RangeRef {
    public:
        // Joins the block; it grows with blocks it touches.
        void Merge() const;
        // edge 0..3 left, top, right, bottom; 4 inside vertical, 5 inside
        // horizontal; style 1 thin, 2 medium.
        void setBorders(int edge, int style) const;
        void setBackColor(Colour c) const;
        // Highlights (or not) the range's rows as a whole.
        void setSelected(bool v) const;
        // Every row of the range highlighted.
        bool Selected() const;

    private:
        friend class Grid;
        RangeRef(Grid& g, grid::CellRange r) : g_(g), r_(r) {}
        Grid& g_;
        grid::CellRange r_;
    };

    class ActiveCellRef {
    public:
        int Row() const { return g_.activeRow_; }
        int Col() const { return g_.activeCol_; }
        void setRow(int r) const { g_.setActive_Cell(r, g_.activeCol_); }
        void setCol(int c) const { g_.setActive_Cell(g_.activeRow_, c); }

    private:
        friend class Grid;
        explicit ActiveCellRef(Grid& g) : g_(g) {}
        Grid& g_;
    };

    int Rows() const { return model_.rows(); }
    // Fewer rows drop their cells, merges and highlights.
    void setRows(int n);
    int Cols() const { return model_.cols(); }
    void setCols(int n);
    int FixedRows() const { return model_.fixedRows(); }
    void setFixedRows(int n) { model_.setFixedRows(n); }
    // The leading label columns, which stay in view when the grid scrolls
    // sideways and which printed continuation pages repeat.
    int FixedCols() const { return model_.fixedCols(); }
    void setFixedCols(int n) { model_.setFixedCols(n); }

    CellRef Cell(int r, int c) { return {model_, r, c}; }
    ColumnRef Column(int c);
    RangeRef Range(int r1, int c1, int r2, int c2);

    // Appends a row; text split at Tab fills columns 1, 2, 3... With
    // redraw false the row is shown with the next change or Refresh.
    void Add_Row(const std::string& text, bool redraw = true);
    void RemoveRow(int r);
    int Row_Height(int r) const { return model_.rowHeight(r); }
    // 0 hides the row.
    void setRow_Height(int r, int h) { model_.setRowHeight(r, h); }

    // Every shown column (width 1 or more) fitted as AutoFit does, all in
    // one pass over the rows, `between` after each stretch of rows.
    void AutoFit_Shown(int rowsPerStep, const std::function<bool()>& between);
    // Widens every shown column that is narrower than a text it shows in
    // the grid's font, and the last shown column of a merged block narrower
    // than its text; never narrows one.
    void Widen_To_Text();
    // The room a text takes in a cell of this grid, its margins included.
    int Text_Room(const std::string& text) const;

    bool Redraw() const { return !redrawOff_; }
    // Off: changes pile up unshown until it is on again.
    void setRedraw(bool on);
    // Shows every pending change now.
    void Refresh() override;
    // While drawing is held (a long fill), shows the rows so far now and
    // then: when they have doubled since last shown, or half a second has
    // passed. Drawing stays held. Nothing to do while it is not held.
    void Paint_Held();

    // The current cell; 0, 0 until a person or the code moves it.
    ActiveCellRef Active_Cell() { return ActiveCellRef(*this); }
    // Fires CellChange when the cell differs, as a person's move does.
    void setActive_Cell(int r, int c);
    // The first column showing beside the fixed (label) columns.
    int LeftCol() const;

    // Alternating backs of the data rows, the lines and the highlight.
    void setBackColor1(Colour c);
    void setBackColor2(Colour c);
    void setGridLineColor(Colour c);
    void setSelectionColor(Colour c);

    // Filled by the window before Print_Preview.
    grid::PageSetup& Page_Setup() { return pageSetup_; }
    // `pageDone` hears of each page as it is printed from the preview.
    void Print_Preview(int zoomPercent, const std::function<void(int page, int pages)>& pageDone = {});
    // With an empty name they ask a person for one; false when that is
    // cancelled or the file cannot be written. The page title, when the
    // window set one, is the report's title in the file.
    bool Export_Excel(const std::string& file, bool withFormats = true);
    bool Export_HTML(const std::string& file);
    bool Export_XML(const std::string& file);
    // How the last export ended: a person cancelling the file dialog is no
    // failure to report; a failure carries what the person is told, and
    // the system's reason for support.
    bool ExportCancelled() const { return exportCancelled_; }
    const grid::ExportFailure& ExportError() const { return exportError_; }

    std::function<void(int row, int col)> CellChange;
    std::function<void(int)> Click;
    std::function<void(int row, int col)> CellClick;
    // A person ticked, picked or typed a cell's value.
    std::function<void(int row, int col)> AfterEdit;
    std::function<void(int leftCol)> LeftColChange;

    grid::GridModel& model() { return model_; }
    const grid::GridModel& model() const { return model_; }
    QTableView* view() const;

protected:
    void saveOwnDesign() override;
    void restoreOwnDesign() override;

private:
    // A change the model does not announce (looks kept outside it).
    void touched();
    void showSelectionColour();
    void checkRows(int r1, int r2) const;
    void autoFit(const std::vector<int>& columns, int rowsPerStep, const std::function<bool()>& between);
    using Writer = bool (*)(const grid::GridModel&, const std::string&, const grid::ExportOptions&,
                            grid::ExportFailure*);
    bool exportTo(std::string file, const std::string& filter, const std::vector<std::string>& extensions,
                  Writer write);

    GridView* view_;
    grid::PageSetup pageSetup_;
    std::set<int> selected_;
    int activeRow_ = 0, activeCol_ = 0;
    bool redrawOff_ = false;
    int heldShownRows_ = 0;
    std::chrono::steady_clock::time_point heldShownAt_{};
    bool exportCancelled_ = false;
    grid::ExportFailure exportError_;
    struct {
        grid::GridModel model;
        grid::PageSetup pageSetup;
        bool redrawOff = false;
    } design_;
};

}  // namespace tolvenk::forms
