// The same rows in a file and on a server come back in the same order from
// every statement that lists them for a window: rows that tie on the order
// a list is sorted by (one second, one name, one code) follow their keys.
// Each table is written higher key first, so the physical order is not the
// keys' order.
#include <functional>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/BaseService.h"
#include "data/CardLogStore.h"
#include "data/CardService.h"
#include "data/HzReportSql.h"
#include "data/LookupStore.h"
#include "data/XFService.h"
#include "platform/db/Recordset.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

using T = test::Texts;

const char* const kRows = R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Dept_Level,Del_YN) values
 (4,'03','仓库','D',1,0),(3,'03','仓库二','C',1,0),(2,'02','总部','B',1,0),(1,'01','总部','A',1,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values
 (3,2,'02','张三','E1',0),(2,1,'01','张三','E1',0),(1,1,'01','李四','E2',0);
insert into Card_Info(ID,Pinfo_id,Card_No,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,Card_Type) values
 (7,2,'C8',1,0,500,0,1),(6,2,'C7',1,0,300,0,1),(5,3,'C9',1,0,100,0,1);
insert into Card_Log(ID,Pinfo_id,Card_No,Card_Number,Op_Type,Date_Time) values
 (12,2,'C8','N8',0,'2026-05-01 10:00:00'),(11,2,'C7','N7',0,'2026-05-01 10:00:00');
insert into Record_XF(ID,Pinfo_id,Card_No,XF_Type,YuE_Change,YuCi_Change,Card_LiuShui,Ci_LiuShui,Date_Time,Err_Code,Mach_ID)
 values (22,2,'C8',1,-100,0,0,0,'2026-05-02 12:00:00',0,21),(21,2,'C8',1,-100,0,0,0,'2026-05-02 12:00:00',0,21);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (2,'超市',0),(1,'一食堂',0);
insert into Mach_Info(Mach_ID,Mach_Name,XF_Dian_ID,Del_YN) values (25,'次补贴机',2,0),(21,'补贴机A',1,0);
insert into BuTie_DuiYing(ID,Pinfo_ID,Mach_ID,B_Type) values (2,2,25,2),(1,2,21,1);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (9,'b',0),(7,'a',0);
insert into BuTie_OK(ID,Pinfo_ID,B_Year,B_Month,B_Times,B_SF) values (2,2,2027,1,1,0),(1,2,2026,1,1,0),(3,3,2027,1,1,0);
)";

class RowOrder : public test::KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
        for (auto* db : {&file, &server}) {
            *db = std::make_unique<test::BusinessDb>(db == &file ? test::Engine::File : test::Engine::Server);
            test::connect((*db)->connectionString())->executeScript(kRows);
        }
    }
    // A list's column as one engine gives it.
    using Read = std::function<T(const std::string& cs)>;
    struct Case {
        const char* what;
        Read read;
        T expected;  // by the keys
    };
    void expectAlike(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            const T inFile = c.read(file->connectionString());
            EXPECT_EQ(inFile, c.read(server->connectionString())) << c.what;
            EXPECT_EQ(inFile, c.expected) << c.what;
        }
    }
    static T column(const DataList& d, const char* name) {
        T out;
        for (int r = 1; r <= d.rowUBound(); ++r) out.push_back(d(r, d.col(name)));
        return out;
    }
    static T column(db::Recordset&& rs, const char* name) {
        T out;
        for (; !rs.eof(); rs.moveNext()) out.push_back(rs.field(name).toString());
        return out;
    }
    static Read statement(std::string (*sql)(), const char* name) {
        return [=](const std::string& cs) { return column(std::move(*test::connect(cs)->openRecordset(sql())), name); };
    }
    static XFService xf(const std::string& cs) {
        XFService s;
        s.Set_strCN(cs);
        return s;
    }
    static BTService bt(const std::string& cs) {
        BTService s;
        s.Set_strCN(cs);
        return s;
    }

    std::unique_ptr<test::BusinessDb> file, server;
};

}  // namespace

TEST_F(RowOrder, EveryWindowsListIsAlikeOnBothEngines) {
    expectAlike({
        {"card log",
         [](const std::string& cs) {
             BaseService base;
             base.Set_LinkStr(cs);
             Card_Log_Store::Conditions day;
             day.From = "2026-05-01";
             day.To = "2026-05-01 24:00:00";
             return column(std::move(*Card_Log_Store::Operations(base, day)), "ID");
         },
         {"11", "12"}},
        {"an employee's subsidy terminals", [](const std::string& cs) { return column(bt(cs).Get_BT_DY("2"), "Mach_Name"); },
         {"补贴机A", "次补贴机"}},
        {"employees by department name and code",
         [](const std::string& cs) { return column(bt(cs).Get_Emp_Check("0", "", "", ""), "PInfo_id"); }, {"2", "3", "1"}},
        {"history's people", [](const std::string& cs) { return column(xf(cs).Get_Emp_Check("张三", "", ""), "Pinfo_ID"); },
         {"2", "3"}},
        {"history's cards", [](const std::string& cs) { return column(xf(cs).Get_Card_No2("2", ""), "Card_No"); },
         {"C7", "C8"}},
        {"IC history", [](const std::string& cs) { return column(xf(cs).Get_XF_Info2("2", "C8", "All"), "ID"); },
         {"21", "22"}},
        {"ID history", [](const std::string& cs) { return column(xf(cs).Get_XF_Info2_ID("2", "C8", ""), "ID"); },
         {"21", "22"}},
        {"detail",
         [](const std::string& cs) {
             return column(xf(cs).Get_XF_Info7_2("", {}, "2026-05-02", "2026-05-03", 0, 0, 0, 0, "2"), "ID");
         },
         {"21", "22"}},
        {"balance clearing", [](const std::string& cs) {
             CardService card;
             card.Set_strCN(cs);
             return column(std::move(*card.get_IDYuE("", "", "")), "Card_No");
         },
         {"C9", "C7", "C8"}},
        {"clearing's employees", [](const std::string& cs) { return column(xf(cs).Get_Emp_Check2("0", "", ""), "Pinfo_ID"); },
         {"1", "2", "3"}},
        {"statistics' operators", [](const std::string& cs) { return column(bt(cs).All_CZ_Name(), "User_ID"); },
         {"7", "9"}},
        {"subsidy years", [](const std::string& cs) { return column(bt(cs).Get_Year(), "B_Year"); }, {"2026", "2027"}},
        {"picker's departments", [](const std::string& cs) { return column(Lookup_Store::Live_Depts(cs), "Dept_Name"); },
         {"总部", "总部", "仓库二", "仓库"}},
        {"report places", statement(+[] { return HZ_Report_Sql::Places(false, ""); }, "XF_Dian_ID"), {"1", "2"}},
        {"report departments", statement(&HZ_Report_Sql::Depts, "Dept_No"), {"01", "02", "03", "03"}},
    });
}
