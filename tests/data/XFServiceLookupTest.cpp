#include "support/XfFixture.h"

#include <algorithm>

using namespace tolvenk;

namespace {
class XfLookup : public test::XfFixture {
protected:
    void SetUp() override {
        XfFixture::SetUp();
        if (IsSkipped()) return;
        con->executeScript(R"(
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values (11,'一号机',301,0),(12,'充值机',300,0),(13,'旧机',302,1),(14,'水控',400,0),(15,'二号机',399,0);
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'超市',0),(3,'关闭',1);
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,Del_YN) values (1,'后勤',0),(2,'外包',0),(3,'旧',1);
insert into XF_ShouKuan(SK_ID,SK_Name) values ('1','甲'),('2','乙');
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'admin',0),(2,'old',1);
insert into Card_Info(ID,Pinfo_id,C_BianHao,Card_No,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID) values
 (1,1,'B001','C1',0,0,0,0),(2,2,'B002','C2',1,0,5000,10),(3,3,'B003','C3',1,0,800,0);
insert into Card_Log(Pinfo_id,Card_No,Card_Number,Date_Time,Op_Type) values
 (1,'C1','S1','2026-01-02 09:00:00',0),(1,'C1','S1','2026-03-02 09:00:00',1),(1,'C9','S9','2026-02-02 09:00:00',0),
 (2,'C2','S2','2026-01-03 09:00:00',0),(3,'C1','S1','2026-05-01 09:00:00',3),(3,'C1','S1','2026-05-02 09:00:00',3);
)");
    }
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(XfLookup);

TEST_P(XfLookup, PickListsShowLiveRowsOnly) {
    EXPECT_EQ(ids(svc.Get_XF_Machs()), (V{"11", "15"}));  // 300 and 400 are not consumption terminals
    EXPECT_EQ(ids(svc.Get_XF_Dians()), (V{"1", "2"}));
    EXPECT_EQ(ids(svc.Get_Unit("")), (V{"1", "2"}));
    EXPECT_EQ(ids(svc.Get_Unit("2")), (V{"2"}));
    // The injected key returns no row: the file engine finds none, the server
    // refuses to read the text as a number.
    if (onServer()) {
        EXPECT_THROW(svc.Get_Unit("2' or '1'='1"), db::DbError);
    } else {
        EXPECT_EQ(ids(svc.Get_Unit("2' or '1'='1")), V{});
    }
    EXPECT_EQ(ids(svc.Get_ShouKuan(), 2), (V{"甲", "乙"}));
    EXPECT_EQ(ids(svc.Get_Sys_User(), 1), (V{"admin"}));
    EXPECT_EQ(ids(svc.Get_All_Dept1()), (V{"1", "2", "3"}));  // levels 0 and 1, live
}

