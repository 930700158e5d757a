#include <algorithm>

#include "support/XfFixture.h"
#include "data/CardService.h"

using namespace tolvenk;

namespace {
class CardTest : public test::XfFixture {
protected:
    void SetUp() override {
        XfFixture::SetUp();
        if (IsSkipped()) return;
        cards.Set_strCN(cs);
    }
    // A kind record 0..22 with the day pair and the breakfast pair given.
    static V kind(const std::string& leibie, const std::string& name, const std::string& tianYuan,
                  const std::string& tianCi) {
        V v{"0", leibie, name, "备注", "1000", "500", "800", "2000", tianYuan, tianCi, "500", "2"};
        for (int i = 12; i <= 21; ++i) v.push_back(i % 2 == 0 ? "-1" : "3");
        v.push_back("0");
        return v;
    }
    CardService cards;
};
}  // namespace

TOLVENK_ON_BOTH_ENGINES(CardTest);

// The kinds come as stored, in fen and with -1 for no limit: the window
// shows them (Card_TypeTest).
TEST_P(CardTest, KindsAreAddedOnceByNameAndListedAsStored) {
    EXPECT_EQ(cards.New_Type(kind("1", "普通卡", "-1", "-1")), 0);
    EXPECT_EQ(cards.New_Type(kind("2", "O'Brien卡", "0", "0")), 0);
    EXPECT_EQ(cards.New_Type(kind("3", "普通卡", "0", "0")), -2);
    const DataList d = cards.Get_Type("");
    ASSERT_EQ(d.rowUBound(), 2);
    auto at = [&](int r, const char* c) { return d(r, d.col(c)); };
    EXPECT_EQ(at(1, "C_LeiBie"), "1");
    EXPECT_EQ(at(1, "C_Name"), "普通卡");
    EXPECT_EQ(at(1, "C_F_Money"), "1000");
    EXPECT_EQ(at(1, "C_T_Money"), "500");
    EXPECT_EQ(at(1, "Ci_Yuan"), "2000");
    EXPECT_EQ(at(1, "Tian_Yuan"), "-1");
    EXPECT_EQ(at(1, "Tian_Ci"), "-1");
    EXPECT_EQ(at(1, "Zao_Yuan"), "500");
    EXPECT_EQ(at(1, "Zao_Ci"), "2");
    EXPECT_EQ(at(1, "Zhong_Yuan"), "-1");
    EXPECT_EQ(at(1, "Zhong_Ci"), "3");
    EXPECT_EQ(at(1, "Del_YN"), "0");
    EXPECT_EQ(at(2, "C_Name"), "O'Brien卡");
    EXPECT_EQ(at(2, "Tian_Yuan"), "0");

    // A deleted kind keeps its name taken.
    EXPECT_EQ(cards.Delect_Type(1), 0);
    EXPECT_EQ(cards.Get_Type("").rowUBound(), 1);
    EXPECT_EQ(cards.New_Type(kind("5", "普通卡", "0", "0")), -2);
    EXPECT_EQ(cards.Get_Type("2").rowUBound(), 1);
    // The injected key returns no row: the file engine finds none, the server
    // refuses to read the text as a number.
    if (onServer()) {
        EXPECT_THROW(cards.Get_Type("2' or '1'='1"), db::DbError);
    } else {
        EXPECT_EQ(cards.Get_Type("2' or '1'='1").rowUBound(), 0);
    }
}

TEST_P(CardTest, UpdateWritesEveryColumnOfTheRow) {
    ASSERT_EQ(cards.New_Type(kind("1", "A", "-1", "-1")), 0);
    V v = kind("1", "A改", "3000", "5");
    v[0] = "1";
    EXPECT_EQ(cards.Update_Type(v), 0);
    const DataList d = cards.Get_Type("1");
    EXPECT_EQ(d(1, d.col("C_Name")), "A改");
    EXPECT_EQ(d(1, d.col("Tian_Yuan")), "3000");
    v.push_back("one too many");
    EXPECT_EQ(cards.Update_Type(v), -1);
}

