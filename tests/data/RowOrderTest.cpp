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
#include "data/DCService.h"
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
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (4,2,'教工卡',0),(3,2,'教工卡二',0);
insert into DC_TeShuRi(ID,TS_Date,TS_Zao) values (2,'2026-06-01',1),(1,'2026-06-01',0);
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
    // One column of a list, on each engine; the two must agree.
    T onBoth(const std::function<T(const std::string& cs)>& read, const char* what) {
        const T inFile = read(file->connectionString()), onServer = read(server->connectionString());
        EXPECT_EQ(inFile, onServer) << what;
        return inFile;
    }
    static T column(const DataList& d, const char* name) {
        T out;
        for (int r = 1; r <= d.rowUBound(); ++r) out.push_back(d(r, d.col(name)));
        return out;
    }
    static T column(db::Recordset& rs, const char* name) {
        T out;
        for (; !rs.eof(); rs.moveNext()) out.push_back(rs.field(name).toString());
        return out;
    }
    template <class S>
    static S service(const std::string& cs) {
        S s;
        s.Set_strCN(cs);
        return s;
    }

    std::unique_ptr<test::BusinessDb> file, server;
};

}  // namespace

TEST_F(RowOrder, ListsForTheCardWindows) {
    EXPECT_EQ(onBoth([](const std::string& cs) {
                  BaseService base;
                  base.Set_LinkStr(cs);
                  Card_Log_Store::Conditions day;
                  day.From = "2026-05-01";
                  day.To = "2026-05-01 24:00:00";
                  return column(*Card_Log_Store::Operations(base, day), "ID");
              }, "card log"),
              (T{"11", "12"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<XFService>(cs).Get_Emp_Check("张三", "", ""), "Pinfo_ID"); },
                     "history's people"),
              (T{"2", "3"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<XFService>(cs).Get_Card_No2("2", ""), "Card_No"); },
                     "history's cards"),
              (T{"C7", "C8"}));
    for (const char* all : {"All", ""}) {
        EXPECT_EQ(onBoth([&](const std::string& cs) { return column(service<XFService>(cs).Get_XF_Info2("2", "C8", all), "ID"); },
                         "IC history"),
                  (T{"21", "22"}));
        EXPECT_EQ(onBoth([&](const std::string& cs) { return column(service<XFService>(cs).Get_XF_Info2_ID("2", "C8", all), "ID"); },
                         "ID history"),
                  (T{"21", "22"}));
    }
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(*service<CardService>(cs).get_IDYuE("", "", ""), "Card_No"); },
                     "balance clearing"),
              (T{"C9", "C7", "C8"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<CardService>(cs).Get_Type(""), "ID"); }, "card types"),
              (T{"3", "4"}));
}

TEST_F(RowOrder, ListsForTheSubsidyMealAndReportWindows) {
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<BTService>(cs).Get_BT_DY("2"), "Mach_Name"); },
                     "an employee's subsidy terminals"),
              (T{"补贴机A", "次补贴机"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<BTService>(cs).Get_Emp_Check("0", "", "", ""), "PInfo_id"); },
                     "employees by department name and code"),
              (T{"2", "3", "1"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<XFService>(cs).Get_Emp_Check2("0", "", ""), "Pinfo_ID"); },
                     "clearing's employees"),
              (T{"1", "2", "3"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<BTService>(cs).Get_Dept_No("", ""), "Dept_ID"); },
                     "statistics' departments"),
              (T{"1", "2", "3", "4"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<BTService>(cs).All_CZ_Name(), "User_ID"); },
                     "statistics' operators"),
              (T{"7", "9"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<DCService>(cs).Select_TS_DC(""), "ID"); },
                     "special days"),
              (T{"1", "2"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(Lookup_Store::Dept_Employees(cs, "0"), "Pinfo_ID"); },
                     "the picker's employees"),
              (T{"2", "3", "1"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(Lookup_Store::Live_Depts(cs), "Dept_Name"); },
                     "the picker's departments"),
              (T{"总部", "总部", "仓库二", "仓库"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(service<BTService>(cs).Get_Year(), "B_Year"); },
                     "the years of the subsidy windows"),
              (T{"2026", "2027"}));
    EXPECT_EQ(onBoth([](const std::string& cs) {
                  return column(service<XFService>(cs).Get_XF_Info7_2("", {}, "2026-05-02", "2026-05-03", 0, 0, 0, 0, "2"), "ID");
              }, "detail"),
              (T{"21", "22"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(*test::connect(cs)->openRecordset(HZ_Report_Sql::Places(false, "")), "XF_Dian_ID"); },
                     "report places"),
              (T{"1", "2"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(*test::connect(cs)->openRecordset(HZ_Report_Sql::Depts()), "Dept_No"); },
                     "report departments"),
              (T{"01", "02", "03", "03"}));
    EXPECT_EQ(onBoth([](const std::string& cs) { return column(*test::connect(cs)->openRecordset(Lookup_Store::Employee_Names_Sql()), "PInfo_Id"); },
                     "detail's names"),
              (T{"1", "2", "3"}));
}
