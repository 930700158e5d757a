// The terminal query on both engines.
#include <algorithm>

#include "SubsidyKit.h"
#include "subsidy/BT_Cha_DY.h"
#include "support/FormText.h"

using namespace tolvenk;

namespace {

class TerminalQuery : public test::SubsidyKit<BT_Cha_DY> {
protected:
    test::Texts grid() {
        test::Texts out;
        for (int r = 1; r < w.Grid_Info.Rows(); ++r) {
            std::string line;
            for (int c = 1; c < BT_Cha_DY::colCount; ++c) line += w.Grid_Info.Cell(r, c).Text() + "|";
            out.push_back(line);
        }
        return out;
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(TerminalQuery);

// One row per employee and terminal, by department name and code; deleted
// employees of live departments count; terminals without a Mach_Info row or
// a charging place do not.
TEST_P(TerminalQuery, ListsEachEmployeesTerminals) {
    con->execute("insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values "
                 "(1,21,1),(1,25,2),(2,99,1),(3,0,1),(4,22,1),(5,26,2)");
    w.Load();
    EXPECT_EQ(w.Grid_Info.Column(BT_Cha_DY::colDeptCode).Width(), 0);
    w.Command1.click();  // no department chosen: nothing happens
    EXPECT_EQ(w.Grid_Info.Rows(), 1);
    w.ucDep1.selectDepartment("01");
    w.Command1.click();
    test::Texts rows = grid();
    ASSERT_EQ(rows.size(), 3u);
    std::sort(rows.begin(), rows.begin() + 2);  // one employee's terminals in any order
    EXPECT_EQ(rows, (test::Texts{"张三|1001|食堂|B|一食堂|补贴机A|金额补贴|", "张三|1001|食堂|B|超市|次补贴机|次数补贴|",
                                 "赵六|1004|食堂|B|超市|补贴机B|金额补贴|"}));
    w.ucDep1.setFilters("赵", "", "");
    w.Command1.click();
    EXPECT_EQ(grid(), (test::Texts{"赵六|1004|食堂|B|超市|补贴机B|金额补贴|"}));
    w.ucDep1.selectDepartment("02");
    w.ucDep1.setFilters("", "", "");
    w.Command1.click();
    EXPECT_EQ(grid(), test::Texts{});
}
