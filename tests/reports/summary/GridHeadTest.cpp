#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/HzRepDefaults.h"
#include "lang/LangGlobals.h"
#include "lang/Language.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "reports/summary/GridHead.h"
#include "data/HzRepFormat.h"

using namespace tolvenk;

namespace {

class GridHead : public ::testing::Test {
protected:
    void SetUp() override {
        Load_Lan(0);
        grid.setCols(3);  // the window's design
        grid.setRows(5);
        grid.setFixedRows(5);
    }
    // As a selection does: clear, reset, build.
    std::string select(const std::string& name, const std::string& format) {
        const HZ_Rep_Format f = HZ_Rep_Format::fromFormatString(name, format);
        st.Rep_Name = name;
        st.Sub_Head_Row = false;
        Clear_Item_Cols(st);
        Reset_Head_Cols(st);
        return Make_Grid_Head(grid, st, f.P2, f.P3, f.P4, f.P5);
    }
    // Texts of row r from column `from` to the last, joined by "|".
    std::string row(int r, int from, int to = -1) {
        std::string out;
        for (int c = from; c <= (to < 0 ? grid.Cols() - 1 : to); ++c) out += (c > from ? "|" : "") + grid.Cell(r, c).Text();
        return out;
    }
    bool merged(int r1, int c1, int r2, int c2) {
        const auto m = grid.model().mergeAt(r1, c1);
        return m && m->row1 == r1 && m->col1 == c1 && m->row2 == r2 && m->col2 == c2;
    }
    std::vector<int> hidden() {
        std::vector<int> out;
        for (int c = 1; c < grid.Cols(); ++c)
            if (grid.Column(c).Width() == 0) out.push_back(c);
        return out;
    }

    forms::Form window;
    forms::Grid grid{window};
    HzReportState st;
};

}  // namespace

TEST_F(GridHead, EveryBuiltInFormat) {
    struct Family {
        std::vector<int> starts;  // first column of each block, then the column count
        std::string captions, subs, covered;
    };
    const Family cash{{3, 7, 11, 15, 17, 19, 21, 23, 25},
                      "电脑充值|消费机充值|工本费|收入小计|电脑取款|消费机取款|退卡工本费|支出小计",
                      "充值金额|笔数|充次|笔数|充值金额|笔数|充次|笔数|发卡|笔数|换卡|笔数|金额|次|取款金额|笔数|"
                      "取款金额|笔数|退卡|笔数|金额|次",
                      "161,163,5,6,7,8,129,131,162,9,10,130,132,"};
    const Family ledger{{3, 7, 11, 17, 19, 21, 23, 27, 31, 34, 36},
                        "电脑充值|消费机充值|补贴|收入小计|电脑取款|消费机取款|余额作废|补贴清零|消费机消费|支出小计",
                        "充值金额|笔数|充次|笔数|充值金额|笔数|充次|笔数|金额补贴|笔数|转账充值|笔数|次补贴|笔数|金额|次|"
                        "取款金额|笔数|取款金额|笔数|作废金额|笔数|作废次|笔数|清零金额|笔数|清零次|笔数|消费金额|笔数|次数|"
                        "金额|次",
                        "161,163,5,6,7,8,11,173,174,13,162,9,10,175,177,166,168,1,2,3,"};
    const Family consume{{3, 6, 9, 12, 15, 18, 21, 24},
                         "早餐|中餐|晚餐|夜餐|夜宵|其它餐段|消费机消费",
                         "消费金额|笔数|次数|消费金额|笔数|次数|消费金额|笔数|次数|消费金额|笔数|次数|消费金额|笔数|次数|"
                         "消费金额|笔数|次数|消费金额|笔数|次数",
                         "1,2,3,1,2,3,1,2,3,1,2,3,1,2,3,1,2,3,1,2,3,"};
    const Family* families[] = {&cash, &ledger, &consume};
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE("report " + std::to_string(n));
        const Family& f = *families[(n - 1) / 3];
        const bool range = n % 3 == 0;
        EXPECT_EQ(select("title", HZ_Default_Format(n)), "：");  // no grouping
        ASSERT_EQ(grid.Cols(), f.starts.back());
        EXPECT_EQ(grid.FixedCols(), f.starts.front());  // row numbers, date and dimension repeat on paper
        EXPECT_EQ(st.Covered_Types, f.covered);
        // Only the (empty) first-dimension column is hidden.
        EXPECT_EQ(hidden(), std::vector<int>{2});
        EXPECT_EQ(st.Date_Col, range ? 0 : 1);
        EXPECT_EQ(row(3, 1, 1), range ? "" : "日期");
        EXPECT_EQ(merged(3, 1, 4, 1), !range);
        EXPECT_EQ(row(4, 3), f.subs);
        std::string captions;
        for (std::size_t b = 0; b + 1 < f.starts.size(); ++b) {
            captions += (b ? "|" : "") + grid.Cell(3, f.starts[b]).Text();
            EXPECT_TRUE(merged(3, f.starts[b], 3, f.starts[b + 1] - 1)) << f.starts[b];
        }
        EXPECT_EQ(captions, f.captions);
        for (int r = 0; r <= 2; ++r) EXPECT_TRUE(merged(r, 1, r, grid.Cols() - 1));
        EXPECT_EQ(grid.Cell(0, 1).Text(), "title");
        EXPECT_EQ(grid.Row_Height(4), 18);
    }
    // Where the run writes the values.
    EXPECT_EQ(st.Col(hz::Meal_1, hz::Money), 3);
    EXPECT_EQ(st.Col(hz::Meal_Other, hz::Times), 20);
    EXPECT_EQ(st.Col(hz::Consume, hz::Money_Cnt), 22);
    select("cash", HZ_Default_Format(1));
    EXPECT_EQ(st.Col(hz::Meal_1, hz::Money), 0);
    EXPECT_EQ((std::vector<int>{st.Col(hz::PC_Recharge, hz::Times_Cnt), st.Col(hz::Change_Fee, hz::Money), st.Col(hz::Income_Sub, hz::Times),
                                st.Col(hz::Term_Withdraw, hz::Money_Cnt), st.Col(hz::Return_Fee, hz::Money), st.Col(hz::Expense_Sub, hz::Money)}),
              (std::vector<int>{6, 13, 16, 20, 21, 23}));
}

