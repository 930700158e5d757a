// Which transaction kinds each column of the employee statistics counts, one
// kind at a time: every kind of the query moves a figure of its own, so a
// kind dropped from the query or moved to another column changes a cell.
#include <string>
#include <vector>

#include "data/Globals.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "support/Fixtures.h"
#include "support/FormText.h"
#include "support/XfRow.h"

namespace tolvenk::test {
namespace {

class EmployeeKinds : public WindowOf<XF_Cha_HZ_Ren> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Op_User_Name = "admin";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Dept_Level,Del_YN) values
 (1,'01','总部','D1',0,0),(2,'0101','财务','D11',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,'0101','张三','E1',0),(2,'0101','李四','E2',0);
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-01',null),('Sys_Config',null,'1');
)");
        const auto tx = [&](int person, int type, int meal, int money, int times = 0) {
            XfRow().person(person).date("2026-07-01 10:00:00").type(type).meal(meal).money(money).times(times).err(0)
                .insert(*con);
        };
        // 张三: money consumption 1, 2, 179, 201 (meals 5, 5, 2, none)
        tx(1, 1, 5, -300);
        tx(1, 2, 5, 40);
        tx(1, 179, 2, 150);
        tx(1, 201, 0, -60);
        tx(1, 3, 5, 0, -2);  // times consumption at the late snack
        // recharges 5, 6, 161, 202 and times recharges 7, 8, 163
        tx(1, 5, 0, 10000);
        tx(1, 6, 0, -2000);
        tx(1, 161, 0, 400);
        tx(1, 202, 0, 80);
        tx(1, 7, 0, 0, 16);
        tx(1, 8, 0, 0, -4);
        tx(1, 163, 0, 0, 32);
        // withdrawals 9, 10 and the computer's 162; transfers 17 and 181
        tx(1, 9, 0, -3000);
        tx(1, 10, 0, 1000);
        tx(1, 162, 0, -500);
        tx(1, 17, 0, -120);
        tx(1, 181, 0, -70);
        // none of these statistics: subsidy, computer subsidy, meal order, transfer recharge, settlement
        tx(1, 11, 0, 5000);
        tx(1, 165, 0, 700);
        tx(1, 15, 5, -800);
        tx(1, 174, 0, 300);
        tx(1, 250, 0, -900);
        // 李四: cancellations and a refund alone
        tx(2, 6, 0, -500);
        tx(2, 10, 0, 200);
        tx(2, 179, 5, 90);
        tx(2, 8, 0, 0, -3);
        tx(2, 17, 0, -10);
    }

    void run(int mode, const std::string& from, const std::string& to) {
        if (!w.Loaded()) w.Load();
        w.ucDep1.selectDepartment("01");
        w.Option1(mode).setValue(true);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    std::vector<std::string> cells(int r) { return gridRow(w.Grid1, r, 1, 25); }
};

using S = std::vector<std::string>;

TOLVENK_ON_BOTH_ENGINES(EmployeeKinds);

// 张三: consumption -300+40+150-60 = -170 in 4 records, 2 times; recharge
// 10000-2000+400+80 = 8480; times recharge 16-4+32 = 44; withdrawal
// -3000+1000-500 = -2500, net 5980; meal 2 +150, meal 5 -260 and 2 times,
// other meals -60; transfer -190.
// 李四: consumption +90 in one record at meal 5; recharge -500; times
// recharge -3; withdrawal +200, net -300; transfer -10.
TEST_P(EmployeeKinds, EveryKindCountsInItsColumnsInEachMode) {
    const struct {
        int mode;
        std::string from, to, period;
    } modes[] = {{0, "2026-07-01", "2026-07-01", "2026-07-01"},
                 {1, "2026-07-01", "2026-07-01", "2026-07"},
                 {2, "2026-07-01", "2026-07-01", "2026-07-01 00:00:00"}};
    for (const auto& m : modes) {
        run(m.mode, m.from, m.to);
        ASSERT_EQ(w.Grid1.Rows(), 4) << m.mode;
        EXPECT_EQ(cells(1), (S{"张三", "E1", "财务", "D11", m.period, "1.70", "4", "2", "84.80", "44", "25.00", "59.80",
                               "0.00", "0", "-1.50", "0", "0.00", "0", "0.00", "0", "2.60", "2", "0.60", "0", "1.90"}))
            << m.mode;
        EXPECT_EQ(cells(2), (S{"李四", "E2", "财务", "D11", m.period, "-0.90", "1", "0", "-5.00", "-3", "-2.00",
                               "-3.00", "0.00", "0", "0.00", "0", "0.00", "0", "0.00", "0", "-0.90", "0", "0.00", "0",
                               "0.10"}))
            << m.mode;
        EXPECT_EQ(cells(3), (S{"总计:", "", "", "", "", "0.80", "5", "2", "79.80", "41", "23.00", "56.80", "0.00", "0",
                               "-1.50", "0", "0.00", "0", "0.00", "0", "1.70", "2", "0.60", "0", "2.00"}))
            << m.mode;
    }
}

}  // namespace
}  // namespace tolvenk::test
