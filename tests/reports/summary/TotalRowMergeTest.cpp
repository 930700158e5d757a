// The label cells the summary report's total row joins, for every layout of
// its label columns and both ways a run closes: after its loops (daily and
// monthly reports with data) or at once (range reports, an empty period).
#include <string>
#include <vector>

#include "reports/summary/XF_Cha_HZ.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class TotalRowMerge : public test::WindowOf<XF_Cha_HZ> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'0102','食堂部',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,Del_YN) values (1,2,'0101','张三',0),(2,3,'0102','李四',0);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,1,'',0),(2,2,'教师卡',0);
)");
        const auto tx = [&](const char* at, int person, int kind, int type, int money) {
            test::XfRow().date(at).person(person).kind(kind).type(type).meal(0).money(money).times(0).err(0).insert(*con);
        };
        tx("2026-07-01 08:00:00", 1, 1, 161, 10000);
        tx("2026-07-01 09:00:00", 2, 2, 5, 2000);
        tx("2026-07-02 08:00:00", 1, 2, 161, 500);
        tx("2026-07-02 09:00:00", 2, 1, 9, -100);
    }
    void run(const std::string& name, const std::string& from, const std::string& to) {
        if (!w.Loaded()) {
            w.Load();
            w.Form_Activate();
        }
        for (int i = 0; i < w.List1.ListCount(); ++i)
            if (w.List1.List(i) == name) w.List1.setListIndex(i);
        ASSERT_EQ(w.List1.List(w.List1.ListIndex()), name);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    // "at c, c1-c2": the total row's caption column and the columns its block
    // joins; "at c" when the caption cell stands alone.
    std::string totalBlock() {
        for (int r = 5; r < w.Grid1.Rows(); ++r)
            for (int c = 1; c <= 3; ++c) {
                if (w.Grid1.Cell(r, c).Text() != "总计：") continue;
                const auto m = w.Grid1.model().mergeAt(r, c);
                const std::string at = "at " + std::to_string(c);
                if (!m) return at;
                if (m->row1 != r || m->row2 != r) return at + ", joined over rows";
                return at + ", " + std::to_string(m->col1) + "-" + std::to_string(m->col2);
            }
        return "no total";
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(TotalRowMerge);

// Columns by layout: daily or monthly with two dimensions 1 date, 2 and 3
// the dimensions; with the date second 1 the first dimension, 2 the date;
// with one dimension 1 date, 2 the dimension; a range report 1 and 2 the
// dimensions, or nothing without a first one. After the loops the block runs
// from the date over every dimension; closing at once (a range report, an
// empty period) it runs from the date to the first dimension only, so a range
// report's caption stands alone and an empty period's leaves out the second
// dimension.
TEST_P(TotalRowMerge, TheTotalRowJoinsItsLabelColumnsByLayoutAndClosing) {
    const char* const formats[][3] = {{"101", "卡类部门日报", "10506"}, {"102", "卡类部门月报", "20506"},
                                      {"103", "部门日期日报", "10608"}, {"104", "部门日报", "10609"},
                                      {"105", "卡类部门汇总", "30506"}, {"106", "总汇总", "30009"}};
    for (const auto& f : formats) test::addReportFormat(*con, f[0], f[1], f[2], "1111", "11001000", "000000");
    const struct {
        const char *name, *from, *to, *block;
    } cases[] = {
        {"卡类部门日报", "2026-07-01", "2026-07-02", "at 1, 1-3"},
        {"卡类部门月报", "2026-07-01", "2026-07-31", "at 1, 1-3"},
        {"部门日期日报", "2026-07-01", "2026-07-02", "at 1, 1-2"},
        {"部门日报", "2026-07-01", "2026-07-02", "at 1, 1-2"},
        {"卡类部门汇总", "2026-07-01", "2026-07-02", "at 1"},
        {"总汇总", "2026-07-01", "2026-07-02", "at 1"},
        {"卡类部门日报", "2026-08-02", "2026-08-03", "at 1, 1-2"},
        {"部门日期日报", "2026-08-02", "2026-08-03", "at 1, 1-2"},
        {"部门日报", "2026-08-02", "2026-08-03", "at 1, 1-2"},
    };
    for (const auto& k : cases) {
        sv->boxes.clear();
        run(k.name, k.from, k.to);
        EXPECT_TRUE(sv->boxes.empty()) << k.name << ": " << sv->lastPrompt();
        EXPECT_EQ(totalBlock(), k.block) << k.name << " from " << k.from;
    }
}
