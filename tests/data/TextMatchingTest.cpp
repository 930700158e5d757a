// Text as the installation's engines compare it (without regard to case), LIKE
// patterns that match typed text literally, and the INSERT statement path that
// a file database takes in production.
#include "support/XfFixture.h"
#include "data/BTService.h"
#include "data/BaseService.h"
#include "data/CardService.h"
#include "data/DCService.h"

using namespace tolvenk;

namespace {

class TextMatching : public test::XfFixture {
protected:
    void SetUp() override {
        XfFixture::SetUp();
        if (IsSkipped()) return;
        bt.Set_strCN(cs);
        cards.Set_strCN(cs);
        dc.Set_strCN(cs);
        // "0_" must not stand for "any department starting with 0".
        con->executeScript(R"(
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (6,'0_','下划线部',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values
 (6,6,'0_','a_b','x%1','N6',0),(7,6,'0_','ab','x1','N7',0),(8,6,'0_','[c]','E8','N8',0);
)");
    }
    std::vector<V> rows(const std::string& sql) { return test::rows(*con, sql); }
    BTService bt;
    CardService cards;
    DCService dc;
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(TextMatching);

TEST_P(TextMatching, LikePatternsMatchTypedTextLiterally) {
    EXPECT_EQ(ids(bt.Get_Dept_No("0_", "")), (V{"6"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check2("0_", "", "")), (V{"6", "7", "8"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check2("", "", "_")), (V{"6"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check2("", "", "[c")), (V{"8"}));
    EXPECT_EQ(ids(svc.Get_Emp_Check2("", "%", "")), (V{"6"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check_All("0", "_", "", "")), (V{"6"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check("", "", "%", "")), (V{"6"}));
    EXPECT_EQ(ids(bt.Get_Emp_ByDept("0_")), (V{"6", "7", "8"}));
    const DataList d = svc.Get_XF_Info7_1("0_", {}, "2026-11-01", "2026-11-30", 0, 0, 0, 0, "", "", "");
    EXPECT_EQ(d.rowUBound(), 0);  // nobody of "0_" has records; "01" people do
    auto rs = cards.get_IDYuE("0_", "", "");
    EXPECT_EQ(rs->recordCount(), 0);
}

TEST_P(TextMatching, NamesCodesAndCardNumbersCompareWithoutCase) {
    // Card kinds: a deleted "ABC" keeps "abc" taken.
    V kind{"0", "1", "ABC", "", "0", "0", "0", "0", "0", "0"};
    for (int i = 10; i <= 22; ++i) kind.push_back("0");
    ASSERT_EQ(cards.New_Type(kind), 0);
    ASSERT_EQ(cards.Delect_Type(1), 0);
    kind[2] = "abc";
    EXPECT_EQ(cards.New_Type(kind), -2);

    EXPECT_EQ(ids(bt.Get_Emp_Check_All_ID("", "li si", "", "")), (V{"2"}));
    EXPECT_EQ(ids(bt.Get_Emp_Check_All_ID("", "", "e2", "")), (V{"2"}));
    auto detail = [&](const std::string& code) {
        return svc.Get_XF_Info7_1("", {}, "2026-11-01", "2026-11-30", 0, 0, 0, 0, "", code, "").rowUBound();
    };
    EXPECT_GT(detail("E1"), 0);
    EXPECT_EQ(detail("e1"), detail("E1"));
    con->execute("insert into Card_Info(Pinfo_id,Card_No,C_YuE_ID) values(2,'AB12',0)");
    EXPECT_TRUE(cards.YuE_QL(2, "ab12"));
}

// The INSERT text the file database takes must write the same row as the
// record-set path: each value in its column, numbers stored as numbers.
TEST_P(TextMatching, StatementPathWritesTheSameRowsAsTheRecordSetPath) {
    const V xf{"", "0", "2", "1002", "", "1", "0", "11", "0", "5000", "+1000", "6000", "0", "0",
               "0", "2026-12-01 10:00:00", "C2", "0", "7", "1", "0", "0", "0", "0"};
    V type{"0", "4", "Kind", "备注", "1000", "500", "800", "2000", "-1", "0"};
    for (int i = 10; i <= 22; ++i) type.push_back(std::to_string(i % 3));
    V days{"0"};
    for (int i = 1; i <= 35; ++i) days.push_back(i % 4 == 0 ? "1" : "0");

    const std::string xfCols = "select * from Record_XF where Card_No='C2' and XF_Type=11 order by ID";
    const std::string typeCols = "select * from Card_Type order by ID";
    const std::string dayCols = "select * from DC_ZhengChangRi order by ID";
    for (const char* kind : {"SQL", "Access"}) {
        DB_Type = kind;
        ASSERT_TRUE(bt.Add_XF_BT_ID(xf)) << kind;
        type[2] = std::string("Kind ") + kind;
        ASSERT_EQ(cards.New_Type(type), 0) << kind;
        ASSERT_TRUE(dc.Add_ZC_DC(days)) << kind;
    }
    for (const std::string& sql : {xfCols, typeCols, dayCols}) {
        auto got = rows(sql);
        ASSERT_EQ(got.size(), 2u) << sql;
        for (auto& r : got) r[0] = "";  // the keys differ
        if (sql == typeCols) got[0][2] = got[1][2] = "";
        EXPECT_EQ(got[0], got[1]) << sql;
    }
    // The server's columns are typed; the file engine says how it stored the value.
    if (!onServer()) {
        EXPECT_EQ(rows("select typeof(YuE_Change),YuE_Change from Record_XF where Card_No='C2'")[1], (V{"integer", "1000"}));
    }
}

TEST_P(TextMatching, ModifyWithOnlyTheKeyAssignsNothingAndSucceeds) {
    BaseService base;
    base.Set_LinkStr(cs);
    V days{"0"};
    for (int i = 1; i <= 35; ++i) days.push_back("1");
    ASSERT_TRUE(dc.Add_ZC_DC(days));
    const auto before = rows("select * from DC_ZhengChangRi");
    EXPECT_TRUE(base.Mod_DataByIndex("DC_ZhengChangRi", "ID", 1, {before[0][0]}, 1));
    EXPECT_TRUE(base.Mod_DataByIndex("DC_ZhengChangRi", "ID", 1, {"999"}, 1));
    EXPECT_EQ(rows("select * from DC_ZhengChangRi"), before);
}