TEST_F(GridHead, LabelColumnsOfTheGroupings) {
    struct Case {
        std::string p2;
        int date, dim1, dim2;
        std::string labels;  // row 3 from column 1 to the first block's
        std::vector<int> hidden;
    };
    const Case cases[] = {
        {"10106", 1, 2, 3, "日期|收费点|部门|电脑充值", {}},
        {"20709", 1, 2, 0, "日期|操作员|电脑充值", {}},
        {"10508", 2, 1, 0, "卡类型|日期|电脑充值", {}},
        {"30508", 0, 1, 0, "卡类型|电脑充值", {}},
        {"30109", 0, 1, 0, "收费点|电脑充值", {}},
        {"30104", 0, 1, 2, "收费点|业主|电脑充值", {}},
        {"30100", 0, 1, 2, "收费点||电脑充值", {2}},
        {"30000", 0, 0, 0, "||电脑充值", {2}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.p2);
        const std::string label = select("r", k.p2 + ";0011;10000000;000000");
        EXPECT_EQ(label, grid.Cell(1, 1).Text() + "：");
        EXPECT_EQ(std::vector<int>({st.Date_Col, st.Dim1_Col, st.Dim2_Col}), std::vector<int>({k.date, k.dim1, k.dim2}));
        EXPECT_EQ(row(3, 1, st.Col(hz::PC_Recharge, hz::Money)), k.labels);
        EXPECT_EQ(hidden(), k.hidden);
        for (int c : {k.date, k.dim1, k.dim2})
            if (c > 0) {
                EXPECT_TRUE(merged(3, c, 4, c)) << c;
            }
        EXPECT_EQ(grid.Cols(), st.Col(hz::PC_Recharge, hz::Money) + 6);  // computer recharge 4 + withdrawal 2
    }
}

TEST_F(GridHead, FlagVariantsOfTheBlocks) {
    // No counts, no times: one column per block, captions merged down.
    select("r", "10000;1100;11000000;000000");
    EXPECT_EQ(row(3, 3), "电脑充值|消费机充值|收入小计|电脑取款|消费机取款|支出小计");
    EXPECT_EQ(row(4, 3), "充值金额|充值金额|金额|取款金额|取款金额|金额");
    EXPECT_TRUE(merged(3, 8, 4, 8));
    EXPECT_FALSE(st.Sub_Head_Row);
    EXPECT_EQ(grid.Row_Height(4), 0);
    EXPECT_EQ(st.Covered_Types, "161,5,6,162,9,10,");

    // Times without counts.
    select("r", "10000;0001;00010000;000000");
    EXPECT_EQ(row(4, 3), "金额补贴|转账充值|次补贴|清零金额|清零次");
    EXPECT_EQ(st.Covered_Types, "11,173,174,13,166,168,");
    EXPECT_EQ(st.Col(hz::Clear, hz::Times), 7);

    // Counts without times; card fees and meal orders.
    select("r", "10000;0010;00011001;000000");
    EXPECT_EQ(st.Covered_Types, "11,173,174,129,131,166,130,132,");
    EXPECT_EQ(row(3, 15), "订餐|");

    // Meal slots follow P5 alone; water transfer.
    select("r", "10000;0000;00000010;010001");
    EXPECT_EQ(row(3, 3), "中餐|其它餐段|水控转款");
    EXPECT_EQ(st.Covered_Types, "1,2,1,2,17,181,");

    // A flag that is not "1" is off.
    select("r", "10000;2222;x2000000;000000");
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(st.Covered_Types, "");
}

TEST_F(GridHead, ARebuildLeavesNothingOfTheEarlierReport) {
    select("by date", "10008;0000;10000000;000000");
    EXPECT_EQ(hidden(), std::vector<int>{1});
    // The run moves the date column of a range report and rebuilds without a selection.
    st.Date_Col = 1;
    const HZ_Rep_Format f = HZ_Rep_Format::fromFormatString("range", "30000;0000;10000000;000000");
    Make_Grid_Head(grid, st, f.P2, f.P3, f.P4, f.P5);
    EXPECT_EQ(st.Date_Col, 0);
    // Column 1 carries the run's total label in range reports: it must show.
    EXPECT_EQ(hidden(), std::vector<int>{2});
    EXPECT_EQ(row(3, 1), "||电脑充值|电脑取款");
    EXPECT_FALSE(grid.model().mergeAt(3, 1).has_value());
}

TEST_F(GridHead, DimensionCaptionsAndTheTypeClause) {
    std::string all;
    for (int code = 0; code <= 9; ++code) all += Dim_Caption(code) + "|";
    EXPECT_EQ(all, "|收费点|收费机|收款员|业主|卡类型|部门|操作员|日期||");
    Load_Lan(1);
    EXPECT_EQ(Dim_Caption(1), "Summary by Charging Place");
    select("r", "10000;1111;10000000;000000");
    EXPECT_EQ(row(4, 3, 6), "Recharge Amount|Sums|Recharge Times|Sums");

    EXPECT_EQ(Covered_Types_Clause("161,163,"), " and XF_Type in(161,163)");
    EXPECT_EQ(Covered_Types_Clause(""), "");
}
