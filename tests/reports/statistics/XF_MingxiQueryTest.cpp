#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "MingxiFixture.h"

using namespace tolvenk;

namespace {

class MingxiQuery : public test::MingxiFixture {
protected:
    // The kinds of the rows shown, by the distinct time each kind was booked at.
    std::multiset<int> kinds() {
        std::multiset<int> out;
        for (int r = 1; r <= w.Detail_Rows; ++r) out.insert(kindAt.at(cell(r, 3)));
        return out;
    }
    std::map<std::string, int> kindAt;
    using K = std::multiset<int>;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MingxiQuery);

TEST_P(MingxiQuery, ChoicesAreCheckedBeforeAnythingRuns) {
    add(tx(1).money(-100).date("2026-11-02 00:00:00"));
    w.Load();
    w.chkErr.setValue(forms::vbUnchecked);
    w.Command1.click();  // no department: silent, but the flag is set
    EXPECT_EQ(Uncertain_Flag, 1);
    EXPECT_TRUE(sv->boxes.empty());
    query("01", 1);
    ASSERT_EQ(w.Grid1.Rows(), 3);

    period("2026-11-02 00:00:01", "2026-11-02 00:00:00");
    w.Command1.click();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "提示:日期选择错误!");
    EXPECT_EQ(sv->boxes[0].style, platform::vbExclamation);
    EXPECT_EQ(sv->boxes[0].title, "提示");

    w.optType(3).setValue(true);
    for (int i : {12, 13, 14, 15, 16}) w.chkType(i).setValue(forms::vbUnchecked);
    period("2026-11-01 00:00:00", "2026-11-30 23:59:59");
    w.Command1.click();
    ASSERT_EQ(sv->boxes.size(), 2u);
    EXPECT_EQ(sv->boxes[1].prompt, "提示:请选择消费类型");
    EXPECT_EQ(sv->boxes[1].style, platform::vbInformation);
    EXPECT_EQ(w.Grid1.Rows(), 3);  // the previous result stays
    EXPECT_FALSE(w.Frame1.Visible());

    // Equal start and end: that one second is queried.
    w.optType(1).setValue(true);
    period("2026-11-02 00:00:00", "2026-11-02 00:00:00");
    w.Command1.click();
    EXPECT_EQ(w.Detail_Rows, 1);
}

TEST_P(MingxiQuery, EachGroupQueriesTheKindsOfItsTickedBoxes) {
    const int all[] = {1, 2, 3, 5, 6, 7, 9, 11, 13, 15, 16, 17, 48, 129, 161, 162, 163, 166, 168,
                       169, 170, 171, 172, 173, 174, 175, 177, 179, 181, 201, 202, 250};
    int s = 10;
    for (int type : all) {
        const std::string at = "2026-11-10 12:00:" + std::to_string(s++);
        kindAt[at] = type;
        add(tx(type).date(at));
    }
    w.Load();
    for (int i = 1; i <= 4; ++i) w.chkType(i).setValue(forms::vbChecked);
    query("01", 1);
    EXPECT_EQ(w.Type_Codes, (std::vector<std::string>{"1", "201", "3", "15", "16", "48", "2", "179"}));
    EXPECT_EQ(w.Type_Count, 8);
    EXPECT_EQ(kinds(), (K{1, 201, 3, 15, 16, 48, 2, 179}));
    for (int i : {5, 7, 8, 9, 10}) w.chkType(i).setValue(forms::vbUnchecked);
    query("01", 2);
    EXPECT_EQ(kinds(), (K{161, 202}));
    query("01", 3);
    EXPECT_EQ(kinds(), (K{11, 13, 166, 168, 173, 174}));
    query("01", 4);
    EXPECT_EQ(kinds(), (K{175, 172, 171, 170, 169, 177}));
    query("01", 0);  // whatever the boxes say
    EXPECT_EQ(w.Type_Count, 0);
    K expected(std::begin(all), std::end(all));
    expected.erase(250);
    EXPECT_EQ(kinds(), expected);
}

