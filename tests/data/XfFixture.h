#pragma once
// A small business database whose contents the service tests state by hand.
#include <gtest/gtest.h>

#include "data/Globals.h"
#include "data/XFService.h"
#include "platform/db/DbError.h"
#include "support/TestDb.h"

namespace tolvenk::test {

class XfFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cs = createBusinessDb(dir.file("b.mdb"));
        con = connect(cs);
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
        //        id mach person type meal change new cardLS date                  card err dian unit ci
        rec(1, 11, 1, 1, 2, -500, 9500, 5, "2026-11-01 12:00:00", "C1", 0, 1, 1, 0);
        rec(2, 12, 1, 5, 0, 1000, 10500, 6, "2026-11-02 08:00:00", "C1", 0, 2, 1, 0);
        rec(3, 11, 2, 1, 1, -300, 700, 3, "2026-11-02 08:00:00", "C2", 1, 1, 2, 0);
        rec(4, 11, 3, 250, 0, 0, 50, 9, "2026-11-03 00:00:00", "C3", 0, 1, 1, 0);
        rec(5, 11, 3, 3, 3, 0, 50, 0, "2026-11-03 10:00:00", "C3", 0, 1, 1, -1);
        rec(6, 11, 5, 1, 2, -100, 900, 2, "2026-11-02 09:00:00", "C5", 0, 1, 1, 0);
        rec(7, 11, 1, 1, 1, -200, 10000, 4, "2026-10-31 23:59:59", "C1", 0, 1, 1, 0);
        rec(8, 11, 1, 1, 3, -600, 9900, 7, "2026-11-30 23:59:59", "C1", 0, 1, 1, 0);
    }
    void rec(int id, int mach, int person, int type, int meal, int change, int after, int cardLs, const char* date,
             const char* card, int err, int dian, int unit, int ciChange) {
        con->execute(
            "insert into Record_XF(ID,Mach_ID,Pinfo_id,XF_Type,XF_Meal,YuE_Old,YuE_Change,YuE_New,Card_LiuShui,"
            "Date_Time,Card_No,Err_Code,XF_Dian_ID,XF_Unit,YuCi_Change,Ci_LiuShui) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            {id, mach, person, type, meal, after - change, change, after, cardLs, date, card, err, dian, unit, ciChange,
             ciChange != 0 ? 1 : 0});
    }
    // The ID column of every row of a list, in order.
    static std::vector<std::string> ids(const DataList& d, int col = 0) {
        std::vector<std::string> out;
        for (int r = 1; r <= d.rowUBound(); ++r) out.push_back(d(r, col));
        return out;
    }
    using V = std::vector<std::string>;

    TempDir dir;
    std::string cs;
    std::shared_ptr<db::Connection> con;
    XFService svc;
};

}  // namespace tolvenk::test