TEST_P(CardTest, LimitModeOfAKind) {
    cards.New_Type(kind("1", "meal", "0", "0"));
    cards.New_Type(kind("2", "order", "-2", "-2"));
    cards.New_Type(kind("3", "nolimit", "-1", "-1"));
    cards.New_Type(kind("4", "day", "3000", "5"));
    cards.New_Type(kind("6", "gone", "-2", "-2"));
    cards.Delect_Type(5);
    EXPECT_EQ(cards.Check_Tian(1), 0);
    EXPECT_EQ(cards.Check_Tian(2), -2);
    EXPECT_EQ(cards.Check_Tian(3), -1);
    EXPECT_EQ(cards.Check_Tian(4), -1);
    EXPECT_EQ(cards.Check_Tian(6), 0);  // deleted
    EXPECT_EQ(cards.Check_Tian(9), 0);
    // A day amount of 0 with no count limit is still by day; -2 beside 0 is meal order.
    cards.New_Type(kind("7", "dayzero", "0", "-1"));
    cards.New_Type(kind("8", "orderzero", "-2", "0"));
    EXPECT_EQ(cards.Check_Tian(7), -1);
    EXPECT_EQ(cards.Check_Tian(8), -2);
    // A count limit alone, no amount: by day too.
    cards.New_Type(kind("10", "timesonly", "0", "5"));
    EXPECT_EQ(cards.Check_Tian(10), -1);
}

TEST_P(CardTest, CardsInUseAndTheIdBalanceList) {
    con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,C_LeiBie,C_GuaShi,C_YuE_ID,Card_Type) values
 (1,1,'C1',1,0,500,1),(2,1,'C1b',1,0,700,1),(3,3,'C3',2,1,300,2),(4,2,'C2',1,0,100,1);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (1,'C1',0,500),(1,'C1b',0,700);
)");
    EXPECT_FALSE(cards.Get_Cards(1));
    EXPECT_TRUE(cards.Get_Cards(2));  // only a card reported lost
    EXPECT_TRUE(cards.Get_Cards(7));

    auto rs = cards.get_IDYuE("01", "", "");
    ASSERT_EQ(rs->recordCount(), 3);  // every card of the subtree, lost ones included
    EXPECT_EQ(rs->field("P_Name").toString(), "O'Brien");
    EXPECT_EQ(cards.get_IDYuE("01", "张三", "")->recordCount(), 2);
    EXPECT_EQ(cards.get_IDYuE("", "", "E2")->recordCount(), 1);

    EXPECT_TRUE(cards.YuE_QL(1, "C1"));
    // The other card keeps its balance.
    EXPECT_EQ(test::column(*con, "select C_YuE_ID from Card_Info where ID<=2 order by ID"), (V{"0", "700"}));
    EXPECT_EQ(test::column(*con, "select Card_YuE from Card_Log order by Card_No"), (V{"0", "700"}));
    EXPECT_TRUE(sv->boxes.empty());
}

TEST_P(CardTest, AFailedClearingChangesNothingAndShowsTheStatement) {
    con->executeScript(R"(
insert into Card_Info(ID,Pinfo_id,Card_No,C_YuE_ID) values (1,1,'C1',500);
insert into Card_Log(Pinfo_id,Card_No,Op_Type,Card_YuE) values (1,'C1',0,500);
)");
    test::refuseWrites(*con, engine(), "log_locked", "update", "Card_Log", "");
    Load_Lan(0);
    EXPECT_FALSE(cards.YuE_QL(1, "C1"));
    EXPECT_EQ(test::number(*con, "select C_YuE_ID from Card_Info"), 500);
    ASSERT_EQ(sv->boxes.size(), 1u);
    // The clerk's sentence first; the failing statement stays last for support.
    const std::string& prompt = sv->boxes[0].prompt;
    EXPECT_EQ(prompt.rfind("数据库未能完成这一步操作。\n", 0), 0u) << prompt;
    const std::string statement = "\nupdate Card_Log set Card_YuE=0 where Pinfo_id=1 and Card_No='C1'";
    EXPECT_EQ(prompt.substr(prompt.size() - std::min(prompt.size(), statement.size())), statement) << prompt;
    EXPECT_EQ(sv->boxes[0].style, 64);
    EXPECT_EQ(sv->boxes[0].title, "Tolvenk");

    EXPECT_TRUE(cards.YuE_QL_Log("2026-12-06 10:00:00", 7, 301, "3,-4500"));
    EXPECT_EQ(test::row(*con, "select Op_Code,Op_Object from Sys_Log"), (V{"301", "3,-4500"}));
}