TEST_P(MingxiQuery, PeriodBoundsAreInclusiveWhetherOrNotUncertainRecordsShow) {
    for (const char* at : {"2026-10-31 23:59:59", "2026-11-01 00:00:00", "2026-11-30 23:59:59", "2026-12-01 00:00:00"})
        add(tx(1).money(-1).date(at));
    add(tx(1).money(-1).date("2026-11-15 08:00:00").err(1));
    w.Load();
    w.chkErr.setValue(forms::vbUnchecked);
    query("01", 1);
    EXPECT_EQ(column(3), (S{"2026-11-01 00:00:00", "2026-11-30 23:59:59"}));
    for (int v : {forms::vbChecked, forms::vbGrayed}) {
        w.chkErr.setValue(v);
        query("01", 1);
        EXPECT_EQ(column(3), (S{"2026-11-01 00:00:00", "2026-11-15 08:00:00", "2026-11-30 23:59:59"})) << v;
    }
}

TEST_P(MingxiQuery, DepartmentPathTakesTheSubtreeItsFiltersAndTheListsChoices) {
    add(tx(5).money(100).date("2026-11-03 08:00:00"));
    add(tx(1).money(-100).date("2026-11-03 08:00:00"));  // same second: by kind
    add(tx(1).date("2026-11-02 08:00:00").person(2));
    add(tx(1).date("2026-11-04 08:00:00").person(3).mach(12).dian(3).unit(2));
    add(tx(1).date("2026-11-05 08:00:00").person(4));
    query("01", 0);
    EXPECT_FALSE(w.Emp_Path);
    EXPECT_EQ(column(8), (S{"消费", "充值", "消费"}));
    EXPECT_EQ(column(10), (S{"张三", "张三", "O'Brien"}));
    EXPECT_EQ(row(3)[11], "财务");

    query("01", 0, "O'Brien");
    EXPECT_EQ(column(10), (S{"O'Brien"}));
    query("01", 0, "三");  // contained
    EXPECT_EQ(w.Detail_Rows, 2);
    query("01", 0, "", "E");  // the code must be exact
    EXPECT_EQ(w.Detail_Rows, 0);
    query("01", 0, "", "", "N");  // the number is contained
    EXPECT_EQ(w.Detail_Rows, 3);

    for (forms::ComboBox* list : {&w.Combo4, &w.Combo5, &w.Combo3}) {
        list->setListIndex(2);  // 充值机 12, 二食堂 3, 外包 2
        query("01", 0);
        EXPECT_EQ(column(10), (S{"O'Brien"}));
        list->setListIndex(0);
    }
}

TEST_P(MingxiQuery, PerPersonPathFindsOnePersonExactlyOrNobody) {
    for (int p : {1, 2, 3, 4, 6}) add(tx(1).date("2026-11-0" + std::to_string(p) + " 08:00:00").person(p));
    query("u", 1);
    EXPECT_TRUE(w.Emp_Path);  // lowest id 1 of six rows
    // Everybody's records whatever their department, named from the person set.
    EXPECT_EQ(column(10), (S{"张三", "李四", "O'Brien", "王五", ""}));
    EXPECT_EQ(row(4)[11], "撤销部");

    query("u", 1, "O'Brien");
    EXPECT_EQ(column(10), (S{"O'Brien"}));
    query("u", 1, "", "E2");
    EXPECT_EQ(column(10), (S{"李四"}));
    query("u", 1, "", "", "N4");
    EXPECT_EQ(column(10), (S{"王五"}));

    // A name nobody has exactly lists nobody: the empty grid with its total.
    for (const char* name : {"张", "x' or '1'='1"}) {
        query("u", 1, name);
        EXPECT_EQ(w.Detail_Rows, 0) << name;
        ASSERT_EQ(w.Grid1.Rows(), 2);
        EXPECT_EQ(row(1), (S{"", "", "合计消费:", "￥0.00", "合计次数:", "0 次", "合计笔数:", "0 笔", "", "", "", "", ""}));
    }

    query("0101", 1);
    EXPECT_FALSE(w.Emp_Path);
    Conn_Main->execute("delete from Ren_Per_Info where Pinfo_ID<>1");  // one row, id 1: in step
    query("u", 1);
    EXPECT_FALSE(w.Emp_Path);
}

