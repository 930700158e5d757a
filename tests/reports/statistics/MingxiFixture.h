#pragma once
// The transaction-detail window on a small business database whose people,
// lists and transactions the tests state by hand.
#include <string>
#include <vector>

#include "data/Globals.h"
#include "lang/Language.h"
#include "reports/statistics/XF_Mingxi.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

class MingxiFixture : public WindowOf<XF_Mingxi> {
protected:
    void SetUp() override {
        WindowOf::SetUp();
        if (IsSkipped()) return;
        sv->clock = "2026-11-20 10:30:00";
        Op_User_Name = "admin";
        // Person 6 has no department, department 03 is deleted, "u" opens the per-person path.
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'02','食堂',0,0),(4,'03','撤销部',0,1),(5,'u','临时工',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (1,'0101','张三','E1','N1',0),(2,'02','李四','E2','N2',0),(3,'0101','O''Brien','E3','N3',0),
 (4,'03','王五','E4','N4',0),(5,'u','赵六','E5','N5',0),(6,'09','孤儿','E6','N6',0);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values
 (11,'一号机',301,0),(12,'充值机',302,0),(13,'门禁机',200,0),(14,'旧机',301,1);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,XF_Dian_Flag) values (1,'一食堂',0),(2,'超市',1),(3,'二食堂',0);
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,XF_Unit_Flag) values (1,'膳食科',0),(2,'外包',0);
insert into Sys_Para(Para_Name,P1,P5) values ('JieSuan_Date','2026-01-01',null),('Sys_Config',null,'1');
)");
    }

    // A valid transaction of that kind by person 1 at terminal 11, place 1 and
    // owner 1 at noon on 10 November, moving nothing until told otherwise.
    static XfRow tx(int type) {
        return XfRow().type(type).mach(11).person(1).money(0).balance(0).times(0).timesLeft(0)
            .date("2026-11-10 12:00:00").err(0).dian(1).unit(1);
    }
    void add(const XfRow& r) { r.insert(*con); }
    // Department, filters, kind group and November 2026, then the query button.
    void query(const std::string& dept, int group, const std::string& name = "", const std::string& code = "",
               const std::string& pnum = "") {
        if (!w.Loaded()) w.Load();
        w.ucDep1.selectDepartment(dept);
        w.ucDep1.setFilters(name, code, pnum);
        w.optType(group).setValue(true);
        period("2026-11-01 00:00:00", "2026-11-30 23:59:59");
        w.Command1.click();
    }
    void period(const std::string& from, const std::string& to) {
        w.DTPicker1(0).setValue(from.substr(0, 10));
        w.DTPicker1(1).setValue(from);
        w.DTPicker2(0).setValue(to.substr(0, 10));
        w.DTPicker2(1).setValue(to);
    }

    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // Columns 1 to 13 of a grid row.
    std::vector<std::string> row(int r) {
        std::vector<std::string> out;
        for (int c = 1; c <= 13; ++c) out.push_back(cell(r, c));
        return out;
    }
    // Column c of every detail row.
    std::vector<std::string> column(int c) {
        std::vector<std::string> out;
        for (int r = 1; r <= w.Detail_Rows; ++r) out.push_back(cell(r, c));
        return out;
    }
    using S = std::vector<std::string>;

};

}  // namespace tolvenk::test
