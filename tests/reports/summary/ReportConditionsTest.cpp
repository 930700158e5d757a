#include <string>

#include "reports/summary/ReportConditions.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

// Master tables with deleted rows, quotes in values, a card type whose ID
// differs from its kind number, and a department tree.
class ReportConditions : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        Load_Lan(0);
        con->executeScript(R"(
insert into XF_Dian_Info(XF_Dian_ID,XF_Dian_Name,Del_YN) values (1,'一食堂',0),(2,'旧点',1),(4,'O''Hara',0);
insert into Mach_Info(Mach_ID,Mach_Name,Del_YN) values (11,'POS-1',0),(12,'POS-2',0),(13,'旧机',1);
insert into XF_ShouKuan(ID,SK_ID,SK_Name) values (1,'007','王收款'),(2,'0''8','Smith');
insert into XF_Unit_Info(XF_Unit_ID,XF_Unit_Name,Del_YN) values (1,'甲业主',0),(2,'乙业主',0);
insert into Card_Type(ID,C_LeiBie,C_Name,Del_YN) values (1,2,'教师卡',0),(2,1,'  ',0),(3,3,'旧卡',1);
insert into Ren_Dept_Info(Dept_No,Dept_Name,Dept_Level,Del_YN) values
 ('01','总部',0,0),('0101','财务',1,0),('0102','食堂部',1,0),('010101','出纳',2,0),('0103','撤销',1,1);
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (1,'admin',0),(5,'张三',0),(7,'gone',1);
)");
    }
    void build(const std::string& p2, const std::string& from, const std::string& to, int index = 0,
               const std::string& text = "", int itemData = 0) {
        st.Rep_P2 = p2;
        in = {from, to, index, text, itemData};
        Make_Group_Conds(st, in, *con);
    }
    // Field f of every entry, joined by "|".
    static std::string field(const Group_Conds& g, int f) {
        std::string out;
        for (int i = 1; i <= g.UBound(); ++i) out += (i > 1 ? "|" : "") + g(i).field(f);
        return out;
    }
    static bool singleEmpty(const Group_Conds& g) { return g.UBound() == 1 && field(g, 0) + field(g, 1) == ""; }
    long count(const std::string& sql) { return static_cast<long>(test::number(*con, sql)); }

    HzReportState st;
    Cond_Inputs in;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(ReportConditions);

TEST_P(ReportConditions, DaysAndMonths) {
    build("10000", "2024-02-27", "2024-03-02");
    const Group_Conds& g = st.Group_Conds1;
    EXPECT_EQ(field(g, 0), "2024-02-27|2024-02-28|2024-02-29|2024-03-01|2024-03-02");
    EXPECT_EQ(g(3).Cond, "left(Date_Time,10)='2024-02-29'");
    EXPECT_EQ(field(g, 2), field(g, 1));
    EXPECT_EQ(field(g, 3), "left(date_Time,10)>='2024-02-27'||||left(date_Time,10)<='2024-03-02'");
    EXPECT_TRUE(singleEmpty(st.Group_Conds2));
    EXPECT_TRUE(singleEmpty(st.Group_Conds3));
    // The bounds select the period's records and no others.
    for (const char* t : {"2024-02-26 23:59:59", "2024-02-27 00:00:00", "2024-03-02 23:59:59", "2024-03-03 00:00:00"})
        test::XfRow().date(t).insert(*con);
    EXPECT_EQ(count("select count(*) from Record_XF where " + g(1).Bound + " and " + g(5).Bound), 2);

    build("30000", "2024-12-31", "2024-12-31 18:00:00");  // range reports count days
    EXPECT_EQ(field(st.Group_Conds1, 3), "left(date_Time,10)='2024-12-31'");

    build("20000", "2023-11-01", "2024-02-15");
    EXPECT_EQ(field(st.Group_Conds1, 1), "left(Date_Time,7)='2023-11'|left(Date_Time,7)='2023-12'|"
                                         "left(Date_Time,7)='2024-01'|left(Date_Time,7)='2024-02'");
    EXPECT_EQ(field(st.Group_Conds1, 3), "left(date_Time,7)>='2023-11'|||left(date_Time,7)<='2024-02'");
    build("20000", "2024-07-01", "2024-07-31");
    EXPECT_EQ(field(st.Group_Conds1, 3), "left(date_Time,7)='2024-07'");
}