TEST_P(MingxiQuery, WithoutThePersonSetThePerPersonPathStillRuns) {
    add(tx(1).person(1));
    auto conn = std::exchange(Conn_Main, nullptr);
    w.Load();
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].prompt, "读取数据表失败!");
    EXPECT_EQ(w.Rs_Emp, nullptr);
    Conn_Main = conn;
    query("u", 1);
    EXPECT_EQ(column(10), (S{""}));
    query("u", 1, "张三");
    EXPECT_EQ(w.Detail_Rows, 0);
}

TEST_P(MingxiQuery, AFailingQueryPutsTheTimeoutPanelAndButtonBack) {
    w.Load();
    Conn_Main->execute("drop table Record_XF");
    w.ucDep1.selectDepartment("01");
    EXPECT_ANY_THROW(w.Command1.click());
    EXPECT_EQ(Extra_Timeout, 0);
    EXPECT_FALSE(w.Frame1.Visible());
    EXPECT_TRUE(w.Command1.Enabled());
}

TEST_P(MingxiQuery, TheFillYieldsEveryHundredRowsWithTheButtonOffAndStopsWhenClosed) {
    for (int i = 1; i <= 250; ++i) {
        char at[32];
        std::snprintf(at, sizeof at, "2026-11-10 %02d:%02d:00", i / 60, i % 60);
        add(tx(1).money(-100).date(at));
    }
    std::vector<std::vector<int>> seen;  // button on, panel shown, timeout, bar at each yield
    sv->onYield = [&] {
        seen.push_back({w.Command1.Enabled(), w.Frame1.Visible(), Extra_Timeout, w.Bar1.Value()});
        w.Command1.click();  // no second query starts inside the first
    };
    query("01", 1);
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{0, 1, 0, 100}, {0, 1, 0, 200}}));
    ASSERT_EQ(w.Grid1.Rows(), 252);
    EXPECT_EQ(cell(251, 4), "￥250.00");
    EXPECT_EQ(cell(251, 8), "250 笔");
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_FALSE(w.Frame1.Visible());

    sv->onYield = [&] { w.cmdExit.click(); };
    EXPECT_NO_THROW(query("01", 1));
    EXPECT_FALSE(w.Loaded());
}

// The installation may add columns to its tables: every column is read by
// name, so a new one at the end moves nothing on screen.
TEST_P(MingxiQuery, ColumnsAddedToTheTablesChangeNothingShown) {
    add(tx(5).money(1000).balance(3000).date("2026-11-02 08:00:00").person(3).mach(11));
    add(tx(1).money(-250).balance(2750).date("2026-11-03 12:00:00").person(1).dian(3).unit(2));
    Conn_Main->executeScript("alter table Record_XF add column Site_Note TEXT;"
                             "alter table Mach_Info add column Site_Note TEXT;"
                             "update Record_XF set Site_Note='x'; update Mach_Info set Site_Note='y';");
    query("01", 0);
    ASSERT_EQ(w.Detail_Rows, 2);
    EXPECT_EQ(row(1), (S{"一号机", "一食堂", "2026-11-02 08:00:00", "￥10.00", "", "￥30.00", "", "充值", "膳食科", "O'Brien",
                         "E3", "财务", ""}));
    EXPECT_EQ(row(2), (S{"一号机", "二食堂", "2026-11-03 12:00:00", "￥2.50", "", "￥27.50", "", "消费", "外包", "张三",
                         "E1", "财务", ""}));
}

// A NUL pasted into a filter is refused there, with a beep, and the query
// runs on what the box held; a tab is searched for as it is.
TEST_P(MingxiQuery, ANulInAFilterIsRefusedAndATabIsMatchedLiterally) {
    con->execute("update Ren_Per_Info set P_Name='O''\tBrien' where P_Name='O''Brien'");
    add(tx(1).date("2026-11-04 08:00:00").person(3));
    add(tx(1).date("2026-11-05 08:00:00").person(1));
    query("01", 0, std::string("O'\tBrien"));
    EXPECT_EQ(column(10), (S{"O'\tBrien"}));
    const int beeps = sv->beeps;
    query("01", 0, std::string("O'\0Brien", 8));
    EXPECT_EQ(sv->beeps, beeps + 1);
    EXPECT_EQ(w.ucDep1.txtName.Text(), "O'\tBrien");
    EXPECT_TRUE(sv->boxes.empty()) << sv->lastPrompt();
    EXPECT_EQ(column(10), (S{"O'\tBrien"}));
}
