#include "reports/summary/GridHead.h"

#include <vector>

#include "data/XfTypeCode.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/forms/Grid.h"
#include "reports/summary/HzRepFormat.h"

namespace tolvenk {

namespace {

constexpr int LabelWidth = 80;
constexpr int SubHeadHeight = 18;
constexpr int DimDate = 8;
constexpr int DimNone = 9;

// Lang numbers of the captions.
constexpr int CapDate = 516, CapSums = 519;

// When a sub-column is present: always, or with the count and/or times flags.
enum class Need { Always, Count, Times, CountTimes };

struct SubCol {
    int lang;
    Need need;
    std::int32_t* col;
};

struct Block {
    bool on;
    int lang;
    std::vector<int> covered;
    std::vector<int> timesCovered;  // added only with the times flag
    std::vector<SubCol> subs;
};

std::string typeList(const std::vector<int>& kinds) {
    std::string out;
    for (int k : kinds) out += std::to_string(k) + ",";
    return out;
}

// The item blocks in header order: income side 1-5, expense side 6-20.
std::vector<Block> blocks(HzReportState& s, const std::string& P3, const std::string& P4, const std::string& P5) {
    using namespace XF_Type_Code;
    const auto p3 = [&](int k) { return HZ_Rep_Format::flag(P3, k); };
    const auto p4 = [&](int k) { return HZ_Rep_Format::flag(P4, k); };
    std::vector<Block> b = {
        {p4(1), 505, {PcRecharge}, {PcTimesRecharge},
         {{518, Need::Always, &s.PC_Recharge_Col}, {CapSums, Need::Count, &s.PC_Recharge_Cnt_Col},
          {520, Need::Times, &s.PC_Recharge_Times_Col}, {CapSums, Need::CountTimes, &s.PC_Recharge_Times_Cnt_Col}}},
        {p4(2), 507, {Recharge, RechargeCancel}, {TimesRecharge, TimesRechargeCancel},
         {{518, Need::Always, &s.Term_Recharge_Col}, {CapSums, Need::Count, &s.Term_Recharge_Cnt_Col},
          {520, Need::Times, &s.Term_Recharge_Times_Col},
          {CapSums, Need::CountTimes, &s.Term_Recharge_Times_Cnt_Col}}},
        {p4(4), 492, {Subsidy, TransferRecharge, TransferRechargeId}, {TimesSubsidy},
         {{521, Need::Always, &s.Subsidy_Col}, {CapSums, Need::Count, &s.Subsidy_Cnt_Col},
          {522, Need::Always, &s.Transfer_Recharge_Col}, {CapSums, Need::Count, &s.Transfer_Recharge_Cnt_Col},
          {523, Need::Times, &s.Subsidy_Times_Col}, {CapSums, Need::CountTimes, &s.Subsidy_Times_Cnt_Col}}},
        {p4(5), 493, {IssueCard, ReportLoss}, {},
         {{524, Need::Always, &s.Issue_Fee_Col}, {CapSums, Need::Count, &s.Issue_Fee_Cnt_Col},
          {525, Need::Always, &s.Change_Fee_Col}, {CapSums, Need::Count, &s.Change_Fee_Cnt_Col}}},
        {p3(1), 484, {}, {}, {{526, Need::Always, &s.Income_Sub_Col}, {527, Need::Times, &s.Income_Sub_Times_Col}}},
        {p4(1), 529, {PcWithdraw}, {},
         {{528, Need::Always, &s.PC_Withdraw_Col}, {CapSums, Need::Count, &s.PC_Withdraw_Cnt_Col}}},
        {p4(2), 530, {Withdraw, WithdrawCancel}, {},
         {{528, Need::Always, &s.Term_Withdraw_Col}, {CapSums, Need::Count, &s.Term_Withdraw_Cnt_Col}}},
        {p4(3), 550, {VoidBalance}, {VoidTimes},
         {{543, Need::Always, &s.Void_Col}, {CapSums, Need::Count, &s.Void_Cnt_Col},
          {544, Need::Times, &s.Void_Times_Col}, {CapSums, Need::CountTimes, &s.Void_Times_Cnt_Col}}},
        {p4(4), 545, {SubsidyClear}, {TimesSubsidyClear},
         {{546, Need::Always, &s.Clear_Col}, {CapSums, Need::Count, &s.Clear_Cnt_Col},
          {547, Need::Times, &s.Clear_Times_Col}, {CapSums, Need::CountTimes, &s.Clear_Times_Cnt_Col}}},
        {p4(5), 548, {ReturnCard, ForceReturn}, {},
         {{549, Need::Always, &s.Return_Fee_Col}, {CapSums, Need::Count, &s.Return_Fee_Cnt_Col}}},
    };
    for (int k = 1; k <= 6; ++k) {
        const auto i = static_cast<std::size_t>(k);
        // Slots 1..5 are the meals of XF_Meal_Code (Lang 533..537), 6 the other periods.
        b.push_back({HZ_Rep_Format::flag(P5, k), k <= XF_Meal_Code::Count ? 532 + k : XF_Meal_Code::OtherSlotLang,
                     {Consume, ConsumeCancel}, {TimesConsume},
                     {{531, Need::Always, &s.Meal_Col[i]}, {CapSums, Need::Count, &s.Meal_Cnt_Col[i]},
                      {532, Need::Times, &s.Meal_Times_Col[i]}}});
    }
    b.push_back({p4(6), 551, {Consume, ConsumeCancel}, {TimesConsume},
                 {{531, Need::Always, &s.Consume_Col}, {CapSums, Need::Count, &s.Consume_Cnt_Col},
                  {532, Need::Times, &s.Consume_Times_Col}}});
    b.push_back({p4(7), 538, {WaterTransfer, PcWaterTransfer}, {},
                 {{539, Need::Always, &s.Water_Col}, {CapSums, Need::Count, &s.Water_Cnt_Col}}});
    b.push_back({p4(8), 496, {}, {},
                 {{540, Need::Always, &s.Meal_Order_Col}, {CapSums, Need::Count, &s.Meal_Order_Cnt_Col}}});
    b.push_back({p3(2), 541, {}, {},
                 {{526, Need::Always, &s.Expense_Sub_Col}, {527, Need::Times, &s.Expense_Sub_Times_Col}}});
    return b;
}

void mergeRows3To4(forms::Grid& grid, int col) { grid.Range(3, col, 4, col).Merge(); }

}  // namespace

std::string Dim_Caption(int code) {
    if (code >= 1 && code <= 6) return L(347 + code);
    if (code == 7) return L(472);
    if (code == DimDate) return L(475);
    return {};
}

void Reset_Head_Cols(HzReportState& st) {
    st.Date_Col = 0;
    st.Dim1_Col = 0;
    st.Dim2_Col = 0;
    st.PC_Recharge_Col = 0;
    st.PC_Recharge_Cnt_Col = 0;
    st.PC_Recharge_Times_Col = 0;
    st.PC_Recharge_Times_Cnt_Col = 0;
    st.Next_Col = 3;
}

std::string Make_Grid_Head(forms::Grid& grid, HzReportState& st, const std::string& P2, const std::string& P3,
                           const std::string& P4, const std::string& P5) {
    grid.setRedraw(false);
    st.Covered_Types.clear();
    st.Next_Col = 1;

    const HZ_Rep_Format format{"", P2, P3, P4, P5};
    const int a = format.dim1(), b = format.dim2();
    const bool range = format.type() == ReportRange;

    // Label columns. A column the layout does not use is 0 here even when an
    // earlier run moved it: a stale date column would shift every data row.
    st.Date_Col = st.Dim1_Col = st.Dim2_Col = 0;
    if (b != DimDate) {
        if (!range) {
            st.Date_Col = 1;
            st.Dim1_Col = 2;
            if (b != 0 && b != DimNone) st.Dim2_Col = 3;
            st.Next_Col = st.Dim2_Col != 0 ? 4 : 3;
        } else if (a == 0) {
            st.Next_Col = 3;  // columns 1 and 2 carry no label
        } else {
            st.Dim1_Col = 1;
            if (b != DimNone) st.Dim2_Col = 2;
            st.Next_Col = b != DimNone ? 3 : 2;
        }
    } else {
        st.Dim1_Col = 1;
        if (!range) st.Date_Col = 2;
        st.Next_Col = range ? 2 : 3;
    }

    st.Block_Start_Col = st.Next_Col;
    grid.setFixedCols(st.Block_Start_Col);  // row numbers and labels repeat on printed pages
    if (grid.Rows() < HzHeadRows) grid.setRows(HzHeadRows);
    grid.setFixedRows(HzHeadRows);
    // Drops the previous report's columns with their widths, merges and
    // captions, which would otherwise hide or join the new ones.
    grid.setCols(1);
    grid.setCols(st.Next_Col);

    if (st.Date_Col > 0) {
        grid.Column(st.Date_Col).setWidth(LabelWidth);
        mergeRows3To4(grid, st.Date_Col);
        grid.Cell(3, st.Date_Col).setText(L(CapDate));
    } else {
        grid.Cell(3, 1).setText("");
    }
    if (st.Dim1_Col == 0) grid.Column(st.Date_Col + 2).setWidth(0);
    else grid.Column(st.Dim1_Col).setWidth(LabelWidth);
    mergeRows3To4(grid, st.Dim1_Col);
    mergeRows3To4(grid, st.Dim2_Col);

    const std::string c1 = Dim_Caption(a);
    grid.Cell(1, 1).setText(c1);
    grid.Cell(3, st.Dim1_Col).setText(c1);
    if (st.Dim1_Col > 0) grid.Column(st.Dim1_Col).setWidth(c1.empty() ? 0 : LabelWidth);
    if (b != DimNone && b != DimDate) {
        const std::string c2 = Dim_Caption(b);
        grid.Cell(3, st.Dim2_Col).setText(c2);
        if (st.Dim2_Col > 0) grid.Column(st.Dim2_Col).setWidth(c2.empty() ? 0 : LabelWidth);
    }

    const bool counts = HZ_Rep_Format::flag(P3, 3), times = HZ_Rep_Format::flag(P3, 4);
    const auto present = [&](Need n) {
        switch (n) {
        case Need::Always: return true;
        case Need::Count: return counts;
        case Need::Times: return times;
        case Need::CountTimes: return counts && times;
        }
        return false;
    };
    for (const Block& block : blocks(st, P3, P4, P5)) {
        if (!block.on) continue;
        st.Covered_Types += typeList(block.covered);
        if (times) st.Covered_Types += typeList(block.timesCovered);
        st.Block_Captions.clear();
        for (const SubCol& sub : block.subs) {
            if (!present(sub.need)) continue;
            *sub.col = st.Next_Col++;
            st.Block_Captions.push_back(L(sub.lang));
        }
        Add_Head_Block(grid, st);
        grid.Cell(3, st.Block_Start_Col).setText(L(block.lang));
        st.Block_Start_Col = static_cast<std::int16_t>(grid.Cols());
    }

    for (int r = 0; r <= 2; ++r) grid.Range(r, 1, r, grid.Cols() - 1).Merge();
    grid.Cell(0, 1).setText(st.Rep_Name);
    grid.setRow_Height(4, st.Sub_Head_Row ? SubHeadHeight : 0);
    grid.setRedraw(true);
    grid.Refresh();
    return c1 + "：";
}

void Add_Head_Block(forms::Grid& grid, HzReportState& st) {
    const int n = static_cast<int>(st.Block_Captions.size());
    if (n == 0) return;
    const int start = st.Block_Start_Col;
    grid.setCols(grid.Cols() + n);
    const int last = grid.Cols() - 1;
    for (int i = start; i <= last; ++i) {
        const int k = i - start;
        if (k < 0 || k >= n) throw VbError(9, "Subscript out of range");
        grid.Cell(4, i).setText(st.Block_Captions[static_cast<std::size_t>(k)]);
    }
    if (start != last) {
        st.Sub_Head_Row = true;
        grid.Range(3, start, 3, last).Merge();
    } else {
        mergeRows3To4(grid, start);
    }
}

std::string Covered_Types_Clause(const std::string& coveredTypes) {
    if (coveredTypes.empty()) return {};
    return " and XF_Type in(" + coveredTypes.substr(0, coveredTypes.size() - 1) + ")";
}

}  // namespace tolvenk