TEST_P(ReportConditions, AReversedOrUnreadablePeriodIsRefused) {
    build("10100", "2024-05-01", "2024-05-02");
    // One day back (which would have given no periods at all) and a month back;
    // with the date inside, the department list would be read first.
    for (const char* to : {"2024-04-30", "2024-03-31"}) {
        st.Rep_P2 = "20608";
        in = {"2024-05-01", to, 0, "", 0};
        EXPECT_THROW(Make_Group_Conds(st, in, *con), Period_Reversed_Error);
    }
    EXPECT_EQ(st.Top_Dept_Name, "");
    EXPECT_EQ(field(st.Group_Conds2, 0), "一食堂|O'Hara");
    // A monthly report's period is whole months: the 20th to the 5th of one
    // month is that month, with the date as either dimension.
    for (const char* p2 : {"20000", "20608"}) {
        build(p2, "2024-05-20", "2024-05-05");
        const Group_Conds& months = std::string(p2) == "20000" ? st.Group_Conds1 : st.Group_Conds2;
        EXPECT_EQ(field(months, 1), "left(Date_Time,7)='2024-05'") << p2;
        EXPECT_EQ(field(months, 3), "left(date_Time,7)='2024-05'") << p2;
    }
    // A daily report over the same dates stays refused.
    st.Rep_P2 = "10000";
    in = {"2024-05-20", "2024-05-05", 0, "", 0};
    EXPECT_THROW(Make_Group_Conds(st, in, *con), Period_Reversed_Error);
    in = {"2024-02-30", "2024-03-01", 0, "", 0};
    try {
        Make_Group_Conds(st, in, *con);
        ADD_FAILURE();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

TEST_P(ReportConditions, ValuesOfEachDimension) {
    build("10102", "2024-05-01", "2024-05-01");
    EXPECT_EQ(field(st.Group_Conds2, 1), "XF_Dian_ID=1|XF_Dian_ID=4");
    EXPECT_EQ(field(st.Group_Conds2, 2), "|");
    EXPECT_EQ(field(st.Group_Conds3, 1), "Mach_ID=11 |Mach_ID=12 ");
    build("10304", "2024-05-01", "2024-05-01");
    EXPECT_EQ(field(st.Group_Conds2, 0), "王收款|Smith");
    EXPECT_EQ(field(st.Group_Conds2, 1), " Shou_Kuan='007'| Shou_Kuan='0''8'");
    EXPECT_EQ(field(st.Group_Conds3, 1), " XF_Unit= 1| XF_Unit= 2");
    build("10507", "2024-05-01", "2024-05-01");
    EXPECT_EQ(field(st.Group_Conds2, 0), "教师卡|普通卡");
    EXPECT_EQ(field(st.Group_Conds2, 2), "C_LeiBie=2|C_LeiBie=1");
    EXPECT_EQ(field(st.Group_Conds3, 0), "admin|张三");
    EXPECT_EQ(field(st.Group_Conds3, 2), "Operator_id=1|Operator_id=5");
    EXPECT_EQ(field(st.Group_Conds3, 3), "Operator_id in(1,5)|");

    // Without records: no entries, except one empty entry for cashiers.
    con->executeScript("delete from XF_ShouKuan; delete from XF_Dian_Info;");
    build("10103", "2024-05-01", "2024-05-01");
    EXPECT_FALSE(st.Group_Conds2.Dimensioned());
    EXPECT_THROW(st.Group_Conds2(1), VbError);
    EXPECT_TRUE(singleEmpty(st.Group_Conds3));
}

TEST_P(ReportConditions, AChosenValueNarrowsTheFirstDimensionOnly) {
    build("10201", "2024-05-01", "2024-05-01", 1, "POS-1", 11);
    EXPECT_EQ(Mach_List_Sql(st, in), "select * from Mach_Info where Mach_Name='POS-1' and Del_YN=0 order by Mach_ID");
    EXPECT_EQ(field(st.Group_Conds2, 0), "POS-1");
    EXPECT_EQ(Place_List_Sql(st, in), "select * from XF_Dian_Info where Del_YN=0 order by XF_Dian_ID");
    EXPECT_EQ(st.Group_Conds3.UBound(), 2);

    build("10100", "2024-05-01", "2024-05-01", 2, "O'Hara", 4);
    EXPECT_EQ(Place_List_Sql(st, in), "select * from XF_Dian_Info where XF_Dian_Name='O''Hara' and Del_YN=0 order by XF_Dian_ID");
    EXPECT_EQ(field(st.Group_Conds2, 1), "XF_Dian_ID=4");
    st.Rep_P2 = "10300";
    EXPECT_EQ(Cashier_List_Sql(st, in), "select * from XF_ShouKuan where SK_Name='O''Hara' order by ID");
    st.Rep_P2 = "10400";
    EXPECT_EQ(Unit_List_Sql(st, in), "select * from XF_Unit_Info where XF_Unit_Name='O''Hara' and Del_YN=0 order by XF_Unit_ID");
    st.Rep_P2 = "10700";
    EXPECT_EQ(Operator_List_Sql(st, in), "select * from Sys_User_Info where User_Name='O''Hara' and Del_YN=0 order by User_ID");

    // The common card is kind 1, whatever the ID of its row.
    build("10500", "2024-05-01", "2024-05-01", 2, "普通卡", 1);
    EXPECT_EQ(Card_Type_List_Sql(st, in), "select * from Card_Type where C_LeiBie=1 and Del_YN=0 order by ID");
    EXPECT_EQ(field(st.Group_Conds2, 0) + " " + field(st.Group_Conds2, 1), "普通卡 C_LeiBie=1");
    build("10500", "2024-05-01", "2024-05-01", 1, "教师卡", 2);
    EXPECT_EQ(Card_Type_List_Sql(st, in), "select * from Card_Type where C_Name='教师卡' and Del_YN=0 order by ID");
}

TEST_P(ReportConditions, DepartmentsCoverTheirSubDepartments) {
    build("10600", "2024-05-01", "2024-05-01");
    EXPECT_EQ(st.Top_Dept_Name, "总部");
    const std::string join = " Record_XF.Pinfo_id=Ren_Per_Info.Pinfo_id and Ren_Per_Info.Dept_No ";
    EXPECT_EQ(field(st.Group_Conds2, 0), "财务|食堂部");
    EXPECT_EQ(field(st.Group_Conds2, 1), join + "like '0101%' escape '\\' |" + join + "like '0102%' escape '\\' ");
    con->execute("insert into Ren_Per_Info(Pinfo_ID,Dept_No) values (1,'0101'),(2,'010101'),(3,'0102'),(4,'01')");
    for (int person : {1, 2, 2, 3, 4}) test::XfRow().person(person).insert(*con);
    const std::string from = "select count(*) from Record_XF,Ren_Per_Info where ";
    EXPECT_EQ(count(from + st.Group_Conds2(1).Cond), 3);  // 财务 and 出纳

    // The top department itself: its own people only.
    build("10600", "2024-05-01", "2024-05-01", 3, "总部", 1);
    EXPECT_EQ(Dept_List_Sql(st, in, *con),
              "select Dept_No,Dept_Name from Ren_Dept_Info where Dept_Name='总部' and Dept_Level=0 and Del_YN=0 "
              "order by Dept_ID");
    EXPECT_EQ(count(from + st.Group_Conds2(1).Cond), 1);
    build("10600", "2024-05-01", "2024-05-01", 1, "财务", 2);
    EXPECT_EQ(field(st.Group_Conds2, 0), "财务");

    // As second dimension the top department is not read.
    st.Top_Dept_Name = "财务";
    build("20106", "2024-05-01", "2024-05-01");
    EXPECT_EQ(st.Group_Conds3(1).Cond, join + "= '0101'");
}

TEST_P(ReportConditions, DateAsSecondDimensionAndOtherCodes) {
    build("20508", "2024-01-10", "2024-03-01");
    EXPECT_EQ(field(st.Group_Conds1, 0), "教师卡|普通卡");
    EXPECT_EQ(field(st.Group_Conds2, 0), "2024-01|2024-02|2024-03");
    EXPECT_TRUE(singleEmpty(st.Group_Conds3));
    EXPECT_FALSE(Make_Dim_Conds(9, st, in, *con).Dimensioned());
    st.Rep_P2 = "40000";
    EXPECT_FALSE(Make_Dim_Conds(0, st, in, *con).Dimensioned());
}