TEST_P(XfLookup, EmployeeLookups) {
    DataList all = svc.Get_Emp_Check("", "", "");
    ASSERT_EQ(all.colUBound(), 27);
    EXPECT_EQ(all(1, 0), "4");  // deleted employees first
    EXPECT_EQ(all(1, 27), "总部");
    EXPECT_EQ(all.rowUBound(), 5);
    EXPECT_EQ(ids(svc.Get_Emp_Check("O'Brien", "", "")), (V{"3"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check("", "E2", "")), (V{"2"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check("张", "", "")), V{});  // names match exactly
    // A card number keeps its holders, each once, however many log rows they have.
    EXPECT_EQ(ids(svc.Get_Emp_Check("", "", "C1")).size(), 2u);
    EXPECT_EQ(ids(svc.Get_Emp_Check("", "E3", "C1")), (V{"3"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check("", "", "nope")), V{});

    EXPECT_EQ(ids(svc.Get_Emp_Check2("01", "", "")), (V{"1", "3"}));  // live only
    EXPECT_EQ(ids(svc.Get_Emp_Check2("", "E", "i")), (V{"2", "3"}));  // LIKE ignores ASCII case
}

TEST_P(XfLookup, Cards) {
    EXPECT_EQ(svc.Get_Card_BianHao("C2"), "B002");
    EXPECT_EQ(svc.Get_Card_BianHao("none"), "");
    const DataList cards = svc.Get_Card_No2("1", "");
    EXPECT_EQ(ids(cards), (V{"C1", "C9"}));  // issued cards only, by date
    EXPECT_EQ(cards(1, 1), "S1");
    EXPECT_EQ(cards(2, 2), "2026-02-02 09:00:00");
    EXPECT_EQ(ids(svc.Get_Card_No2("1", "C9")), (V{"C9"}));
    auto issued = svc.Cha_KaNo(1);
    EXPECT_EQ(issued->recordCount(), 2);
    EXPECT_EQ(issued->field("Card_No").toString(), "C1");
}

TEST_P(XfLookup, IdBalanceWriters) {
    EXPECT_TRUE(svc.Update_ID_C_J("2", 1500, 3, "2026-12-06 10:00:00"));
    EXPECT_TRUE(svc.Update_ID_C_J("3", -200, -1, "2026-12-06 10:00:01"));  // negative amounts stay valid SQL
    EXPECT_EQ(test::row(*con, "select C_YuE_ID,C_YuCi_ID,ID_YuE_Now from Card_Info where ID=2"),
              (V{"3500", "7", "2026-12-06 10:00:00"}));
    EXPECT_EQ(test::row(*con, "select C_YuE_ID,C_YuCi_ID from Card_Info where ID=3"), (V{"1000", "1"}));

    EXPECT_TRUE(svc.Update_Card_Yu(2, "C2", "C_YuE_ID", 42));
    EXPECT_TRUE(svc.Update_Card_Yu(2, "no card", "C_YuE_ID", 1));  // matches no row: still ran
    EXPECT_EQ(test::number(*con, "select C_YuE_ID from Card_Info where ID=2"), 42);
    EXPECT_THROW(svc.Update_Card_Yu(2, "C2", "C_YuE_ID=0,C_YuCi_ID", 1), db::DbError);
}

TEST_P(XfLookup, BalancesAtATime) {
    auto ic = svc.Cha_YeE(1, "2026-11-02 08:00:00");
    ASSERT_EQ(ic->recordCount(), 1);
    EXPECT_EQ(ic->field("YuE_New").toInt64(), 10500);
    EXPECT_EQ(svc.Cha_YeE(1, "2026-01-01 00:00:00")->recordCount(), 0);
    EXPECT_EQ(svc.Cha_YeE(2, "2026-12-01 00:00:00")->recordCount(), 0);  // its only row is uncertain

    auto id = svc.Cha_YeE_ID_2(1, "2026-11-02 08:00:00");
    ASSERT_EQ(id->recordCount(), 1);
    EXPECT_EQ(id->field("YuE_New").toInt64(), -200 - 500 + 1000);
    EXPECT_EQ(id->field("Date_Time").toString(), "2026-11-02 08:00:00");
    EXPECT_TRUE(svc.Cha_YeE_ID_2(1, "2000-01-01")->field("YuE_New").isNull());

    EXPECT_EQ(svc.Cha_JinE(1, "C1", "5")->field("YuE_C").toInt64(), -700);  // serials 4 and 5
    auto before = svc.Cha_YeE1("1", "C1", "2026-11-02 08:00:00");  // strictly before
    ASSERT_EQ(before->recordCount(), 1);
    EXPECT_EQ(before->field("Card_Liushui").toInt64(), 5);
    EXPECT_THROW(svc.Cha_JinE(1, "C1", "5 or 1=1"), db::DbError);
}

TEST_P(XfLookup, SubsidyRowsOfAMonth) {
    con->executeScript(
        "insert into BuTie_OK(ID,Pinfo_ID,B_JinE,B_Year,B_Month,B_Times,B_SF) values"
        " (1,1,1000,2026,11,1,0),(2,1,-1000,2026,11,-1,0),(3,1,500,2026,10,1,0),(4,2,700,2026,11,1,0);");
    EXPECT_EQ(ids(svc.is_All_bt(1, "2026-11")), (V{"1", "2"}));
    EXPECT_EQ(ids(svc.is_All_bt(1, "2026-10")), (V{"3"}));
}

TEST_P(XfLookup, CardSystemSettlementDateAndReportNames) {
    EXPECT_EQ(svc.Get_is_IC(), 0);  // no Sys_Config row
    con->execute("insert into Sys_Para(Para_Name,P2) values('Sys_Config','1')");
    EXPECT_EQ(svc.Get_is_IC(), 1);
    con->execute("update Sys_Para set P2='3.4' where Para_Name='Sys_Config'");
    EXPECT_EQ(svc.Get_is_IC(), 3);
    // A setting that is no number is refused, not read as an ID system.
    con->execute("update Sys_Para set P2='IC' where Para_Name='Sys_Config'");
    Load_Lan(0);
    try {
        svc.Get_is_IC();
        ADD_FAILURE() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.told());
        EXPECT_NE(std::string(e.what()).find("P2 为“IC”"), std::string::npos) << e.what();
    }

    EXPECT_EQ(svc.JieSuan_Date(), "2008-01-01");
    EXPECT_EQ(svc.JieSuan_Month(), "2008-01-01");
    con->execute("insert into Sys_Para(Para_Name,P1,P2) values('JieSuan_Date','2026-06-15 00:00:00','1')");
    EXPECT_EQ(svc.JieSuan_Date(), "2026-06-15");
    EXPECT_EQ(svc.JieSuan_Month(), "2026-07-01");

    Load_Lan(0);
    EXPECT_EQ(svc.HZ_Rep_Name(1), "现金收支日报表");
    EXPECT_EQ(svc.HZ_Rep_Name(9), "消费统计汇总表");
    EXPECT_EQ(svc.HZ_Rep_Name(0), "");
    EXPECT_EQ(svc.HZ_Rep_Name(10), "");

    EXPECT_EQ(svc.Get_HZ_Rep_Format(4), "10000;1111;11110100;000000");
    EXPECT_EQ(svc.Get_HZ_Rep_Format(10), "");
    con->executeScript(
        "insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5) values"
        " ('HZ_Rep_Format','4','改过的','20000','0011','00000100','111111'),"
        " ('HZ_Rep_Format','010','十号','10010','1111','11111111','000000'),"
        " ('HZ_Rep_Format','101','自定义一','20060','1111','11111111','000000'),"
        " ('HZ_Rep_Format','205','自定义二','30000','1111','11111111','000000');");
    EXPECT_EQ(svc.Get_HZ_Rep_Format(4), "10000;1111;11110100;000000");  // stored "4" is not "004"
    EXPECT_EQ(svc.Get_HZ_Rep_Format(10), "10010;1111;11111111;000000");
    // A text comparison: the stored "4" sorts after "100" and counts; "010" does not.
    DataList custom;
    EXPECT_EQ(svc.HZ_Rep_Name2(custom), 3);
    V numbers = ids(custom);
    std::sort(numbers.begin(), numbers.end());  // no order is asked for
    EXPECT_EQ(numbers, (V{"101", "205", "4"}));
}

TEST_P(XfLookup, IdCardHistoriesCarryTheCardSerial) {
    con->execute("update Card_Info set Card_Number='N-2' where ID=2");
    const auto c2 = [](int id, const char* at) {
        return test::XfRow().id(id).mach(11).person(2).card("C2").date(at).money(0).times(0).cardSerial(0).timesSerial(0)
            .err(0);
    };
    c2(20, "2026-11-10 10:00:00").type(11).money(500).insert(*con);
    c2(21, "2026-11-11 10:00:00").type(7).times(5).insert(*con);
    c2(22, "2026-11-12 10:00:00").type(7).times(3).mach(99).insert(*con);
    c2(23, "2026-11-13 10:00:00").type(1).money(-100).cardSerial(-1).err(1).insert(*con);
    c2(24, "2026-11-14 10:00:00").type(1).money(-100).cardSerial(8).insert(*con);
    const DataList money = svc.Get_XF_Info2_ID("2", "C2", "");
    EXPECT_EQ(ids(money), (V{"20"}));  // the uncertain row 23 and the IC row 24 stay out
    ASSERT_EQ(money.colUBound(), 28);
    EXPECT_EQ(money(1, 28), "N-2");
    EXPECT_EQ(ids(svc.Get_XF_Info2_ID("2", "C2", "All")), (V{"20", "23"}));
    const DataList times = svc.Get_XF_Info3_ID("2", "C2", "");
    EXPECT_EQ(ids(times), (V{"21"}));  // row 22's terminal is unknown
    ASSERT_EQ(times.colUBound(), 29);
    EXPECT_EQ(times(1, 29), "一号机");
    EXPECT_EQ(ids(svc.Get_XF_Info3_ID("", "C2", "")), (V{"21"}));
}
