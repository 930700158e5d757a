#pragma once
// The employee statistics window on a small business database whose people
// and transactions the tests state by hand.
#include <string>
#include <vector>

#include "data/Globals.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "support/Fixtures.h"
#include "support/XfRow.h"

namespace tolvenk::test {

class EmployeeStatsFixture : public WindowOf<XF_Cha_HZ_Ren> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-07-15 09:30:00";
        Op_User_Name = "admin";
        // Listed by department name, then code: 保卫 (6), 财务 (1, 2), 食堂 (3, 5);
        // department 0104 is deleted, so person 4 is never listed.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Dept_Level,Del_YN) values
 (1,'01','总部','D1',0,0),(2,'0101','财务','D11',1,0),(3,'0102','食堂','D12',1,0),(4,'0103','保卫','D13',1,0),
 (5,'0104','撤销部','D14',1,1);
insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (1,'0101','张三','E1',0),(2,'0101','李四','E2',0),(3,'0102','王五','E3',0),(4,'0104','赵六','E4',0),
 (5,'0102','O''Brien','E5',0),(6,'0103','无名','',0);
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-01',null),('Sys_Config',null,'1');
)");
        const auto tx = [&](int person, const char* at, int type, int meal, int money, int times = 0) {
            XfRow().person(person).date(at).type(type).meal(meal).money(money).times(times).err(0).insert(*con);
        };
        tx(1, "2026-07-01 08:00:00", 161, 0, 10000);    // recharge at the computer
        tx(1, "2026-07-01 11:30:00", 1, 2, -500);       // lunch
        tx(1, "2026-07-01 12:00:00", 3, 2, 0, -1);      // lunch by times
        tx(1, "2026-07-01 13:00:00", 11, 0, 5000);      // a subsidy: not a kind of these statistics
        tx(1, "2026-07-02 07:30:00", 1, 1, -300);       // breakfast
        tx(1, "2026-07-02 18:00:00", 9, 0, -3000);      // withdrawal
        tx(1, "2026-07-02 19:00:00", 2, 3, 100);        // a correction of supper
        tx(1, "2026-08-01 12:00:00", 1, 7, -250);       // meal 7: other
        tx(2, "2026-07-01 12:10:00", 1, 0, -400);       // computer row: other
        tx(2, "2026-07-01 09:00:00", 7, 0, 0, 10);      // times recharge
        tx(2, "2026-07-31 23:59:59", 181, 0, -1500);    // water transfer
        tx(3, "2026-06-30 23:59:59", 1, 2, -700);
        tx(3, "2026-07-02 12:00:00", 201, 2, -200);     // profit-loss consumption
        tx(4, "2026-07-01 12:00:00", 1, 2, -9900);
        tx(5, "2026-09-01 12:00:00", 1, 1, -100);
        tx(6, "2026-09-01 12:00:00", 1, 2, -600);
        tx(6, "2026-09-02 12:00:00", 1, 2, -800);
    }

    // Mode 0 day, 1 month, 2 period; then the summary button.
    void run(int mode, const std::string& from, const std::string& to, const std::string& dept = "01",
             const std::string& name = "") {
        if (!w.Loaded()) w.Load();
        w.ucDep1.selectDepartment(dept);
        w.ucDep1.setFilters(name, "", "");
        w.Option1(mode).setValue(true);
        w.DTPicker1.setValue(from);
        w.DTPicker2.setValue(to);
        w.Command1.click();
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // Columns from..to of a row.
    std::vector<std::string> cells(int r, int from = 1, int to = 25) {
        std::vector<std::string> out;
        for (int c = from; c <= to; ++c) out.push_back(cell(r, c));
        return out;
    }
    // The columns a person can see.
    std::vector<int> shown() {
        std::vector<int> out;
        for (int c = 1; c < w.Grid1.Cols(); ++c)
            if (w.Grid1.Column(c).Width() > 0) out.push_back(c);
        return out;
    }
    using S = std::vector<std::string>;
};

}  // namespace tolvenk::test
