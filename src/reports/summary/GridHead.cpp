#include "reports/summary/GridHead.h"

#include <vector>

#include "data/HzDimCode.h"
#include "data/XfTypeCode.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/forms/Grid.h"
#include "platform/grid/GridModel.h"
#include "data/HzRepFormat.h"

namespace tolvenk {

namespace {

constexpr int LabelWidth = 80;
constexpr int SubHeadHeight = 18;

// Lang numbers of the captions.
constexpr int CapDate = 516, CapSums = 519;

std::string typeList(const std::vector<int>& kinds) {
    std::string out;
    for (int k : kinds) out += std::to_string(k) + ",";
    return out;
}

bool shown(const hz::ItemDef& d, const std::string& P3, const std::string& P4, const std::string& P5) {
    const std::string& part = d.flagPart == '3' ? P3 : d.flagPart == '4' ? P4 : P5;
    return HZ_Rep_Format::flag(part, d.flagIndex);
}

// The items of each block in header order: an item with a block caption
// starts one, the items after it without one join it.
std::vector<std::vector<const hz::ItemDef*>> blocks() {
    std::vector<std::vector<const hz::ItemDef*>> out;
    for (const hz::ItemDef& d : hz::items()) {
        if (d.blockLang != 0 || out.empty()) out.emplace_back();
        out.back().push_back(&d);
    }
    return out;
}

void mergeRows3To4(grid::GridModel& grid, int col) { grid.merge({3, col, 4, col}); }

}  // namespace

std::string Dim_Caption(int code) {
    if (code >= 1 && code <= 6) return L(347 + code);
    if (code == 7) return L(472);
    if (code == HZ_Dim::Date) return L(475);
    return {};
}

void Reset_Head_Cols(HzReportState& st) {
    st.Date_Col = 0;
    st.Dim1_Col = 0;
    st.Dim2_Col = 0;
    st.Item_Col[hz::PC_Recharge] = {};
    st.Next_Col = 3;
}

namespace {

// The label columns of a layout and where the first item block starts.
void Lay_Label_Cols(HzReportState& st, const HZ_Rep_Format& format) {
    const int a = format.dim1(), b = format.dim2();
    const bool range = format.type() == ReportRange;
    // A column the layout does not use is 0 here even when an earlier run
    // moved it: a stale date column would shift every data row.
    st.Date_Col = st.Dim1_Col = st.Dim2_Col = 0;
    if (b != HZ_Dim::Date) {
        if (!range) {
            st.Date_Col = 1;
            st.Dim1_Col = 2;
            if (b != 0 && b != HZ_Dim::None) st.Dim2_Col = 3;
            st.Next_Col = st.Dim2_Col != 0 ? 4 : 3;
        } else if (a == 0) {
            st.Next_Col = 3;  // columns 1 and 2 carry no label
        } else {
            st.Dim1_Col = 1;
            if (b != HZ_Dim::None) st.Dim2_Col = 2;
            st.Next_Col = b != HZ_Dim::None ? 3 : 2;
        }
    } else {
        st.Dim1_Col = 1;
        if (!range) st.Date_Col = 2;
        st.Next_Col = range ? 2 : 3;
    }
}

// Captions and widths of the label columns; the first dimension's caption.
std::string Head_Labels(grid::GridModel& grid, const HzReportState& st, int a, int b) {
    if (st.Date_Col > 0) {
        grid.setColumnWidth(st.Date_Col, LabelWidth);
        mergeRows3To4(grid, st.Date_Col);
        grid.setText(3, st.Date_Col, L(CapDate));
    } else {
        grid.setText(3, 1, "");
    }
    if (st.Dim1_Col == 0) grid.setColumnWidth(st.Date_Col + 2, 0);
    else grid.setColumnWidth(st.Dim1_Col, LabelWidth);
    mergeRows3To4(grid, st.Dim1_Col);
    mergeRows3To4(grid, st.Dim2_Col);

    const std::string c1 = Dim_Caption(a);
    grid.setText(1, 1, c1);
    grid.setText(3, st.Dim1_Col, c1);
    if (st.Dim1_Col > 0) grid.setColumnWidth(st.Dim1_Col, c1.empty() ? 0 : LabelWidth);
    if (b != HZ_Dim::None && b != HZ_Dim::Date) {
        const std::string c2 = Dim_Caption(b);
        grid.setText(3, st.Dim2_Col, c2);
        if (st.Dim2_Col > 0) grid.setColumnWidth(st.Dim2_Col, c2.empty() ? 0 : LabelWidth);
    }
    return c1;
}

// The shown item blocks, each with its money columns first, then its times columns.
void Head_Blocks(grid::GridModel& grid, HzReportState& st, const std::string& P3, const std::string& P4,
                 const std::string& P5) {
    const bool counts = HZ_Rep_Format::flag(P3, 3), times = HZ_Rep_Format::flag(P3, 4);
    for (const auto& block : blocks()) {
        const hz::ItemDef& head = *block.front();
        if (!shown(head, P3, P4, P5)) continue;
        const auto cover = [&](const std::vector<int>& kinds) {
            st.Covered_Types += typeList(kinds);
            st.Covered_Kinds.insert(st.Covered_Kinds.end(), kinds.begin(), kinds.end());
        };
        for (const hz::ItemDef* d : block) cover(d->covered);
        if (times)
            for (const hz::ItemDef* d : block) cover(d->timesCovered);
        st.Block_Captions.clear();
        const auto add = [&](const hz::ItemDef& d, hz::Measure m, int lang) {
            st.Col(d.item, m) = st.Next_Col++;
            st.Block_Captions.push_back(L(lang));
        };
        for (const hz::ItemDef* d : block) {
            add(*d, hz::Money, d->moneyLang);
            if (d->counted && counts) add(*d, hz::Money_Cnt, CapSums);
        }
        for (const hz::ItemDef* d : block) {
            if (d->timesLang == 0 || !times) continue;
            add(*d, hz::Times, d->timesLang);
            if (d->timesCounted && counts) add(*d, hz::Times_Cnt, CapSums);
        }
        Add_Head_Block(grid, st);
        grid.setText(3, st.Block_Start_Col, L(head.blockLang));
        st.Block_Start_Col = static_cast<std::int16_t>(grid.cols());
    }
}

}  // namespace

std::string Make_Grid_Head(grid::GridModel& grid, HzReportState& st, const std::string& P2, const std::string& P3,
                           const std::string& P4, const std::string& P5) {
    st.Covered_Types.clear();
    st.Covered_Kinds.clear();
    st.Next_Col = 1;
    const HZ_Rep_Format format{"", P2, P3, P4, P5};
    Lay_Label_Cols(st, format);

    st.Block_Start_Col = st.Next_Col;
    grid.setFixedCols(st.Block_Start_Col);  // row numbers and labels repeat on printed pages
    if (grid.rows() < HzHeadRows) grid.setRows(HzHeadRows);
    grid.setFixedRows(HzHeadRows);
    // Drops the previous report's columns with their widths, merges and
    // captions, which would otherwise hide or join the new ones.
    grid.setCols(1);
    grid.setCols(st.Next_Col);

    const std::string c1 = Head_Labels(grid, st, format.dim1(), format.dim2());
    Head_Blocks(grid, st, P3, P4, P5);

    for (int r = 0; r <= 2; ++r) grid.merge({r, 1, r, grid.cols() - 1});
    grid.setText(0, 1, st.Rep_Name);
    grid.setRowHeight(4, st.Sub_Head_Row ? SubHeadHeight : 0);
    return c1 + "：";
}

std::string Make_Grid_Head(forms::Grid& grid, HzReportState& st, const std::string& P2, const std::string& P3,
                           const std::string& P4, const std::string& P5) {
    grid.setRedraw(false);
    grid.setCols(1);  // the window's current cell goes back to the first column with the old ones
    const std::string caption = Make_Grid_Head(grid.model(), st, P2, P3, P4, P5);
    grid.setRedraw(true);
    grid.Refresh();
    return caption;
}

std::string Lay_Out_Report(grid::GridModel& grid, HzReportState& st, const HZ_Rep_Format& format) {
    st.Rep_Name = format.Name;
    st.Rep_P2 = format.P2;
    st.Rep_Type = format.P2.substr(0, 1);
    st.Rep_P3 = format.P3;
    st.Sub_Head_Row = false;
    Clear_Item_Cols(st);
    Reset_Head_Cols(st);
    return Make_Grid_Head(grid, st, format.P2, format.P3, format.P4, format.P5);
}

void Add_Head_Block(grid::GridModel& grid, HzReportState& st) {
    const int n = static_cast<int>(st.Block_Captions.size());
    if (n == 0) return;
    const int start = st.Block_Start_Col;
    grid.setCols(grid.cols() + n);
    const int last = grid.cols() - 1;
    for (int i = start; i <= last; ++i) {
        const int k = i - start;
        if (k < 0 || k >= n) throw VbError(9, "Subscript out of range");
        grid.setText(4, i, st.Block_Captions[static_cast<std::size_t>(k)]);
    }
    if (start != last) {
        st.Sub_Head_Row = true;
        grid.merge({3, start, 3, last});
    } else {
        mergeRows3To4(grid, start);
    }
}

std::string Covered_Types_Clause(const std::string& coveredTypes) {
    if (coveredTypes.empty()) return {};
    return " and XF_Type in(" + coveredTypes.substr(0, coveredTypes.size() - 1) + ")";
}

}  // namespace tolvenk
