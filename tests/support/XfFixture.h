#pragma once
// A small business database whose contents the data-service tests state by hand.
#include <string>
#include <vector>

#include "data/DataList.h"
#include "data/Globals.h"
#include "data/XFService.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

class XfFixture : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        svc.Set_strCN(cs);
        Uncertain_Flag = 2;
        DB_Type = "SQL";
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values
 (1,'01','总部',0,0),(2,'0101','财务',1,0),(3,'02','食堂',0,0),(4,'03','撤销部',0,1),(5,'010101','出纳',2,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (1,2,'0101','张三','E1','N1',0),(2,3,'02','Li Si','E2','N2',0),(3,5,'010101','O''Brien','E3','N3',0),
 (4,1,'01','离职','E4','N4',1),(5,4,'03','王五','E5','N5',0);
)");
        rec().id(1).person(1).type(1).meal(2).before(10000).money(-500).balance(9500).cardSerial(5)
            .date("2026-11-01 12:00:00").card("C1").insert(*con);
        rec().id(2).mach(12).person(1).type(5).meal(0).before(9500).money(1000).balance(10500).cardSerial(6)
            .date("2026-11-02 08:00:00").card("C1").dian(2).insert(*con);
        rec().id(3).person(2).type(1).meal(1).before(1000).money(-300).balance(700).cardSerial(3)
            .date("2026-11-02 08:00:00").card("C2").err(1).unit(2).insert(*con);
        rec().id(4).person(3).type(250).meal(0).before(50).money(0).balance(50).cardSerial(9)
            .date("2026-11-03 00:00:00").card("C3").insert(*con);
        rec().id(5).person(3).type(3).meal(3).before(50).money(0).balance(50).cardSerial(0)
            .date("2026-11-03 10:00:00").card("C3").times(-1).timesSerial(1).insert(*con);
        rec().id(6).person(5).type(1).meal(2).before(1000).money(-100).balance(900).cardSerial(2)
            .date("2026-11-02 09:00:00").card("C5").insert(*con);
        rec().id(7).person(1).type(1).meal(1).before(10200).money(-200).balance(10000).cardSerial(4)
            .date("2026-10-31 23:59:59").card("C1").insert(*con);
        rec().id(8).person(1).type(1).meal(3).before(10500).money(-600).balance(9900).cardSerial(7)
            .date("2026-11-30 23:59:59").card("C1").insert(*con);
    }
    // A row at terminal 11, place 1, owner 1, valid, no times moved; the rest as set.
    static XfRow rec() { return XfRow().mach(11).dian(1).unit(1).err(0).times(0).timesSerial(0); }
    // The ID column of every row of a list, in order.
    static std::vector<std::string> ids(const DataList& d, int col = 0) {
        std::vector<std::string> out;
        for (int r = 1; r <= d.rowUBound(); ++r) out.push_back(d(r, col));
        return out;
    }
    using V = std::vector<std::string>;

    XFService svc;
};

}  // namespace tolvenk::test
